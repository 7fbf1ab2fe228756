#include "manage/colorboxnamedialogs.h"

#include "data/colormanager.h"
#include "manage/managesupport.h"

#include <QComboBox>
#include <QLineEdit>

namespace pigmora::ui {

TForm_createColorBox::TForm_createColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_groups(new QComboBox)
    , m_name(namedEdit("Edit_colorBoxName"))
{
    setObjectName(QStringLiteral("TForm_createColorBox"));
    setWindowTitle(QStringLiteral("新建颜色盒"));
    m_groups->setObjectName(QStringLiteral("ComboBox_groupName"));
    std::vector<std::string> groups;
    CColorManager::listColorGroups(groups);
    for (const std::string &group : groups)
        m_groups->addItem(fromStd(group));
    m_groups->setCurrentIndex(0);

    fieldsAndOkCancel(this, {{QStringLiteral("颜色类别："), m_groups}, {QStringLiteral("新建颜色盒名称："), m_name}},
                      [this]() { BitBtn_okClick(); });
    fixDialogSize(this, 371, 118);
}

QString TForm_createColorBox::proposedName() const
{
    return firstFreeName(QStringLiteral("新建颜色盒"),
                         [this](const std::string &n) { return m_colors.colorBoxExists(n); });
}

void TForm_createColorBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_name->setText(proposedName());
        m_name->selectAll();
    }
}

void TForm_createColorBox::BitBtn_okClick()
{
    const auto name = checkEntryName(m_name, m_notifier, QStringLiteral("颜色盒名称不能为空!"),
                                     QStringLiteral("相同名称的颜色盒已经存在!"),
                                     [this](const std::string &n) { return m_colors.colorBoxExists(n); });
    if (!name)
        return;
    if (m_groups->currentIndex() < 0) {
        infoMessage(m_notifier, QStringLiteral("请选择颜色类别!"));
        return;
    }
    m_changed = m_colors.createColorBox(CColorManager::colorGroupIndex(toStd(m_groups->currentText())), *name);
    if (!m_changed)
        stopMessage(m_notifier, QStringLiteral("新建颜色盒失败!")); // a failed write says nothing itself
    accept();
}

TForm_colorBoxRename::TForm_colorBoxRename(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_oldName(namedEdit("Edit_oldColorBoxName"))
    , m_newName(namedEdit("Edit_newColorBoxName"))
{
    setObjectName(QStringLiteral("TForm_colorBoxRename"));
    setWindowTitle(QStringLiteral("颜色盒改名"));
    m_oldName->setEnabled(false);
    fieldsAndOkCancel(this,
                      {{QStringLiteral("原颜色盒名称："), m_oldName}, {QStringLiteral("新颜色盒名称："), m_newName}},
                      [this]() { BitBtn_okClick(); });
    fixDialogSize(this, 386, 115);
}

void TForm_colorBoxRename::setOldName(const QString &name)
{
    m_oldName->setText(name);
}

void TForm_colorBoxRename::BitBtn_okClick()
{
    const auto name = checkEntryName(m_newName, m_notifier, QStringLiteral("颜色盒名称不能为空!"),
                                     QStringLiteral("相同名称的颜色盒已经存在!"),
                                     [this](const std::string &n) { return m_colors.colorBoxExists(n); });
    if (!name)
        return;
    m_changed = m_colors.renameColorBox(toStd(trimmedName(m_oldName->text())), *name);
    if (!m_changed)
        stopMessage(m_notifier, QStringLiteral("颜色盒改名失败!"));
    accept();
}

} // namespace pigmora::ui
