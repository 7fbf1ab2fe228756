#include "main/mainwindow.h"

#include "main/matchcontext.h"
#include "main/messagetext.h"
#include "main/picturecontroller.h"
#include "main/uitext.h"
#include "store/configmanager.h"
#include "store/folderlock.h"
#include "store/settings.h"

#include <QLabel>
#include <QTimer>

namespace pigmora::ui {

namespace {

constexpr int kSettingsRetryMs = 2000;

} // namespace

void TForm_TintoraMain::settingsNotSaved(const std::string &reason)
{
    m_settingsUnsaved = true;
    showMixingMode();
    if (!m_settingsRetry || !m_settingsRetry->isActive()) {
        m_settingsNote->setText(tr("设置未保存"));
        m_settingsNote->setToolTip(coreText(reason));
        m_settingsNote->show();
    }
    m_notifier->showMessage(
        tr("设置未能保存: %1\n本次运行仍按所选设置进行; 下次保存成功时一并保存。").arg(fromUtf8(reason)).toStdString(),
        MessageIcon::Warning);
}

void TForm_TintoraMain::startSettingsRetry()
{
    m_settingsNote->setText(tr("设置暂未读取: 数据文件夹正被另一个程序使用, 稍后自动重试"));
    m_settingsNote->setToolTip(tr("在读取之前, 程序使用默认设置, 不会覆盖已保存的设置。"));
    m_settingsNote->show();
    m_settingsRetry = new QTimer(this);
    m_settingsRetry->setInterval(kSettingsRetryMs);
    connect(m_settingsRetry, &QTimer::timeout, this, &TForm_TintoraMain::retrySettings);
    m_settingsRetry->start();
}

void TForm_TintoraMain::retrySettings()
{
    if (!m_config)
        return;
    {
        // One try: the window thread never waits for the lock here.
        const auto limit = FolderLock::waitLimit();
        FolderLock::setWaitLimit(std::chrono::milliseconds(0));
        m_config->retryLoad();
        FolderLock::setWaitLimit(limit);
    }
    if (!m_config->isLoaded())
        return;
    m_settingsRetry->stop();
    const StartupSettings stored = readSettings(*m_config);
    m_pictures->setSquareCells(storedText(*m_config, settingkeys::kGridSquareCells) == "1");
    m_pictures->setGridCounts(stored.gridColumns, stored.gridRows);
    m_settingsUnsaved = false;
    m_match->setMixingMode(stored.mixingMode);
    showMixingMode();
    m_settingsNote->hide();
}

} // namespace pigmora::ui
