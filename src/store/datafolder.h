#pragma once

#include "data/colormanager.h"
#include "data/status.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pigmora {

class Notifier;

// What start-up does with the data folder, shared by the desktop program and
// the command-line companion: it creates the files that are missing with
// their defaults, loads the settings, the catalogue and the colour box
// "我的颜色盒", and lists the colour boxes. Messages of the stores go to the
// notifier; the returned Status names the first thing that kept a data file
// from being usable.
//
// A read-only folder (an installed copy) is prepared like any other as long
// as its files exist: everything can be read, every change fails with a
// message. A data file refused as damaged is listed in damagedFiles() with
// whether its backup (the version before its last change) opens; the
// desktop asks through offerRestore(), the command line names its restore
// command. The damaged file itself is never deleted or overwritten.
class DataFolder
{
public:
    static constexpr std::string_view kStartBox = "我的颜色盒";

    DataFolder(std::filesystem::path folder, Notifier *notifier);
    ~DataFolder();
    DataFolder(const DataFolder &) = delete;
    DataFolder &operator=(const DataFolder &) = delete;

    // The whole start-up preparation, in start-up order.
    Status prepare();
    // Only creates the missing files (built from the colour group file when
    // that one exists already); loads nothing else.
    Status createMissingFiles();

    // A data file that did not open although it is there, or that is missing
    // while its backup opens.
    struct DamagedFile {
        std::filesystem::path path;
        std::string reason; // why it was refused
        bool backupUsable = false; // "<file>.bak" opens as the same kind of file
        bool missing = false; // not there: its backup is its last good version
    };
    // The damaged files met by the last prepare() or createMissingFiles().
    const std::vector<DamagedFile> &damagedFiles() const { return m_damaged; }

    // What keeps a data file from being used, and what the user can do.
    struct FileProblem {
        enum class Kind {
            Missing, // not there and could not be created
            MissingWithBackup, // not there; its backup holds its last version and is not replaced by defaults
            Folder, // a folder stands in its place
            DanglingLink, // a symbolic link to a file that does not exist
            Special, // a FIFO, socket or device stands in its place
            Unreadable, // there, but the program may not read it
            Busy, // another program held the folder's lock too long
            Damaged, // refused as damaged
        };
        enum class Remedy {
            Restore, // put the backup in its place (the desktop asks; pigmora-cli restore FILE)
            MoveAway, // move what is there away (keep it); the next start creates the file with its defaults
            FixLink, // point the link at the data file, or remove it; then start again
            AllowAccess, // give the program read and write access to it
            MakeFolderWritable, // the folder must allow creating files (or use another data folder)
            TryAgain, // close the other program or wait, then try again
        };
        std::filesystem::path path; // as named in the data folder
        Kind kind = Kind::Damaged;
        Remedy remedy = Remedy::MoveAway;
        std::string reason; // what is wrong, with the store's reason
        bool backupUsable = false;

        // The reason and the remedy in one English sentence, as the command
        // line says it.
        std::string message() const;
    };
    // Every data file that cannot be used, after the last prepare() or
    // createMissingFiles(), in start-up order.
    const std::vector<FileProblem> &problems() const { return m_problems; }

    // For each damaged or missing file with a usable backup, asks the
    // notifier whether to restore it and does so on Yes (failures shown).
    // True when anything was restored: prepare() again then.
    bool offerRestore();

    // Puts a copy of the backup "<file>.bak" in the data file's place, under
    // the folder's exclusive lock and without a moment where the data file is
    // missing: the copy is flushed beside it and renamed over it. The damaged
    // file is kept as "<file>.damaged-<date>-<time>". A data file that is a
    // symbolic link is restored at its target, beside which its backup lies.
    // Refused, changing nothing, when the name is not a data file's, the file
    // opens (it is not damaged) or the backup does not. The path the damaged
    // file is kept as (empty when there was none).
    static Result<std::filesystem::path> restoreFromBackup(const std::filesystem::path &file);

    // True when no file can be created or replaced in the folder; reading
    // still works, every change fails with a message.
    bool isReadOnly() const;

    const std::filesystem::path &folder() const { return m_folder; }
    const StartupSettings &settings() const { return m_settings; }
    const std::vector<std::string> &colorBoxNames() const { return m_colorBoxNames; }
    // Present after prepare() or createMissingFiles().
    CConfigManager *config() const { return m_config.get(); }
    CColorManager *colors() const { return m_colors.get(); }
    std::unique_ptr<CConfigManager> releaseConfig() { return std::move(m_config); }
    std::unique_ptr<CColorManager> releaseColors() { return std::move(m_colors); }

private:
    Status checkFolder() const;
    void createColorFiles();
    Status checkFiles();

    std::filesystem::path m_folder;
    Notifier *m_notifier;
    StartupSettings m_settings;
    std::vector<std::string> m_colorBoxNames;
    std::vector<DamagedFile> m_damaged;
    std::vector<FileProblem> m_problems;
    std::unique_ptr<CConfigManager> m_config;
    std::unique_ptr<CColorManager> m_colors;
};

// Where a program keeps its data files when no folder is named: a copy run
// where it was built or unpacked uses its own folder; an installed copy (its
// executable in installBinFolder, the installation's bin folder) never
// writes there and uses the per-user data folder.
bool isInstalledCopy(const std::filesystem::path &programFolder, const std::filesystem::path &installBinFolder);

// The per-user data folder: "$XDG_DATA_HOME/Pigmora/Pigmora", or
// "$HOME/.local/share/Pigmora/Pigmora" when XDG_DATA_HOME is unset or not an
// absolute path. Empty without either.
std::filesystem::path perUserDataFolder(const char *xdgDataHome, const char *home);

} // namespace pigmora
