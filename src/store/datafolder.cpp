#include "store/datafolder.h"

#include "store/storesupport.h"
#include "store/tablefile.h"

namespace pigmora {

namespace {

// Opens one data file as its variant; the table file's reason when it fails.
template<typename File>
Status checkFile(File &&file, const std::filesystem::path &path)
{
    if (!DCFile::exists(path))
        return Status::error("cannot create " + path.string() + ": the data folder is not writable");
    return file.open(path) ? Status::ok() : file.lastError();
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

Status DataFolder::checkFiles() const
{
    if (Status s = checkFile(CConfigFile(), m_folder / CConfigManager::kFileName); !s)
        return s;
    if (Status s = checkFile(CColorBoxFile(CColorBoxFile::kColorGroupMode), m_folder / store::kColorGroupFileName); !s)
        return s;
    if (Status s = checkFile(CColorBoxFile(CColorBoxFile::kColorBoxMode), m_folder / store::kColorBoxFileName); !s)
        return s;
    return checkFile(CPalettePanelFile(), m_folder / store::kPaletteFileName);
}

} // namespace pigmora
