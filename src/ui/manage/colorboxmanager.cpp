#include "manage/colorboxmanager.h"

#include "data/colormanager.h"
#include "manage/colorboxnamedialogs.h"
#include "manage/managesupport.h"
#include "manage/setcolorbox.h"

#include <QListWidget>
#include <QPushButton>

namespace pigmora::ui {

namespace {

constexpr const char *kDefaultBox = "我的颜色盒";

} // namespace

TForm_colorBoxManager::TForm_colorBoxManager(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_list(new QListWidget)
{
    setObjectName(QStringLiteral("TForm_colorBoxManager"));
    setWindowTitle(tr("颜色盒管理"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_list->setObjectName(QStringLiteral("ListBox_colorBoxList"));
    auto *setUp = namedButton("BitBtn_setColorBox", tr("设置"));
    auto *rename = namedButton("BitBtn_renameBox", tr("改名"));
    auto *remove = namedButton("BitBtn_deleteBox", tr("删除"));
    auto *create = namedButton("BitBtn_createBox", tr("新建"));
    auto *close = namedButton("BitBtn_close", tr("关闭"));
    close->setDefault(true);

    listBesideButtons(this, tr("颜色盒列表"), m_list, {setUp, rename, remove, create}, close);

    connect(setUp, &QPushButton::clicked, this, &TForm_colorBoxManager::BitBtn_setColorBoxClick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TForm_colorBoxManager::BitBtn_setColorBoxClick);
    connect(rename, &QPushButton::clicked, this, &TForm_colorBoxManager::BitBtn_renameBoxClick);
    connect(remove, &QPushButton::clicked, this, &TForm_colorBoxManager::BitBtn_deleteBoxClick);
    connect(create, &QPushButton::clicked, this, &TForm_colorBoxManager::BitBtn_createBoxClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    fixDialogSize(this, 410, 356);
}

void TForm_colorBoxManager::refreshColorBoxList()
{
    m_list->clear();
    std::vector<std::string> names;
    m_colors.listColorBoxes(names);
    for (const std::string &name : names)
        m_list->addItem(fromUtf8(name));
    const QList<QListWidgetItem *> found = m_list->findItems(QString::fromUtf8(kDefaultBox), Qt::MatchExactly);
    if (found.isEmpty())
        m_list->setCurrentRow(-1);
    else
        m_list->setCurrentItem(found.first());
}

QString TForm_colorBoxManager::selectedName() const
{
    return selectedText(m_list);
}

void TForm_colorBoxManager::BitBtn_createBoxClick()
{
    TForm_createColorBox dialog(m_colors, m_notifier, this);
    dialog.exec();
    if (dialog.changed()) {
        m_changed = true;
        refreshColorBoxList();
    }
}

void TForm_colorBoxManager::BitBtn_deleteBoxClick()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (CColorManager::isSystemColorBox(toUtf8(name))) {
        infoMessage(m_notifier, tr("不能删除系统颜色盒!"));
        return;
    }
    if (!askQuestion(m_notifier, deleteQuestion(tr("颜色盒", "what is deleted"), name)))
        return;
    if (m_colors.deleteColorBox(toUtf8(name))) {
        m_changed = true;
        refreshColorBoxList();
    }
}

void TForm_colorBoxManager::BitBtn_renameBoxClick()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (CColorManager::isSystemColorBox(toUtf8(name))) {
        infoMessage(m_notifier, tr("系统颜色盒不能改名!"));
        return;
    }
    TForm_colorBoxRename dialog(m_colors, m_notifier, this);
    dialog.setOldName(name);
    dialog.exec();
    if (dialog.changed()) {
        m_changed = true;
        refreshColorBoxList();
    }
}

void TForm_colorBoxManager::BitBtn_setColorBoxClick()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    TForm_setColorBox dialog(m_colors, m_notifier, this);
    dialog.openOnBox(name);
    dialog.exec();
    if (dialog.changed())
        m_changed = true;
}

} // namespace pigmora::ui
