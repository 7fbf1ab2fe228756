#include "main/aboutwindow.h"

#include "data/buildinfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace pigmora::ui {

TForm_About::TForm_About(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TForm_About"));
    setWindowTitle(tr("关于 Pigmora"));
    resize(520, 420);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(
        tr("<h2>Pigmora</h2><p>版本 %1</p><p>照片取色与颜料调色</p>")
            .arg(QString::fromUtf8(buildinfo::kVersion.data(), static_cast<qsizetype>(buildinfo::kVersion.size()))),
        this);
    title->setObjectName(QStringLiteral("Label_title"));
    layout->addWidget(title);
    auto *licences = new QTextBrowser(this);
    licences->setObjectName(QStringLiteral("Memo_licences"));
    licences->setOpenExternalLinks(true);
    licences->setHtml(text());
    layout->addWidget(licences, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Button_ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString TForm_About::text()
{
    return tr("<p><b>Qt %1</b> — GNU LGPL 3.0 (The Qt Company Ltd. and other contributors). "
                          "Pigmora links Qt dynamically; Qt's source is available from qt.io.</p>"
                          "<p><b>libjpeg-turbo</b> — IJG licence and modified (3-clause) BSD licence. "
                          "This software is based in part on the work of the Independent JPEG Group.</p>"
                          "<p><b>libpng</b> — PNG Reference Library License version 2 "
                          "(Copyright © 1995-2024 The PNG Reference Library Authors).</p>"
                          "<p><b>zlib</b> (through libpng and libzip) — zlib licence (© Jean-loup Gailly and Mark "
                          "Adler).</p>"
                          "<p><b>libzip</b> — 3-clause BSD licence (© Dieter Baron and Thomas Klausner).</p>"
                          "<p><b>色卡数据</b> — the colour card values are facts gathered from published lists; "
                          "each value's origin and licence is named in data/cards/SOURCES.md.</p>"
                          "<p><b>示例照片</b> — portrait photograph by NASA, public domain "
                          "(no known copyright restrictions). Photo: NASA.</p>")
        .arg(QString::fromLatin1(qVersion()));
}

} // namespace pigmora::ui
