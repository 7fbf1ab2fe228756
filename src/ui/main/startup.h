#pragma once

#include "data/buildinfo.h"
#include "data/status.h"
#include "store/datafolder.h"
#include "store/settings.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <optional>

namespace pigmora {
class CColorManager;
class CConfigManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class GatedNotifier;

// Where the data files live: the executable's folder when it can be
// written and is not the installation's bin folder, otherwise (an installed
// copy) the per-user data folder.
struct DataLocation {
    std::filesystem::path folder;
    bool perUser = false;
    // The folder cannot be used at all: the program runs read-only.
    bool readOnly = false;
};
DataLocation chooseDataFolder(const std::filesystem::path &programFolder,
                              const std::filesystem::path &installBinFolder
                              = std::string(buildinfo::kInstallBinFolder));

// A folder in which a file can be created and removed again.
bool folderWritable(const std::filesystem::path &folder);

// The folder named on the command line, or the one chosen for the program.
DataLocation dataLocationFor(const std::optional<std::filesystem::path> &named);

// One data file that cannot be used, for the person in front of the
// program: the file, what is wrong (with the store's reason) and what they
// can do about it.
QString fileProblemText(const DataFolder::FileProblem &problem);

// What the main window takes over at start: the configuration, the colour
// manager with its catalogue and "我的颜色盒", the stored settings.
struct StartupData {
    DataLocation location;
    std::unique_ptr<CConfigManager> config; // none when the folder is unusable
    std::unique_ptr<CColorManager> colors; // always: the built-in paints at least
    StartupSettings settings;
};

// The start-up policy for the data folder: creates what is missing, offers
// damaged files whose backup opens for restoring (and starts again with what
// was restored), then shows the stores' messages once: a restored file is
// not reported, a declined one once, an unusable folder only by the one
// read-only message (sent to notifier). storeMessages is what the stores
// report through for the rest of the run; it passes from here on.
StartupData startWithDataFolder(const DataLocation &location, GatedNotifier &storeMessages, Notifier *notifier);

} // namespace pigmora::ui
