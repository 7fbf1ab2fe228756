#pragma once

#include "data/color.h"
#include "image/picturebitmap.h"
#include "image/picturesource.h"
#include "image/scaleplan.h"
#include "image/tilecache.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace pigmora {

// Side of a square tile in pixels (tiles on the right and bottom edges are
// cut to the picture).
inline constexpr int kTileSide = 256;

struct VirtualPictureOptions {
    std::size_t cacheBudget = kTileCacheBudget;
    // Threads that compute queued tiles (prefetch, prepare); 0: none, the
    // calling thread computes everything.
    int workers = 0;
    int tileSide = kTileSide;
};

// A view picture or magnified picture that is never built whole: it has the
// size, zoom factor, gray state and pixels the image engine's whole picture
// would have (buildViewPicture / buildMagnifiedPicture), byte for byte, but
// computes only the tiles that are asked for and keeps them in a bounded
// least-recently-used cache. Everything a tile shares with the others (the
// scaler's weight tables) is made once, at construction.
//
// Thread-safe: any number of threads may read pixels, rectangles and tiles
// at once. A tile asked for while another thread computes it is waited for,
// not computed twice. Workers, when there are any, compute queued tiles in
// the background; the destructor stops and joins them.
//
// A picture view uses it so: on a zoom step make a new one from the same
// PictureSource (gray rows already converted are kept), on a gray toggle
// from a new source; prepare() the visible rectangle (the wait cursor
// meanwhile); paint each exposed tile from cachedTile(), or tile() when it
// must be there now; prefetch() the screen after a scroll and repaint a
// tile when setTileReady's callback (on a worker thread) names it. The
// colour pick reads pixel(), the magnifier copyRect() of its Magnified twin.
class VirtualPicture
{
public:
    enum class Kind { View, Magnified };

    // The view picture of the source for a zoom text (the unscaled copy for
    // "100%", else the copy scaled to trunc(w x z) x trunc(h x z), a side of
    // 0 becoming 1), or the magnified picture (scaled by the magnification
    // of the zoom, Magnification). None when the tables' memory is refused.
    static std::unique_ptr<VirtualPicture> create(std::shared_ptr<const PictureSource> source, Kind kind,
                                                  std::string_view zoomText, const VirtualPictureOptions &options = {});

    ~VirtualPicture();
    VirtualPicture(const VirtualPicture &) = delete;
    VirtualPicture &operator=(const VirtualPicture &) = delete;

    Kind kind() const { return m_kind; }
    int width() const { return m_plan->targetWidth(); }
    int height() const { return m_plan->targetHeight(); }
    // View: the zoom factor (1 when unscaled). Magnified: the magnifier
    // factor f, the size relative to the view picture.
    float factor() const { return m_factor; }
    bool zoomed() const { return m_plan->mode() != ScalePlan::Mode::Copy; }
    bool gray() const { return m_source->gray(); }
    const std::shared_ptr<const PictureSource> &source() const { return m_source; }

    int tileSide() const { return m_tileSide; }
    int tileColumns() const { return (width() + m_tileSide - 1) / m_tileSide; }
    int tileRows() const { return (height() + m_tileSide - 1) / m_tileSide; }

    // The colour of pixel (x, y): read from its tile when that is cached,
    // otherwise computed on its own at once. None outside the picture.
    std::optional<RgbColor> pixel(int x, int y) const;

    // Copies the rectangle (x, y, w, h) to dest (rows w pixels wide at
    // destStride bytes, 32-bit pixels as in the pictures), computing what
    // it needs at once: whole tiles where it covers much of them, else just
    // its part (the tile is then queued for the workers). Pixels of the
    // rectangle outside the picture are not written. False when memory was
    // refused.
    bool copyRect(int x, int y, int w, int h, std::uint8_t *dest, std::ptrdiff_t destStride) const;
    // The rectangle, which must lie inside the picture, as a new bitmap; the
    // null bitmap when it does not or memory is refused.
    PictureBitmap region(int x, int y, int w, int h) const;

    // Tile (column, row) for drawing at (column x tileSide, row x tileSide),
    // computed now when not cached; the null bitmap outside the tile grid or
    // when memory is refused. The bitmap keeps its pixels after eviction.
    PictureBitmap tile(int column, int row) const;
    // The tile when it is cached; the null bitmap otherwise (never computes).
    PictureBitmap cachedTile(int column, int row) const;

    // Computes every tile of the rectangle before returning, the workers
    // helping. False when a tile's memory was refused.
    bool prepare(int x, int y, int w, int h) const;
    // Queues the rectangle's tiles that are not cached for the workers,
    // replacing what was queued before (the newest screen first). Does
    // nothing without workers.
    void prefetch(int x, int y, int w, int h) const;
    // Called on a worker thread after it computed a queued tile.
    void setTileReady(std::function<void(int column, int row)> callback);

    void clearCache();
    std::size_t cachedBytes() const;
    std::size_t cachedTiles() const;

private:
    using Block = std::shared_ptr<const PictureBlock>;

    VirtualPicture(std::shared_ptr<const PictureSource> source, Kind kind, std::unique_ptr<const ScalePlan> plan,
                   float factor, const VirtualPictureOptions &options);

    static std::uint64_t keyOf(int column, int row)
    {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32 | static_cast<std::uint32_t>(column);
    }
    bool inGrid(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < tileColumns() && row < tileRows();
    }
    // The tiles (column, row) covering the rectangle, clipped to the picture.
    std::vector<std::uint64_t> tilesOf(int x, int y, int w, int h) const;
    Block tileBlock(int column, int row) const;
    // Puts tiles at the head of the workers' queue (when there are workers).
    void queueFirst(const std::vector<std::uint64_t> &keys) const;
    Block computeTile(int column, int row) const;
    PictureBitmap bitmapOf(int column, int row, Block block) const;
    void work(std::stop_token stop);

    std::shared_ptr<const PictureSource> m_source;
    Kind m_kind;
    std::unique_ptr<const ScalePlan> m_plan;
    float m_factor;
    int m_tileSide;

    mutable std::mutex m_mutex;
    mutable TileCache m_cache;
    mutable std::unordered_map<std::uint64_t, std::shared_future<Block>> m_computing;
    mutable std::deque<std::uint64_t> m_queue;
    mutable std::condition_variable_any m_queued;
    std::function<void(int, int)> m_tileReady;
    std::vector<std::jthread> m_workers; // last: stopped and joined first
};

} // namespace pigmora
