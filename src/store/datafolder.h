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
    Status checkFiles() const;

    std::filesystem::path m_folder;
    Notifier *m_notifier;
    StartupSettings m_settings;
    std::vector<std::string> m_colorBoxNames;
    std::unique_ptr<CConfigManager> m_config;
    std::unique_ptr<CColorManager> m_colors;
};

} // namespace pigmora
