#include "image/pictureblock.h"

#include <cstdlib>
#include <new>

#if defined(__unix__)
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pigmora {

namespace {

// Large blocks are aligned to 2 MiB and offered to the kernel as huge pages:
// a magnified picture of several hundred megabytes then costs a few hundred
// page faults instead of a few hundred thousand.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::uint8_t *allocatePixels(std::size_t bytes)
{
    if (bytes < kHugePage)
        return static_cast<std::uint8_t *>(std::malloc(bytes == 0 ? 1 : bytes));
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    auto *p = static_cast<std::uint8_t *>(std::aligned_alloc(kHugePage, rounded));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (p)
        madvise(p, rounded, MADV_HUGEPAGE); // only advice: failure changes nothing
#endif
    return p;
}

} // namespace

std::size_t maxPictureBytes()
{
    static const std::size_t limit = [] {
        std::size_t bytes = std::size_t{8} << 30; // when the machine does not tell
#if defined(__unix__) && defined(_SC_PHYS_PAGES)
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        if (pages > 0 && pageSize > 0)
            bytes = static_cast<std::size_t>(pages) / 2 * static_cast<std::size_t>(pageSize);
#endif
        return bytes;
    }();
    return limit;
}

std::shared_ptr<PictureBlock> PictureBlock::allocate(std::size_t pixelBytes, int colorTableLength)
{
    if (pixelBytes > maxPictureBytes() || colorTableLength < 0 || colorTableLength > 256)
        return nullptr;
    std::shared_ptr<PictureBlock> block(new (std::nothrow) PictureBlock);
    if (!block)
        return nullptr;
    try {
        block->m_colorTable.assign(static_cast<std::size_t>(colorTableLength) * 4, 0);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    block->m_pixels = allocatePixels(pixelBytes);
    if (!block->m_pixels)
        return nullptr;
    block->m_ownsPixels = true;
    block->m_pixelBytes = pixelBytes;
    return block;
}

std::shared_ptr<PictureBlock> PictureBlock::adopt(std::vector<std::uint8_t> &&pixels)
{
    std::shared_ptr<PictureBlock> block(new (std::nothrow) PictureBlock);
    if (!block)
        return nullptr;
    block->m_adoptedPixels = std::move(pixels);
    block->m_pixels = block->m_adoptedPixels.data();
    block->m_pixelBytes = block->m_adoptedPixels.size();
    return block;
}

PictureBlock::~PictureBlock()
{
    if (m_ownsPixels)
        std::free(m_pixels);
}

} // namespace pigmora
