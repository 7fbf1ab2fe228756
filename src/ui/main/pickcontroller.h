#pragma once

#include "data/color.h"
#include "main/picturecontroller.h"

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

class QProgressBar;
class QWidget;

namespace pigmora::ui {

class MatchContext;
class ResultPanel;
class StatusPanels;

// The colour pick: the colour picked last and its answer in the result panel
// and the status bar. The answer is computed in one place, refresh(), for a
// new pick as for a change of what the answer depends on: it follows every
// MatchContext::changed(), so no answer computed under other settings stays
// on show.
//
// The search runs on a worker, so a huge colour box never blocks the window.
// The window waits a moment for it (small boxes answer at once, without the
// panel flickering); beyond that the panel keeps the previous answer until
// the new one arrives, and after kBusyDelay the picture shows the wait
// cursor and the status bar the search's progress. A new pick or a change
// of the settings cancels the running search; only the newest search's
// answer is ever shown.
class PickController : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kBusyDelay{150};

    PickController(MatchContext &context, ResultPanel *panel, StatusPanels *status, QObject *parent = nullptr);
    // Cancels the running search and waits for its worker.
    ~PickController() override;

    // A pick of the colour: shows it and its answer, and where it came from.
    void pick(const RgbColor &target, PickOrigin origin = PickOrigin::View);
    // The colour picked last; none before the first pick.
    const std::optional<RgbColor> &target() const { return m_target; }

    // Shows the answer for the colour picked last under the current
    // settings; nothing before the first pick. An answer that no longer
    // solves clears the recipe (a new pick that does not solve keeps the
    // previous one, as a pick always has).
    void refresh();

    // Where a long search shows itself: the wait cursor over busyWidget, its
    // progress (0 .. 1000) in progress, hidden otherwise. Either may be null.
    void setBusyIndicators(QWidget *busyWidget, QProgressBar *progress);
    // How long a pick blocks the window for an answer before the search
    // goes on in the background (zero: never); the default is the
    // process-wide one.
    void setQuickWait(std::chrono::milliseconds wait) { m_quickWait = wait; }
    static void setDefaultQuickWait(std::chrono::milliseconds wait);

    // A search is running whose answer is not shown yet.
    bool searching() const { return m_current != nullptr; }
    // Runs the event loop until the running search's answer is shown; false
    // when it has not come within timeout.
    bool waitForAnswer(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Cancels the running search and waits for every worker to end.
    void stop();

Q_SIGNALS:
    // The newest search ended and its answer (if any) is on show.
    void answered();

private:
    struct Search;

    void start(bool newPick);
    void adopt(const std::shared_ptr<Search> &search);
    void showBusy();
    void endBusy();

    bool m_newPick = false;
    MatchContext &m_context;
    ResultPanel *m_panel;
    StatusPanels *m_status;
    std::optional<RgbColor> m_target;

    std::chrono::milliseconds m_quickWait;
    std::shared_ptr<Search> m_current; // the search whose answer is awaited
    QThreadPool m_workers;
    QTimer m_busyTimer;
    QTimer m_progressTimer;
    QPointer<QWidget> m_busyWidget;
    QPointer<QProgressBar> m_progress;
    std::optional<QCursor> m_savedCursor;
};

} // namespace pigmora::ui
