// Arbitrary bytes as "QorObservation.bin" under the observation store: load,
// check, add one observation, remove the oldest. A file that loads must load
// again after each change, one longer and then one shorter; a refused file
// is never written.
#include "store/observationstore.h"
#include "store_fuzzsupport.h"

#include <cstdint>
#include <fstream>
#include <iterator>

using namespace pigmora;

namespace {

std::vector<char> fileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::filesystem::path folder = fuzz::scratchFolder("observation");
    const ObservationStore store(folder);
    if (!fuzz::writeBytes(store.path(), data, size))
        return 0;
    const auto loaded = store.load();
    if (static_cast<bool>(ObservationStore::check(store.path())) != static_cast<bool>(loaded))
        __builtin_trap();

    Observation added;
    added.measured = {120, 80, 40};
    added.time = 1700000000;
    added.paints = {{"101", "fuzz red", 0, {200, 30, 20}, 2.0}, {"701", "fuzz white", 0, {250, 250, 250}, 1.0}};
    const std::vector<char> before = fileBytes(store.path());
    const Status addition = store.add(added);
    if (!loaded) {
        if (addition || fileBytes(store.path()) != before)
            __builtin_trap(); // a damaged file is refused untouched
        return 0;
    }
    if (!addition)
        return 0; // the disk, say: nothing else to check
    const auto grown = store.load();
    if (!grown || grown->size() != loaded->size() + 1)
        __builtin_trap();
    if (store.remove(1)) {
        const auto shrunk = store.load();
        if (!shrunk || shrunk->size() != loaded->size())
            __builtin_trap();
    }
    return 0;
}
