#include "image/virtualpicture.h"

#include "image/viewbuilder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace pigmora {

namespace {

struct Clip {
    int left;
    int top;
    int right; // exclusive
    int bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

Clip clipTo(int x, int y, int w, int h, int width, int height)
{
    const auto clamp = [](std::int64_t v, int high) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, high)); };
    return {clamp(x, width), clamp(y, height), clamp(std::int64_t{x} + std::max(w, 0), width),
            clamp(std::int64_t{y} + std::max(h, 0), height)};
}

} // namespace

std::unique_ptr<VirtualPicture> VirtualPicture::create(std::shared_ptr<const PictureSource> source, Kind kind,
                                                       std::string_view zoomText, const VirtualPictureOptions &options)
{
    if (!source || options.tileSide <= 0 || options.workers < 0)
        return nullptr;
    const int w = source->width();
    const int h = source->height();
    const float zoom = zoomFactor(zoomText);
    float scale = zoom;
    float factor = zoom;
    bool scaled = zoomText != "100%";
    if (kind == Kind::Magnified) {
        const Magnification m = magnificationFor(zoom);
        scale = m.scale;
        factor = m.factor;
        scaled = true;
    }
    std::unique_ptr<const ScalePlan> plan;
    if (!scaled) {
        plan = ScalePlan::make(ScalePlan::Mode::Copy, w, h, w, h);
    } else {
        // As the converter scales: a side of 0 becomes 1 pixel; one factor
        // for both sides never grows one while shrinking the other.
        const int a = std::max(scaledSide(w, scale), 1);
        const int b = std::max(scaledSide(h, scale), 1);
        const auto mode = a > w || b > h ? ScalePlan::Mode::Enlarge : ScalePlan::Mode::Reduce;
        plan = ScalePlan::make(mode, w, h, a, b);
    }
    if (!plan)
        return nullptr;
    return std::unique_ptr<VirtualPicture>(
        new (std::nothrow) VirtualPicture(std::move(source), kind, std::move(plan), factor, options));
}

VirtualPicture::VirtualPicture(std::shared_ptr<const PictureSource> source, Kind kind,
                               std::unique_ptr<const ScalePlan> plan, float factor,
                               const VirtualPictureOptions &options)
    : m_source(std::move(source))
    , m_kind(kind)
    , m_plan(std::move(plan))
    , m_factor(factor)
    , m_tileSide(options.tileSide)
    , m_cache(options.cacheBudget)
{
    for (int i = 0; i < options.workers; ++i)
        m_workers.emplace_back([this](std::stop_token stop) { work(std::move(stop)); });
}

VirtualPicture::~VirtualPicture()
{
    for (std::jthread &worker : m_workers)
        worker.request_stop();
    m_workers.clear(); // joins
}

std::optional<RgbColor> VirtualPicture::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return std::nullopt;
    const int column = x / m_tileSide;
    const int row = y / m_tileSide;
    Block block;
    {
        std::lock_guard lock(m_mutex);
        block = m_cache.find(keyOf(column, row));
    }
    if (block) {
        const PictureBitmap bitmap = bitmapOf(column, row, std::move(block));
        return bitmap.colorAt(x - column * m_tileSide, y - row * m_tileSide);
    }
    // One pixel costs far less than its tile at the small zoom steps.
    std::uint8_t p[4];
    if (!m_plan->render(*m_source, x, y, 1, 1, p, 4))
        return std::nullopt;
    return RgbColor{p[2], p[1], p[0]};
}

bool VirtualPicture::copyRect(int x, int y, int w, int h, std::uint8_t *dest, std::ptrdiff_t destStride) const
{
    const Clip clip = clipTo(x, y, w, h, width(), height());
    if (clip.empty())
        return true;
    std::vector<std::uint64_t> later;
    for (int row = clip.top / m_tileSide; row <= (clip.bottom - 1) / m_tileSide; ++row) {
        for (int column = clip.left / m_tileSide; column <= (clip.right - 1) / m_tileSide; ++column) {
            const int tileX = column * m_tileSide;
            const int tileY = row * m_tileSide;
            const int tileWidth = std::min(m_tileSide, width() - tileX);
            const int tileHeight = std::min(m_tileSide, height() - tileY);
            const int left = std::max(clip.left, tileX);
            const int right = std::min(clip.right, tileX + tileWidth);
            const int top = std::max(clip.top, tileY);
            const int bottom = std::min(clip.bottom, tileY + tileHeight);
            std::uint8_t *to
                = dest + static_cast<std::ptrdiff_t>(top - y) * destStride + static_cast<std::ptrdiff_t>(left - x) * 4;
            Block block;
            {
                std::lock_guard lock(m_mutex);
                block = m_cache.find(keyOf(column, row));
            }
            // A small part of a tile not cached yet (the magnifier's window
            // reaching into it) is computed on its own, the tile left to
            // the workers; a large part costs little more than the tile.
            const bool small = std::int64_t{right - left} * (bottom - top) * 2 < std::int64_t{tileWidth} * tileHeight;
            if (!block && small) {
                if (!m_plan->render(*m_source, left, top, right - left, bottom - top, to, destStride))
                    return false;
                later.push_back(keyOf(column, row));
                continue;
            }
            if (!block && !(block = tileBlock(column, row)))
                return false;
            for (int j = top; j < bottom; ++j, to += destStride) {
                const std::uint8_t *from = block->pixels()
                    + (static_cast<std::size_t>(j - tileY) * static_cast<std::size_t>(tileWidth)
                       + static_cast<std::size_t>(left - tileX))
                        * 4;
                std::memcpy(to, from, static_cast<std::size_t>(right - left) * 4);
            }
        }
    }
    queueFirst(later);
    return true;
}

PictureBitmap VirtualPicture::region(int x, int y, int w, int h) const
{
    if (w <= 0 || h <= 0 || x < 0 || y < 0 || x > width() - w || y > height() - h)
        return {};
    std::shared_ptr<PictureBlock> block
        = PictureBlock::allocate(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    if (!block || !copyRect(x, y, w, h, block->pixels(), static_cast<std::ptrdiff_t>(w) * 4))
        return {};
    return PictureBitmap(std::move(block), w, h, 32, w * 4);
}

PictureBitmap VirtualPicture::tile(int column, int row) const
{
    if (!inGrid(column, row))
        return {};
    return bitmapOf(column, row, tileBlock(column, row));
}

PictureBitmap VirtualPicture::cachedTile(int column, int row) const
{
    if (!inGrid(column, row))
        return {};
    Block block;
    {
        std::lock_guard lock(m_mutex);
        block = m_cache.find(keyOf(column, row));
    }
    return bitmapOf(column, row, std::move(block));
}

PictureBitmap VirtualPicture::bitmapOf(int column, int row, Block block) const
{
    if (!block)
        return {};
    const int w = std::min(m_tileSide, width() - column * m_tileSide);
    const int h = std::min(m_tileSide, height() - row * m_tileSide);
    return PictureBitmap(std::move(block), w, h, 32, w * 4);
}

VirtualPicture::Block VirtualPicture::computeTile(int column, int row) const
{
    const int x = column * m_tileSide;
    const int y = row * m_tileSide;
    const int w = std::min(m_tileSide, width() - x);
    const int h = std::min(m_tileSide, height() - y);
    std::shared_ptr<PictureBlock> block
        = PictureBlock::allocate(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    if (!block || !m_plan->render(*m_source, x, y, w, h, block->pixels(), static_cast<std::ptrdiff_t>(w) * 4))
        return nullptr;
    return block;
}

VirtualPicture::Block VirtualPicture::tileBlock(int column, int row) const
{
    const std::uint64_t key = keyOf(column, row);
    std::promise<Block> promise;
    {
        std::unique_lock lock(m_mutex);
        if (Block cached = m_cache.find(key))
            return cached;
        if (const auto computing = m_computing.find(key); computing != m_computing.end()) {
            const std::shared_future<Block> pending = computing->second;
            lock.unlock();
            return pending.get();
        }
        m_computing.emplace(key, promise.get_future().share());
    }
    Block block = computeTile(column, row);
    {
        std::lock_guard lock(m_mutex);
        m_cache.store(key, block);
        m_computing.erase(key);
    }
    promise.set_value(block);
    return block;
}

std::vector<std::uint64_t> VirtualPicture::tilesOf(int x, int y, int w, int h) const
{
    std::vector<std::uint64_t> keys;
    const Clip clip = clipTo(x, y, w, h, width(), height());
    if (clip.empty())
        return keys;
    for (int row = clip.top / m_tileSide; row <= (clip.bottom - 1) / m_tileSide; ++row)
        for (int column = clip.left / m_tileSide; column <= (clip.right - 1) / m_tileSide; ++column)
            keys.push_back(keyOf(column, row));
    return keys;
}

bool VirtualPicture::prepare(int x, int y, int w, int h) const
{
    const std::vector<std::uint64_t> keys = tilesOf(x, y, w, h);
    if (!m_workers.empty()) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.assign(keys.begin(), keys.end());
        }
        m_queued.notify_all();
    }
    // From the other end than the workers, so that both compute until they meet.
    bool complete = true;
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        complete = tileBlock(static_cast<int>(*key & 0xFFFFFFFFu), static_cast<int>(*key >> 32)) && complete;
    return complete;
}

void VirtualPicture::prefetch(int x, int y, int w, int h) const
{
    if (m_workers.empty())
        return;
    const std::vector<std::uint64_t> keys = tilesOf(x, y, w, h);
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        for (const std::uint64_t key : keys)
            if (!m_cache.contains(key) && !m_computing.contains(key))
                m_queue.push_back(key);
    }
    m_queued.notify_all();
}

void VirtualPicture::queueFirst(const std::vector<std::uint64_t> &keys) const
{
    if (m_workers.empty() || keys.empty())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (const std::uint64_t key : keys)
            if (!m_computing.contains(key) && std::find(m_queue.begin(), m_queue.end(), key) == m_queue.end())
                m_queue.push_front(key);
    }
    m_queued.notify_all();
}

void VirtualPicture::setTileReady(std::function<void(int column, int row)> callback)
{
    std::lock_guard lock(m_mutex);
    m_tileReady = std::move(callback);
}

void VirtualPicture::work(std::stop_token stop)
{
    while (true) {
        std::uint64_t key = 0;
        {
            std::unique_lock lock(m_mutex);
            if (!m_queued.wait(lock, stop, [&] { return !m_queue.empty(); }))
                return;
            key = m_queue.front();
            m_queue.pop_front();
            if (m_cache.contains(key))
                continue;
        }
        const int column = static_cast<int>(key & 0xFFFFFFFFu);
        const int row = static_cast<int>(key >> 32);
        if (!tileBlock(column, row))
            continue;
        std::function<void(int, int)> ready;
        {
            std::lock_guard lock(m_mutex);
            ready = m_tileReady;
        }
        if (ready)
            ready(column, row);
    }
}

void VirtualPicture::clearCache()
{
    std::lock_guard lock(m_mutex);
    m_cache.clear();
}

std::size_t VirtualPicture::cachedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_cache.bytes();
}

std::size_t VirtualPicture::cachedTiles() const
{
    std::lock_guard lock(m_mutex);
    return m_cache.count();
}

} // namespace pigmora
