#include "main/application.h"

#include "main/messageboxnotifier.h"

#include "store/datafolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

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
    const QByteArray utf8 = text.toUtf8();
    notifier.showMessage(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), MessageIcon::Error);
}

bool folderWritable(const std::filesystem::path &folder)
{
    QTemporaryFile probe(QDir(QString::fromStdString(folder.string())).filePath(QStringLiteral(".pigmora-XXXXXX")));
    return probe.open();
}

DataLocation chooseDataFolder(const std::filesystem::path &programFolder, const std::filesystem::path &installBinFolder)
{
    if (!isInstalledCopy(programFolder, installBinFolder) && folderWritable(programFolder))
        return {programFolder, false, false};
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!perUser.isEmpty() && QDir().mkpath(perUser)) {
        const std::filesystem::path folder = perUser.toStdString();
        if (folderWritable(folder))
            return {folder, true, false};
    }
    return {programFolder, false, true};
}

} // namespace pigmora::ui
