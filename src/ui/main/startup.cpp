#include "main/startup.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "main/application.h"
#include "main/messageboxnotifier.h"
#include "store/configmanager.h"
#include "store/datafolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace pigmora::ui {

bool folderWritable(const std::filesystem::path &folder)
{
    QTemporaryFile probe(QDir(pathText(folder)).filePath(QStringLiteral(".pigmora-XXXXXX")));
    return probe.open();
}

DataLocation chooseDataFolder(const std::filesystem::path &programFolder, const std::filesystem::path &installBinFolder)
{
    if (!isInstalledCopy(programFolder, installBinFolder) && folderWritable(programFolder))
        return {programFolder, false, false};
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!perUser.isEmpty() && QDir().mkpath(perUser)) {
        const std::filesystem::path folder = pathOf(perUser);
        if (folderWritable(folder))
            return {folder, true, false};
    }
    return {programFolder, false, true};
}

DataLocation dataLocationFor(const std::optional<std::filesystem::path> &named)
{
    if (named)
        return {*named, false, !folderWritable(*named)};
    return chooseDataFolder(platform::programFolder());
}

StartupData startWithDataFolder(const DataLocation &location, GatedNotifier &storeMessages, Notifier *notifier)
{
    StartupData data;
    data.location = location;
    const bool readOnly = location.readOnly;
    // An unusable folder is said once, not once per data file. Otherwise the
    // stores' start-up messages wait until a damaged file whose backup opens
    // has been offered for restoring: what the user restores is not reported.
    storeMessages.setMode(readOnly ? GatedNotifier::Mode::Drop : GatedNotifier::Mode::Hold);
    DataFolder folder(location.folder, &storeMessages);
    Status prepared = folder.prepare();
    if (!readOnly && !folder.damagedFiles().empty()) {
        storeMessages.setMode(GatedNotifier::Mode::Pass);
        if (folder.offerRestore()) {
            storeMessages.dropHeld();
            storeMessages.setMode(GatedNotifier::Mode::Hold);
            prepared = folder.prepare();
        }
    }
    storeMessages.showHeld();
    storeMessages.setMode(GatedNotifier::Mode::Pass);
    data.config = folder.releaseConfig();
    data.settings = folder.settings();
    data.colors = folder.releaseColors();
    if (!data.colors) {
        data.colors = std::make_unique<CColorManager>(location.folder, notifier);
        data.colors->buildBuiltInCatalogue();
    }
    if (readOnly) {
        notifier->showMessage("数据文件夹不能写入，程序以只读方式运行: " + location.folder.string()
                                  + (prepared ? std::string() : "\n" + prepared.message()),
                              MessageIcon::Error);
    }
    return data;
}

} // namespace pigmora::ui
