#include "main/application.h"

#include "main/messageboxnotifier.h"
#include "main/uitext.h"

#include <QTimer>

#include <algorithm>
#include <deque>
#include <exception>
#include <optional>

namespace pigmora::ui {

PigmoraApplication::PigmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Pigmora"));
    setOrganizationName(QStringLiteral("Pigmora"));
    setApplicationDisplayName(QStringLiteral("Pigmora"));
    setDesktopFileName(QStringLiteral("pigmora"));
}

bool PigmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showErrorDisplay(QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorDisplay(QString());
    }
    return false;
}

namespace {

struct ErrorQueue {
    std::deque<QString> waiting;
    std::optional<QString> onShow;
    bool scheduled = false;
};

ErrorQueue &errorQueue()
{
    static ErrorQueue queue;
    return queue;
}

void showWaitingErrors()
{
    ErrorQueue &queue = errorQueue();
    queue.scheduled = false;
    while (!queue.waiting.empty() && !queue.onShow) {
        queue.onShow = queue.waiting.front();
        queue.waiting.pop_front();
        MessageBoxNotifier notifier(QApplication::activeWindow());
        notifier.showMessage(toUtf8(*queue.onShow), MessageIcon::Error); // a loop of its own
        queue.onShow.reset();
    }
}

} // namespace

void showErrorDisplay(const QString &text)
{
    ErrorQueue &queue = errorQueue();
    if (queue.onShow == text || std::find(queue.waiting.begin(), queue.waiting.end(), text) != queue.waiting.end())
        return;
    queue.waiting.push_back(text);
    if (!queue.scheduled && !queue.onShow) {
        queue.scheduled = true;
        QTimer::singleShot(0, qApp, &showWaitingErrors);
    }
}

} // namespace pigmora::ui
