#include "manage/namedialogs.h"

#include "manage/managesupport.h"

#include <QLineEdit>

#include <utility>

namespace pigmora::ui {

namespace {

std::optional<std::string> checkedName(QLineEdit *edit, Notifier *notifier, const NameDialogTexts &texts,
                                       const std::function<bool(const std::string &)> &taken)
{
    return checkEntryName(edit, notifier, texts.emptyName, texts.nameTaken, taken);
}

} // namespace

NewNameDialog::NewNameDialog(NameDialogTexts texts, const char *nameEdit, CColorManager &colors, Notifier *notifier,
                             QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_name(namedEdit(nameEdit))
    , m_texts(std::move(texts))
{
    setWindowTitle(m_texts.title);
}

QString NewNameDialog::proposedName() const
{
    return firstFreeName(m_texts.proposedPrefix, [this](const std::string &n) { return taken(n); });
}

void NewNameDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_name->setText(proposedName());
        m_name->selectAll();
    }
}

void NewNameDialog::BitBtn_okClick()
{
    const auto name = checkedName(m_name, m_notifier, m_texts, [this](const std::string &n) { return taken(n); });
    if (!name || !readyToCreate())
        return;
    m_changed = create(*name);
    if (!m_changed) // a failed write says nothing itself
        stopMessage(m_notifier, m_texts.failed);
    accept();
}

RenameDialog::RenameDialog(NameDialogTexts texts, const char *oldNameEdit, const char *newNameEdit,
                           CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_texts(std::move(texts))
    , m_notifier(notifier)
    , m_oldName(namedEdit(oldNameEdit))
    , m_newName(namedEdit(newNameEdit))
{
    setWindowTitle(m_texts.title);
    m_oldName->setEnabled(false);
    fieldsAndOkCancel(this, {{m_texts.oldLabel, m_oldName}, {m_texts.newLabel, m_newName}},
                      [this]() { BitBtn_okClick(); });
}

void RenameDialog::setOldName(const QString &name)
{
    m_oldName->setText(name);
}

void RenameDialog::BitBtn_okClick()
{
    const auto name = checkedName(m_newName, m_notifier, m_texts, [this](const std::string &n) { return taken(n); });
    if (!name)
        return;
    m_changed = rename(toUtf8(trimmedName(m_oldName->text())), *name);
    if (!m_changed)
        stopMessage(m_notifier, m_texts.failed);
    accept();
}

} // namespace pigmora::ui
