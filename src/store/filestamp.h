#pragma once

#include <cstdint>
#include <filesystem>

namespace pigmora {

// What tells whether a data file was replaced since it was read: every
// change renames a new file over it, so its identity changes, and so, as a
// rule, do its size and time.
struct FileStamp {
    bool exists = false;
    std::uint64_t identity = 0; // the file system's number of the file
    std::uint64_t size = 0;
    std::int64_t changedNanoseconds = 0;

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

FileStamp fileStampOf(const std::filesystem::path &path);

// The stamps of the files a colour manager's catalogue ("QorColorGroup.bin")
// and current colour box ("QorColorbox.bin") are read from.
struct ColorFileStamps {
    FileStamp groups;
    FileStamp boxes;

    friend bool operator==(const ColorFileStamps &, const ColorFileStamps &) = default;
};

ColorFileStamps colorFileStampsOf(const std::filesystem::path &folder);

} // namespace pigmora
