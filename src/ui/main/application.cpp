#include "main/application.h"

#include "main/messageboxnotifier.h"
#include "main/uitext.h"

#include <exception>

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

} // namespace pigmora::ui
