#include "manage/colorboxnamedialogs.h"

#include "data/colormanager.h"
#include "manage/managesupport.h"

#include <QComboBox>
#include <QLineEdit>

namespace pigmora::ui {

TForm_createColorBox::TForm_createColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : NewNameDialog({.title = tr("新建颜色盒"),
                     .emptyName = tr("颜色盒名称不能为空!"),
                     .nameTaken = tr("相同名称的颜色盒已经存在!"),
                     .failed = tr("新建颜色盒失败!"),
                     .proposedPrefix = tr("新建颜色盒")},
                    "Edit_colorBoxName", colors, notifier, parent)
    , m_groups(new QComboBox)
{
    setObjectName(QStringLiteral("TForm_createColorBox"));
    m_groups->setObjectName(QStringLiteral("ComboBox_groupName"));
    std::vector<std::string> groups;
    CColorManager::listColorGroups(groups);
    for (const std::string &group : groups)
        m_groups->addItem(fromUtf8(group));
    m_groups->setCurrentIndex(0);

    fieldsAndOkCancel(this, {{tr("颜色类别："), m_groups}, {tr("新建颜色盒名称："), m_name}},
                      [this]() { BitBtn_okClick(); });
    fixDialogSize(this, 371, 118);
}

bool TForm_createColorBox::taken(const std::string &name) const
{
    return m_colors.colorBoxExists(name);
}

bool TForm_createColorBox::readyToCreate()
{
    if (m_groups->currentIndex() >= 0)
        return true;
    infoMessage(m_notifier, tr("请选择颜色类别!"));
    return false;
}

bool TForm_createColorBox::create(const std::string &name)
{
    return m_colors.createColorBox(CColorManager::colorGroupIndex(toUtf8(m_groups->currentText())), name);
}

TForm_colorBoxRename::TForm_colorBoxRename(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : RenameDialog({.title = tr("颜色盒改名"),
                    .emptyName = tr("颜色盒名称不能为空!"),
                    .nameTaken = tr("相同名称的颜色盒已经存在!"),
                    .failed = tr("颜色盒改名失败!"),
                    .oldLabel = tr("原颜色盒名称："),
                    .newLabel = tr("新颜色盒名称：")},
                   "Edit_oldColorBoxName", "Edit_newColorBoxName", colors, notifier, parent)
{
    setObjectName(QStringLiteral("TForm_colorBoxRename"));
    fixDialogSize(this, 386, 115);
}

bool TForm_colorBoxRename::taken(const std::string &name) const
{
    return m_colors.colorBoxExists(name);
}

bool TForm_colorBoxRename::rename(const std::string &oldName, const std::string &newName)
{
    return m_colors.renameColorBox(oldName, newName);
}

} // namespace pigmora::ui
