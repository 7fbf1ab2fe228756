#include "manage/managesupport.h"

#include "data/platform.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QVBoxLayout>

namespace pigmora::ui {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

} // namespace

ChangedElsewhere askChangedElsewhere(Notifier *notifier, const QString &what)
{
    // The context lupdate gives a plain tr() in this namespace.
    const auto tr = [](const char *text) { return QCoreApplication::translate("pigmora::ui", text); };
    const std::string answers[]
        = {tr("保留我的").toStdString(), tr("采用对方的").toStdString(), tr("取消").toStdString()};
    const QString question = tr("%1已被另一个程序修改并保存。\n"
                                "保留我的: 用本窗口的内容覆盖它;\n"
                                "采用对方的: 显示对方保存的内容, 本窗口的修改不保存;\n"
                                "取消: 本窗口的修改暂不保存。")
                                 .arg(what);
    switch (notifier->askChoice(question.toStdString(), answers)) {
    case 0:
        return ChangedElsewhere::KeepMine;
    case 1:
        return ChangedElsewhere::TakeTheirs;
    default:
        return ChangedElsewhere::Cancel;
    }
}

QString trimmedName(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

std::optional<std::string> storedName(const QString &name, std::size_t maxBytes)
{
    const auto gbk = toGbk(name);
    if (!gbk)
        return std::nullopt;
    // A cut may end in a blank the typed name had inside.
    return toUtf8(trimmedName(fromGbk(platform::cutGbk(*gbk, maxBytes))));
}

QString cutNameQuestion(std::size_t maxBytes, const QString &stored)
{
    return QObject::tr("名称超过 %1 个字节，将保存为 \"%2\"。是否继续?").arg(maxBytes).arg(stored);
}

bool acceptStoredName(QLineEdit *edit, Notifier *notifier, const QString &typed, const std::string &stored,
                      std::size_t maxBytes)
{
    const QString kept = fromUtf8(stored);
    if (kept == trimmedName(typed) || askQuestion(notifier, cutNameQuestion(maxBytes, kept)))
        return true;
    edit->setFocus();
    return false;
}

QString deleteQuestion(const QString &what, const QString &name)
{
    return QObject::tr("是否删除%1 \"%2\" 吗?").arg(what, name);
}

void fixDialogSize(QDialog *dialog, int width, int height)
{
    dialog->adjustSize();
    dialog->setFixedSize(dialog->sizeHint().expandedTo(QSize(width, height)));
    if (const QWidget *owner = dialog->parentWidget()) {
        const QRect frame = owner->window()->frameGeometry();
        dialog->move(frame.center() - dialog->rect().center());
    }
}

std::optional<std::string> checkEntryName(QLineEdit *edit, Notifier *notifier, const QString &emptyMessage,
                                          const QString &existsMessage,
                                          const std::function<bool(const std::string &)> &exists)
{
    const QString name = trimmedName(edit->text());
    auto refuse = [&](const QString &message) {
        edit->setFocus();
        infoMessage(notifier, message);
        return std::nullopt;
    };
    if (name.isEmpty())
        return refuse(emptyMessage);
    const auto stored = storedName(name, kEntryNameBytes);
    if (!stored)
        return refuse(QString::fromUtf8(kNameNotStorable));
    if (exists(*stored))
        return refuse(existsMessage);
    if (!acceptStoredName(edit, notifier, name, *stored, kEntryNameBytes))
        return std::nullopt;
    return stored;
}

QLineEdit *namedEdit(const char *objectName)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(objectName));
    return edit;
}

QPushButton *namedButton(const char *objectName, const QString &caption, const QString &hint)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QLayout *okCancelRow(QDialog *dialog, const std::function<void()> &onOk)
{
    auto *ok = namedButton("BitBtn_ok", QObject::tr("确认"));
    ok->setDefault(true);
    auto *cancel = namedButton("BitBtn_cancel", QObject::tr("取消"));
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void fieldsAndOkCancel(QDialog *dialog, std::initializer_list<std::pair<QString, QWidget *>> fields,
                       const std::function<void()> &onOk)
{
    auto *form = new QFormLayout;
    for (const auto &[label, field] : fields)
        form->addRow(label, field);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addLayout(okCancelRow(dialog, onOk));
}

void listBesideButtons(QDialog *dialog, const QString &title, QListWidget *list,
                       std::initializer_list<QPushButton *> buttons, QPushButton *close)
{
    auto *frame = new QGroupBox(title);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(list);
    auto *column = new QVBoxLayout;
    for (QPushButton *button : buttons)
        column->addWidget(button);
    column->addStretch();
    column->addWidget(close);
    auto *layout = new QHBoxLayout(dialog);
    layout->addWidget(frame, 1);
    layout->addLayout(column);
}

QString selectedText(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QString firstFreeName(const QString &prefix, const std::function<bool(const std::string &)> &taken)
{
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (!taken(toUtf8(name)))
            return name;
    }
}

} // namespace pigmora::ui
