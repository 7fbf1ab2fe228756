#include "store/datafolder.h"

#include "store/folderlock.h"
#include "store/observationstore.h"
#include "store/safefile.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace pigmora {

namespace {

constexpr std::string_view kDataFileNames
    = "QorConfig.bin, QorColorGroup.bin, QorColorbox.bin, QorPalette.bin or QorObservation.bin";

bool isDataFileName(std::string_view name)
{
    return name == CConfigManager::kFileName || name == store::kColorGroupFileName || name == store::kColorBoxFileName
        || name == store::kPaletteFileName || name == ObservationStore::kFileName;
}

// Opens one data file as its variant; the table file's reason when it fails.
template<typename File>
Status checkFile(File &&file, const std::filesystem::path &path)
{
    if (!safefile::pathExists(path))
        return Status::error(path.filename().string() + ": no such file");
    return file.open(path) ? Status::ok() : file.lastError();
}

// Opens path as the kind of data file its name says.
Status openAsDataFile(const std::filesystem::path &path, std::string_view fileName)
{
    if (fileName == CConfigManager::kFileName)
        return checkFile(CConfigFile(), path);
    if (fileName == store::kColorGroupFileName)
        return checkFile(CColorBoxFile(CColorBoxFile::kColorGroupMode), path);
    if (fileName == store::kColorBoxFileName)
        return checkFile(CColorBoxFile(CColorBoxFile::kColorBoxMode), path);
    if (fileName == store::kPaletteFileName)
        return checkFile(CPalettePanelFile(), path);
    if (fileName == ObservationStore::kFileName)
        return safefile::pathExists(path) ? ObservationStore::check(path) : Status::error("no such file");
    return Status::error(std::string(fileName) + " is not a data file (" + std::string(kDataFileNames) + ")");
}

bool backupOpens(const std::filesystem::path &file, std::string_view fileName)
{
    const std::filesystem::path backup = safefile::backupPath(safefile::resolveLinks(file));
    return safefile::pathExists(backup) && openAsDataFile(backup, fileName).isOk();
}

using FileProblem = DataFolder::FileProblem;

// Why the data file at path cannot be used, or nothing when it opens.
std::optional<FileProblem> examineDataFile(const std::filesystem::path &path, std::string_view name)
{
    using Kind = FileProblem::Kind;
    using Remedy = FileProblem::Remedy;
    // A busy lock is no damage: it is told apart before the file is judged.
    auto lock = FolderLock::acquire(path.parent_path(), FolderLock::Mode::Shared);
    if (!lock)
        return FileProblem{path, Kind::Busy, Remedy::TryAgain, std::string(name) + ": " + lock.message(), false};
    const Status opened = openAsDataFile(path, name);
    if (opened)
        return std::nullopt;
    const bool backupUsable = backupOpens(path, name);
    if (!safefile::pathExists(path)) {
        if (backupUsable)
            return FileProblem{path, Kind::MissingWithBackup, Remedy::Restore,
                               std::string(name) + " is missing; its backup " + std::string(name)
                                   + ".bak holds its last version",
                               true};
        return FileProblem{path, Kind::Missing, Remedy::MakeFolderWritable,
                           "cannot create " + path.string() + ": the data folder is not writable", false};
    }
    if (Status regular = safefile::checkRegularFile(path); !regular) {
        struct stat info { };
        const bool dangling = ::stat(path.c_str(), &info) != 0;
        if (dangling)
            return FileProblem{path, Kind::DanglingLink, Remedy::FixLink, regular.message(), backupUsable};
        return FileProblem{path, S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Special, Remedy::MoveAway,
                           regular.message(), backupUsable};
    }
    if (::access(path.c_str(), R_OK) != 0)
        return FileProblem{path, Kind::Unreadable, Remedy::AllowAccess,
                           std::string(name) + " cannot be read (" + std::strerror(errno) + ")", backupUsable};
    return FileProblem{path, Kind::Damaged, backupUsable ? Remedy::Restore : Remedy::MoveAway, opened.message(),
                       backupUsable};
}

} // namespace

std::string DataFolder::FileProblem::message() const
{
    const std::string name = path.filename().string();
    switch (remedy) {
    case Remedy::Restore:
        if (kind == Kind::MissingWithBackup)
            return reason + "; restore it with 'pigmora-cli restore " + name + "', or remove " + name
                + ".bak to start it anew with its defaults";
        return reason + "; the last good copy can be restored with 'pigmora-cli restore " + name
            + "' (the damaged file is kept)";
    case Remedy::MoveAway:
        return reason + "; " + (backupUsable ? "restore its backup with 'pigmora-cli restore " + name + "', or " : "")
            + "move it away (keep it) and " + name + " is created with its defaults";
    case Remedy::FixLink:
        return reason + "; point the link at the data file or remove it (" + name
            + " is then created with its defaults)";
    case Remedy::AllowAccess:
        return reason + "; give this program read and write access to it";
    case Remedy::MakeFolderWritable:
        return reason + "; the data folder must allow creating files (or name another with --data-dir)";
    case Remedy::TryAgain:
        return reason + "; try again when the other program is done";
    }
    return reason;
}

DataFolder::DataFolder(std::filesystem::path folder, Notifier *notifier)
    : m_folder(std::move(folder))
    , m_notifier(notifier)
{ }

DataFolder::~DataFolder() = default;

Status DataFolder::checkFolder() const
{
    std::error_code ec;
    if (!std::filesystem::is_directory(m_folder, ec))
        return Status::error("the data folder " + m_folder.string() + " does not exist or is not a folder");
    return Status::ok();
}

void DataFolder::createColorFiles()
{
    m_colors = std::make_unique<CColorManager>(m_folder, m_notifier);
    m_colors->buildBuiltInCatalogue();
    m_colors->createDefaultColorGroupFile();
    m_colors->loadColorGroups();
    m_colors->createDefaultColorBoxFile();
    m_colors->createDefaultPaletteFile();
}

Status DataFolder::prepare()
{
    const FolderLock::CommandScope oneWait;
    if (Status folder = checkFolder(); !folder)
        return folder;
    m_config = std::make_unique<CConfigManager>(m_folder, m_notifier);
    m_config->createDefaultConfigFile();
    m_config->open();
    m_config->loadSysConfig();
    m_settings = readSettings(*m_config);

    createColorFiles();
    m_colors->loadColorBox(kStartBox);
    m_colorBoxNames.clear();
    m_colors->listColorBoxes(m_colorBoxNames);
    return checkFiles();
}

Status DataFolder::createMissingFiles()
{
    const FolderLock::CommandScope oneWait;
    if (Status folder = checkFolder(); !folder)
        return folder;
    m_config = std::make_unique<CConfigManager>(m_folder, m_notifier);
    m_config->createDefaultConfigFile();
    createColorFiles();
    return checkFiles();
}

Status DataFolder::checkFiles()
{
    m_damaged.clear();
    m_problems.clear();
    for (const std::string_view name :
         {CConfigManager::kFileName, store::kColorGroupFileName, store::kColorBoxFileName, store::kPaletteFileName}) {
        auto problem = examineDataFile(m_folder / name, name);
        if (!problem)
            continue;
        using Kind = FileProblem::Kind;
        if (problem->kind == Kind::Damaged || problem->kind == Kind::MissingWithBackup)
            m_damaged.push_back(
                {problem->path, problem->reason, problem->backupUsable, problem->kind == Kind::MissingWithBackup});
        m_problems.push_back(std::move(*problem));
    }
    return m_problems.empty() ? Status::ok() : Status::error(m_problems.front().reason);
}

bool DataFolder::offerRestore()
{
    bool restored = false;
    for (const DamagedFile &damaged : m_damaged) {
        if (!damaged.backupUsable)
            continue;
        const std::string name = damaged.path.filename().string();
        const std::string question = damaged.missing
            ? "数据文件" + name + "不见了, 但它上一次修改前的备份还在。是否恢复这个备份?"
            : "数据文件" + name + "已损坏(" + damaged.reason + ")。是否恢复它上一次修改前的备份? 损坏的文件将被保留。";
        if (!m_notifier || !m_notifier->askYesNo(question))
            continue;
        const auto result = restoreFromBackup(damaged.path);
        if (result)
            restored = true;
        else
            store::notify(m_notifier, "恢复" + name + "失败: " + result.message());
    }
    return restored;
}

// The data file exists, damaged or restored, at every instant: the backup is
// copied and flushed beside it, the damaged file gets a second name, and the
// copy is renamed over the file.
Result<std::filesystem::path> DataFolder::restoreFromBackup(const std::filesystem::path &file)
{
    const std::string name = file.filename().string();
    if (name.empty())
        return Status::error("'" + file.string() + "' names a folder, not a data file (" + std::string(kDataFileNames)
                             + "); nothing was changed");
    if (!isDataFileName(name))
        return Status::error(name + " is not a data file (" + std::string(kDataFileNames) + "); nothing was changed");
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return Status::error("the data folder " + folder.string() + " does not exist; nothing was changed");
    auto lock = FolderLock::acquire(file.parent_path(), FolderLock::Mode::Exclusive);
    if (!lock)
        return lock.status();
    const std::filesystem::path target = safefile::resolveLinks(file);
    const bool present = safefile::pathExists(target);
    if (present && openAsDataFile(file, name))
        return Status::error(name + " is not damaged; nothing was changed");
    if (present) {
        if (Status regular = safefile::checkRegularFile(target); !regular)
            return Status::error(regular.message() + "; move it away first; nothing was changed");
    }
    const std::filesystem::path backup = safefile::backupPath(target);
    if (!safefile::pathExists(backup))
        return Status::error("there is no backup " + backup.filename().string() + "; nothing was changed");
    if (Status usable = openAsDataFile(backup, name); !usable)
        return Status::error("the backup cannot be used either (" + usable.message() + "); nothing was changed");

    const std::filesystem::path work = safefile::workPath(target);
    if (Status copied = safefile::copyFile(backup, work); !copied) {
        ::unlink(work.c_str());
        return Status::error(copied.message() + "; nothing was changed");
    }
    std::filesystem::path aside;
    if (present) {
        auto kept = safefile::keepDamagedCopy(target);
        if (!kept) {
            ::unlink(work.c_str());
            return Status::error(kept.message() + "; nothing was changed");
        }
        aside = *kept;
    }
    if (Status replaced = safefile::replaceWith(work, target); !replaced) {
        ::unlink(work.c_str());
        if (!aside.empty())
            ::unlink(aside.c_str());
        return Status::error(replaced.message() + "; nothing was changed");
    }
    return aside;
}

bool DataFolder::isReadOnly() const
{
    return !safefile::folderWritable(m_folder);
}

bool isInstalledCopy(const std::filesystem::path &programFolder, const std::filesystem::path &installBinFolder)
{
    std::error_code ec;
    return !installBinFolder.empty() && std::filesystem::equivalent(programFolder, installBinFolder, ec);
}

std::filesystem::path perUserDataFolder(const char *xdgDataHome, const char *home)
{
    std::filesystem::path base;
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute())
        base = xdgDataHome;
    else if (home && *home)
        base = std::filesystem::path(home) / ".local" / "share";
    else
        return {};
    return base / "Pigmora" / "Pigmora";
}

} // namespace pigmora
