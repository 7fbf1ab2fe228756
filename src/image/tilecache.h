#pragma once

#include "image/pictureblock.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>

namespace pigmora {

// The memory all cached tiles of one virtual picture may take together.
inline constexpr std::size_t kTileCacheBudget = std::size_t{256} << 20;

// Computed tiles by key, the least recently used dropped first once their
// bytes exceed the budget (the tile just stored always stays). Not
// thread-safe on its own: the virtual picture locks around it. A dropped
// tile lives on in any bitmap still holding it.
class TileCache
{
public:
    explicit TileCache(std::size_t budget)
        : m_budget(budget)
    { }

    // The tile, now the most recently used; null when not cached.
    std::shared_ptr<const PictureBlock> find(std::uint64_t key);
    // Stores (or replaces) a tile and drops old ones over the budget.
    void store(std::uint64_t key, std::shared_ptr<const PictureBlock> tile);
    bool contains(std::uint64_t key) const { return m_index.contains(key); }
    void clear();

    std::size_t bytes() const { return m_bytes; }
    std::size_t count() const { return m_entries.size(); }
    std::size_t budget() const { return m_budget; }

private:
    using Entry = std::pair<std::uint64_t, std::shared_ptr<const PictureBlock>>;
    void drop(std::list<Entry>::iterator entry);

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<std::uint64_t, std::list<Entry>::iterator> m_index;
};

} // namespace pigmora
