#include "main/application.h"

#include "main/messageboxnotifier.h"
#include "main/uitext.h"

#include <QFile>

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

void showErrorDisplay(const QString &text)
{
    MessageBoxNotifier notifier(QApplication::activeWindow());
    notifier.showMessage(toUtf8(text), MessageIcon::Error);
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
