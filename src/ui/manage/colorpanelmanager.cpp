#include "manage/colorpanelmanager.h"

#include "data/colormanager.h"
#include "main/application.h"
#include "main/messagetext.h"
#include "main/uitext.h"
#include "manage/managesupport.h"
#include "store/paletteimport.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace pigmora::ui {

namespace {

bool paletteTaken(const CColorManager &colors, const std::string &name)
{
    return colors.paletteExists(name);
}

} // namespace

TForm_colorPanelManager::TForm_colorPanelManager(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_list(new QListWidget)
{
    setObjectName(QStringLiteral("TForm_colorPanelManager"));
    setWindowTitle(tr("色板管理"));
    m_list->setObjectName(QStringLiteral("ListBox_colorPanelList"));
    auto *rename = namedButton("BitBtn_renamePanel", tr("改名"));
    auto *remove = namedButton("BitBtn_deletePanel", tr("删除"));
    auto *create = namedButton("BitBtn_createPanel", tr("新建"));
    auto *import = namedButton("BitBtn_importPanel", tr("导入…"));
    import->setToolTip(tr("把 GIMP 色板文件 (.gpl) 导入为新色板"));
    auto *close = namedButton("BitBtn_close", tr("关闭"));
    close->setDefault(true);

    listBesideButtons(this, tr("色板列表"), m_list, {rename, remove, create, import}, close);

    connect(rename, &QPushButton::clicked, this, &TForm_colorPanelManager::BitBtn_renamePanelClick);
    connect(remove, &QPushButton::clicked, this, &TForm_colorPanelManager::BitBtn_deletePanelClick);
    connect(create, &QPushButton::clicked, this, &TForm_colorPanelManager::BitBtn_createPanelClick);
    connect(import, &QPushButton::clicked, this, &TForm_colorPanelManager::BitBtn_importPanelClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    fixDialogSize(this, 370, 359);
}

void TForm_colorPanelManager::refreshPaletteList()
{
    m_list->clear();
    std::vector<std::string> names;
    m_colors.listPalettes(names);
    for (const std::string &name : names)
        m_list->addItem(fromUtf8(name));
    // The first palette is selected, so delete and rename work at once.
    m_list->setCurrentRow(m_list->count() > 0 ? 0 : -1);
}

QString TForm_colorPanelManager::selectedName() const
{
    return selectedText(m_list);
}

void TForm_colorPanelManager::BitBtn_createPanelClick()
{
    TForm_createColorPanel dialog(m_colors, m_notifier, this);
    dialog.exec();
    if (dialog.changed()) {
        refreshPaletteList();
        m_changed = true;
    }
}

void TForm_colorPanelManager::BitBtn_deletePanelClick()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (CColorManager::isSystemPalette(toUtf8(name))) {
        infoMessage(m_notifier, tr("不能删除系统色板!"));
        return;
    }
    if (!askQuestion(m_notifier, deleteQuestion(tr("色板", "what is deleted"), name)))
        return;
    if (m_colors.deletePalette(toUtf8(name))) {
        refreshPaletteList();
        m_changed = true;
    }
}

void TForm_colorPanelManager::BitBtn_renamePanelClick()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (CColorManager::isSystemPalette(toUtf8(name))) {
        infoMessage(m_notifier, tr("系统色板不能改名!"));
        return;
    }
    TForm_colorPanelRename dialog(m_colors, m_notifier, this);
    dialog.setOldName(name);
    dialog.exec();
    if (dialog.changed()) {
        refreshPaletteList();
        m_changed = true;
    }
}

void TForm_colorPanelManager::BitBtn_importPanelClick()
{
    const QString path
        = QFileDialog::getOpenFileName(this, tr("导入色板"), QString(), tr("GIMP 色板 (*.gpl);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    bool chosen = false;
    const QString name = QInputDialog::getText(this, tr("导入色板"), tr("新色板名称："), QLineEdit::Normal,
                                               QFileInfo(path).completeBaseName(), &chosen);
    if (chosen)
        importPalette(path, name);
}

bool TForm_colorPanelManager::importPalette(const QString &path, const QString &name)
{
    const auto imported = importPaletteFile(m_colors, toUtf8(name.trimmed()), pathOf(path));
    if (!imported) {
        stopMessage(m_notifier, tr("导入色板失败: %1").arg(coreText(imported.message())));
        return false;
    }
    refreshPaletteList();
    const auto found = m_list->findItems(fromUtf8(imported->name), Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.first());
    m_changed = true;
    infoMessage(m_notifier, tr("已导入 %n 种颜色到色板“%1”。", nullptr, static_cast<int>(imported->colors.size()))
                                .arg(fromUtf8(imported->name)));
    return true;
}

TForm_createColorPanel::TForm_createColorPanel(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : NewNameDialog({.title = tr("新建色板"),
                     .emptyName = tr("色板名称不能为空!"),
                     .nameTaken = tr("相同名称的色板已经存在!"),
                     .failed = tr("新建色板失败!"),
                     .proposedPrefix = tr("新建色板")},
                    "Edit_colorPanelName", colors, notifier, parent)
{
    setObjectName(QStringLiteral("TForm_createColorPanel"));
    fieldsAndOkCancel(this, {{tr("新建色板名称："), m_name}}, [this]() { BitBtn_okClick(); });
    fixDialogSize(this, 374, 104);
}

bool TForm_createColorPanel::taken(const std::string &name) const
{
    return paletteTaken(m_colors, name);
}

bool TForm_createColorPanel::create(const std::string &name)
{
    return m_colors.createPalette(name);
}

TForm_colorPanelRename::TForm_colorPanelRename(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : RenameDialog({.title = tr("色板改名"),
                    .emptyName = tr("色板名称不能为空!"),
                    .nameTaken = tr("相同名称的色板已经存在!"),
                    .failed = tr("色板改名失败!"),
                    .oldLabel = tr("原色板名称："),
                    .newLabel = tr("新色板名称：")},
                   "Edit_oldColorPanelName", "Edit_newColorPanelName", colors, notifier, parent)
{
    setObjectName(QStringLiteral("TForm_colorPanelRename"));
    fixDialogSize(this, 411, 124);
}

bool TForm_colorPanelRename::taken(const std::string &name) const
{
    return paletteTaken(m_colors, name);
}

bool TForm_colorPanelRename::rename(const std::string &oldName, const std::string &newName)
{
    return m_colors.renamePalette(oldName, newName);
}

} // namespace pigmora::ui
