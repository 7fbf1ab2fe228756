#pragma once

#include "data/buildinfo.h"

#include <QApplication>

#include <filesystem>
#include <optional>

namespace pigmora::ui {

// The program's top-level error display: an exception that escapes an event
// handler is shown in a message box with its text, and the program goes on.
class PigmoraApplication : public QApplication
{
public:
    PigmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows an error's text in the program's message box (caption "提示",
// error icon); an error without text shows an empty box.
void showErrorDisplay(const QString &text);

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

} // namespace pigmora::ui
