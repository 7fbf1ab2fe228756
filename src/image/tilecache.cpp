#include "image/tilecache.h"

namespace pigmora {

std::shared_ptr<const PictureBlock> TileCache::find(std::uint64_t key)
{
    const auto found = m_index.find(key);
    if (found == m_index.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second->second;
}

void TileCache::store(std::uint64_t key, std::shared_ptr<const PictureBlock> tile)
{
    if (!tile)
        return;
    if (const auto found = m_index.find(key); found != m_index.end())
        drop(found->second);
    m_bytes += tile->pixelBytes();
    m_entries.emplace_front(key, std::move(tile));
    m_index.emplace(key, m_entries.begin());
    while (m_bytes > m_budget && m_entries.size() > 1)
        drop(std::prev(m_entries.end()));
}

void TileCache::clear()
{
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
}

void TileCache::drop(std::list<Entry>::iterator entry)
{
    m_bytes -= entry->second->pixelBytes();
    m_index.erase(entry->first);
    m_entries.erase(entry);
}

} // namespace pigmora
