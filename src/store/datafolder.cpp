#include "store/datafolder.h"

#include "store/folderlock.h"
#include "store/observationstore.h"
#include "store/safefile.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <unistd.h>

namespace pigmora {

namespace {

// Opens one data file as its variant; the table file's reason when it fails.
template<typename File>
Status checkFile(File &&file, const std::filesystem::path &path)
{
    if (!safefile::pathExists(path))
        return Status::error("cannot create " + path.string() + ": the data folder is not writable");
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
    return Status::error(std::string(fileName)
                         + " is not a data file (QorConfig.bin, QorColorGroup.bin, "
                           "QorColorbox.bin, QorPalette.bin or QorObservation.bin)");
}

} // namespace

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
    Status first;
    for (const std::string_view name :
         {CConfigManager::kFileName, store::kColorGroupFileName, store::kColorBoxFileName, store::kPaletteFileName}) {
        const std::filesystem::path path = m_folder / name;
        Status opened = openAsDataFile(path, name);
        if (opened)
            continue;
        // A regular file that is there but refused is damaged.
        if (safefile::checkRegularFile(path)) {
            const std::filesystem::path backup = safefile::backupPath(path);
            const bool usable = safefile::pathExists(backup) && openAsDataFile(backup, name).isOk();
            m_damaged.push_back({path, opened.message(), usable});
        }
        if (first)
            first = std::move(opened);
    }
    return first;
}

bool DataFolder::offerRestore()
{
    bool restored = false;
    for (const DamagedFile &damaged : m_damaged) {
        if (!damaged.backupUsable)
            continue;
        const std::string name = damaged.path.filename().string();
        if (!m_notifier
            || !m_notifier->askYesNo("数据文件" + name + "已损坏(" + damaged.reason
                                     + ")。是否恢复它上一次修改前的备份? 损坏的文件将被保留。"))
            continue;
        const auto result = restoreFromBackup(damaged.path);
        if (result)
            restored = true;
        else
            store::notify(m_notifier, "恢复" + name + "失败: " + result.message());
    }
    return restored;
}

Result<std::filesystem::path> DataFolder::restoreFromBackup(const std::filesystem::path &file)
{
    const std::string name = file.filename().string();
    auto lock = FolderLock::acquire(file.parent_path(), FolderLock::Mode::Exclusive);
    if (!lock)
        return lock.status();
    const bool present = safefile::pathExists(file);
    if (present && openAsDataFile(file, name))
        return Status::error(name + " is not damaged; nothing was changed");
    const std::filesystem::path backup = safefile::backupPath(file);
    if (!safefile::pathExists(backup))
        return Status::error("there is no backup " + backup.filename().string() + "; nothing was changed");
    if (Status usable = openAsDataFile(backup, name); !usable)
        return Status::error("the backup cannot be used either (" + usable.message() + "); nothing was changed");
    std::filesystem::path aside;
    if (present) {
        auto moved = safefile::moveAside(file);
        if (!moved)
            return moved.status();
        aside = *moved;
    }
    const std::filesystem::path work = safefile::workPath(file);
    if (Status copied = safefile::copyFile(backup, work); !copied) {
        ::unlink(work.c_str());
        return Status::error(copied.message() + "; the damaged file is kept as " + aside.filename().string());
    }
    if (Status replaced = safefile::replaceWith(work, file); !replaced) {
        ::unlink(work.c_str());
        return replaced;
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
