#include "manage/namedialogs.h"

#include "manage/managesupport.h"

#include <QLineEdit>

namespace pigmora::ui {

namespace {

std::optional<std::string> checkedName(QLineEdit *edit, Notifier *notifier, const QString &kind,
                                       const std::function<bool(const std::string &)> &taken)
{
    return checkEntryName(edit, notifier, kind + QStringLiteral("名称不能为空!"),
                          QStringLiteral("相同名称的") + kind + QStringLiteral("已经存在!"), taken);
}

} // namespace

NewNameDialog::NewNameDialog(const QString &kind, const char *nameEdit, CColorManager &colors, Notifier *notifier,
                             QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_name(namedEdit(nameEdit))
    , m_kind(kind)
{
    setWindowTitle(QStringLiteral("新建") + kind);
}

QString NewNameDialog::proposedName() const
{
    return firstFreeName(QStringLiteral("新建") + m_kind, [this](const std::string &n) { return taken(n); });
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
    const auto name = checkedName(m_name, m_notifier, m_kind, [this](const std::string &n) { return taken(n); });
    if (!name || !readyToCreate())
        return;
    m_changed = create(*name);
    if (!m_changed) // a failed write says nothing itself
        stopMessage(m_notifier, QStringLiteral("新建") + m_kind + QStringLiteral("失败!"));
    accept();
}

RenameDialog::RenameDialog(const QString &kind, const char *oldNameEdit, const char *newNameEdit, CColorManager &colors,
                           Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_kind(kind)
    , m_notifier(notifier)
    , m_oldName(namedEdit(oldNameEdit))
    , m_newName(namedEdit(newNameEdit))
{
    setWindowTitle(kind + QStringLiteral("改名"));
    m_oldName->setEnabled(false);
    fieldsAndOkCancel(this,
                      {{QStringLiteral("原") + kind + QStringLiteral("名称："), m_oldName},
                       {QStringLiteral("新") + kind + QStringLiteral("名称："), m_newName}},
                      [this]() { BitBtn_okClick(); });
}

void RenameDialog::setOldName(const QString &name)
{
    m_oldName->setText(name);
}

void RenameDialog::BitBtn_okClick()
{
    const auto name = checkedName(m_newName, m_notifier, m_kind, [this](const std::string &n) { return taken(n); });
    if (!name)
        return;
    m_changed = rename(toStd(trimmedName(m_oldName->text())), *name);
    if (!m_changed)
        stopMessage(m_notifier, m_kind + QStringLiteral("改名失败!"));
    accept();
}

} // namespace pigmora::ui
