#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

// A scratch folder for one fuzzing process (in memory where possible) and a
// way to put the fuzzer's bytes into a file there.
namespace pigmora::fuzz {

inline std::filesystem::path scratchFolder(const char *name)
{
    const std::filesystem::path shm("/dev/shm");
    std::error_code ec;
    const auto base = std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    const auto folder = base / ("pigmora-fuzz-" + std::string(name) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder, ec);
    return folder;
}

inline bool writeBytes(const std::filesystem::path &path, const std::uint8_t *data, std::size_t size)
{
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(data, 1, size, out) == size;
    return std::fclose(out) == 0 && written;
}

// Stops the fuzzer like a crash when an accepted file is no longer accepted.
template<typename File>
void mustStillOpen(File &&file, const std::filesystem::path &path)
{
    if (!file.open(path)) {
        std::fprintf(stderr, "accepted file refused after an edit: %s\n", file.lastError().message().c_str());
        __builtin_trap();
    }
}

} // namespace pigmora::fuzz
