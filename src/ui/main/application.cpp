#include "main/application.h"

#include "main/messageboxnotifier.h"
#include "main/uitext.h"

#include <QFile>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <exception>
#include <optional>
#include <string_view>

namespace pigmora::ui {

PigmoraApplication::PigmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Pigmora"));
    setOrganizationName(QStringLiteral("Pigmora"));
    setApplicationDisplayName(QStringLiteral("Pigmora"));
    setDesktopFileName(QStringLiteral("pigmora"));
    setApplicationVersion(
        QString::fromUtf8(buildinfo::kVersion.data(), static_cast<qsizetype>(buildinfo::kVersion.size())));
}

bool asksForVersion(int argc, const char *const *argv)
{
    for (int n = 1; n < argc; ++n) {
        const std::string_view argument = argv[n];
        if (argument == "--")
            return false;
        if (argument == "--version" || argument == "-v")
            return true;
    }
    return false;
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

QString pathText(const std::filesystem::path &path)
{
    return QFile::decodeName(QByteArray(path.c_str(), static_cast<qsizetype>(path.native().size())));
}

std::filesystem::path pathOf(const QString &text)
{
    const QByteArray bytes = QFile::encodeName(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::filesystem::path argumentPath(const QString &text, int argc, const char *const *argv)
{
    std::optional<std::string> found;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (QFile::decodeName(QByteArray(argument.data(), static_cast<qsizetype>(argument.size()))) == text) {
            found = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view value = argument.substr(equals + 1);
        if (QFile::decodeName(QByteArray(value.data(), static_cast<qsizetype>(value.size()))) == text)
            found = value;
    }
    return found ? std::filesystem::path(*found) : pathOf(text);
}

} // namespace pigmora::ui
