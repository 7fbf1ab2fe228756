#include "store/filestamp.h"

#include "store/storesupport.h"

#include <sys/stat.h>

namespace pigmora {

FileStamp fileStampOf(const std::filesystem::path &path)
{
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.identity = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.changedNanoseconds = std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

ColorFileStamps colorFileStampsOf(const std::filesystem::path &folder)
{
    return {fileStampOf(folder / store::kColorGroupFileName), fileStampOf(folder / store::kColorBoxFileName)};
}

} // namespace pigmora
