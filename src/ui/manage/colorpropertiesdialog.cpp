#include "manage/colorpropertiesdialog.h"

#include "engine/colorpick.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pigmora::ui {

ColorPropertyTexts colorPropertyTexts(const RgbColor &color)
{
    return {QStringLiteral("%1, %2, %3").arg(color.red).arg(color.green).arg(color.blue),
            QStringLiteral("#%1%2%3")
                .arg(color.red, 2, 16, QLatin1Char('0'))
                .arg(color.green, 2, 16, QLatin1Char('0'))
                .arg(color.blue, 2, 16, QLatin1Char('0'))
                .toUpper(),
            QString::fromStdString(cmykStatusText(cmykOf(color)))};
}

TForm_colorProperties::TForm_colorProperties(QWidget *owner, const RgbColor &color)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TForm_colorProperties"));
    setWindowTitle(tr("色彩属性"));
    auto *swatch = new QFrame(this);
    swatch->setFixedHeight(28);
    swatch->setFrameShape(QFrame::Box);
    swatch->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3);").arg(color.red).arg(color.green).arg(color.blue));
    const ColorPropertyTexts texts = colorPropertyTexts(color);
    auto *form = new QFormLayout;
    const auto field = [this, form](const char *name, const QString &label, const QString &text) {
        auto *edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setMinimumWidth(180);
        form->addRow(label, edit);
    };
    field("Edit_rgb", QStringLiteral("RGB："), texts.rgb);
    field("Edit_hex", tr("十六进制："), texts.hex);
    field("Edit_cmyk", QStringLiteral("CMYK："), texts.cmyk);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(tr("关闭"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("bbtn_cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(swatch);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace pigmora::ui
