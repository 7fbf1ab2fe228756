#include "main/pickcontroller.h"

#include "engine/colorpick.h"
#include "engine/solvecontrol.h"
#include "main/matchcontext.h"
#include "main/resultpanel.h"
#include "main/statuspanels.h"
#include "main/uitext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace pigmora::ui {

namespace {

// Long enough for a box of a few hundred paints, short enough that the
// window stays responsive.
std::atomic<std::chrono::milliseconds::rep> defaultQuickWait{20};

} // namespace

// One search: written by its worker, read by the window thread once done.
struct PickController::Search {
    RgbColor target;
    bool newPick = false;
    SolveControl control;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false; // under mutex
    std::optional<ColorPick> answer; // under mutex until done
};

void PickController::setDefaultQuickWait(std::chrono::milliseconds wait)
{
    defaultQuickWait.store(wait.count());
}

PickController::PickController(MatchContext &context, ResultPanel *panel, StatusPanels *status, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_panel(panel)
    , m_status(status)
    , m_quickWait(defaultQuickWait.load())
{
    // A cancelled search may still be ending while the next one starts.
    m_workers.setMaxThreadCount(2);
    m_busyTimer.setSingleShot(true);
    m_progressTimer.setInterval(100);
    connect(&m_busyTimer, &QTimer::timeout, this, &PickController::showBusy);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_current && m_progress)
            m_progress->setValue(m_current->control.progress());
    });
    connect(&m_context, &MatchContext::aboutToChange, this, &PickController::stop);
    connect(&m_context, &MatchContext::changed, this, &PickController::refresh);
}

PickController::~PickController()
{
    stop();
}

void PickController::setBusyIndicators(QWidget *busyWidget, QProgressBar *progress)
{
    m_busyWidget = busyWidget;
    m_progress = progress;
    if (m_progress) {
        m_progress->setRange(0, SolveControl::kProgressDone);
        m_progress->hide();
    }
}

void PickController::pick(const RgbColor &target, PickOrigin origin)
{
    if (!m_context.colors())
        return;
    m_target = target;
    m_panel->setPickedFromPictureColours(origin == PickOrigin::PictureColours);
    m_newPick = true;
    // The box as the files hold it now; a reload answers through refresh().
    if (!m_context.syncWithFiles())
        refresh();
    m_newPick = false;
}

void PickController::refresh()
{
    if (!m_target)
        return;
    start(m_newPick);
}

void PickController::start(bool newPick)
{
    if (m_current)
        m_current->control.cancel();
    auto search = std::make_shared<Search>();
    search->target = *m_target;
    search->newPick = newPick;
    m_current = search;
    // The worker reads the context; aboutToChange() joins it before the
    // context changes, and the destructor before this goes away.
    m_workers.start([this, search] {
        std::optional<ColorPick> answer = m_context.answer(search->target, &search->control);
        {
            const std::lock_guard lock(search->mutex);
            search->answer = std::move(answer);
            search->done = true;
        }
        search->finished.notify_all();
        QMetaObject::invokeMethod(
            this, [this, search] { adopt(search); }, Qt::QueuedConnection);
    });
    bool done = false;
    if (m_quickWait.count() > 0) {
        std::unique_lock lock(search->mutex);
        done = search->finished.wait_for(lock, m_quickWait, [&] { return search->done; });
    }
    if (done)
        adopt(search);
    else if (!m_busyTimer.isActive() && !m_progressTimer.isActive())
        m_busyTimer.start(kBusyDelay);
}

void PickController::adopt(const std::shared_ptr<Search> &search)
{
    if (search != m_current)
        return; // cancelled, or already shown
    m_current.reset();
    endBusy();
    std::optional<ColorPick> answer;
    {
        const std::lock_guard lock(search->mutex);
        answer = std::move(search->answer);
    }
    if (answer) {
        if (!search->newPick && !answer->solved)
            m_panel->clearAnswer();
        m_panel->showPick(*answer);
        m_status->setText(1, fromUtf8(rgbStatusText(answer->target)));
        m_status->setText(2, fromUtf8(cmykStatusText(answer->cmyk)));
    }
    Q_EMIT answered();
}

void PickController::showBusy()
{
    if (!m_current)
        return;
    if (m_busyWidget && !m_savedCursor) {
        m_savedCursor = m_busyWidget->cursor();
        m_busyWidget->setCursor(Qt::WaitCursor);
    }
    if (m_progress) {
        m_progress->setFormat(tr("搜索配色 %p%"));
        m_progress->setValue(m_current->control.progress());
        m_progress->show();
    }
    m_progressTimer.start();
}

void PickController::endBusy()
{
    m_busyTimer.stop();
    m_progressTimer.stop();
    if (m_busyWidget && m_savedCursor)
        m_busyWidget->setCursor(*m_savedCursor);
    m_savedCursor.reset();
    if (m_progress)
        m_progress->hide();
}

bool PickController::waitForAnswer(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (m_current && !deadline.hasExpired()) {
        {
            std::unique_lock lock(m_current->mutex);
            m_current->finished.wait_for(lock, std::chrono::milliseconds(5), [&] { return m_current->done; });
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return !m_current;
}

void PickController::stop()
{
    if (m_current)
        m_current->control.cancel();
    m_current.reset();
    endBusy();
    m_workers.waitForDone();
}

} // namespace pigmora::ui
