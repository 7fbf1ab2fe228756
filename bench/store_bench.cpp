// Time of importing paints into a colour group (one change of the colour
// group file, flushed) and of one single paint added to a large group.
#include "data/colormanager.h"
#include "store/datafolder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace pigmora;

// A fresh data folder with the default files, removed with the object.
class Folder
{
public:
    Folder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pigmora-bench-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
        DataFolder(m_path, nullptr).createMissingFiles();
    }
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::vector<CColorManager::NewGroupColor> paints(int n, const std::string &prefix)
{
    std::vector<CColorManager::NewGroupColor> list;
    for (int i = 0; i < n; ++i)
        list.push_back({prefix + std::to_string(i), "", {i % 256, 1, 2}});
    return list;
}

void importPaints(benchmark::State &state)
{
    const auto list = paints(static_cast<int>(state.range(0)), "paint");
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<Folder>();
        CColorManager manager(folder->path());
        manager.buildBuiltInCatalogue();
        manager.loadColorGroups();
        state.ResumeTiming();
        benchmark::DoNotOptimize(manager.addGroupColors("油画颜色", list).isOk());
        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(importPaints)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

void addOnePaintToALargeGroup(benchmark::State &state)
{
    Folder folder;
    CColorManager manager(folder.path());
    manager.buildBuiltInCatalogue();
    manager.loadColorGroups();
    manager.addGroupColors("油画颜色", paints(10000, "base"));
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.addGroupColor("油画颜色", "one" + std::to_string(n++), "", {}, 1.0f, 2, 2));
}
BENCHMARK(addOnePaintToALargeGroup)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
