#include "data/dcarray.h"

#include <cstring>
#include <new>

namespace pigmora {

DCArray::DCArray(std::uint32_t recordSize, CompareFunction compare)
    : m_recordSize(recordSize)
    , m_compare(compare)
{ }

DCArray::~DCArray() = default;

bool DCArray::get(int index, void *out) const
{
    if (!out || index < 0 || index >= m_count)
        return false;
    std::memcpy(out, recordPtr(index), m_recordSize);
    return true;
}

int DCArray::find(const void *key) const
{
    int lo = 0;
    int hi = m_count - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = m_compare(key, recordPtr(mid));
        if (c == 0)
            return mid;
        if (c < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return -1;
}

int DCArray::insertionPoint(const void *key) const
{
    if (m_count == 0)
        return 0;
    // Records given in order (a file read back, a sorted list) each sort
    // after the last: one comparison instead of a search. Only for an array
    // known to be in order, where the search would give the same answer.
    if (m_ordered && m_compare(key, recordPtr(m_count - 1)) > 0)
        return m_count;
    int lo = 0;
    int hi = m_count - 1;
    int n = 0;
    int c = 0;
    while (lo <= hi) {
        n = (lo + hi) / 2;
        c = m_compare(key, recordPtr(n));
        if (c == 0)
            return -1;
        if (c < 0)
            hi = n - 1;
        else
            lo = n + 1;
    }
    if (c > 0) {
        // The key sorts after record n: the first later record that sorts
        // after the key, or the end.
        int p = n;
        while (p < m_count && m_compare(key, recordPtr(p)) >= 0)
            ++p;
        return p;
    }
    while (n > 0 && m_compare(key, recordPtr(n - 1)) < 0)
        --n;
    return n;
}

int DCArray::insertSorted(const void *record)
{
    const int p = insertionPoint(record);
    if (p < 0 || !insertRecord(p, record))
        return -1;
    return p;
}

bool DCArray::removeByKey(const void *key)
{
    const int index = find(key);
    return index >= 0 && removeAt(index);
}

bool DCArray::insertAt(int index, const void *record)
{
    if (!record || index < 0 || index > m_count)
        return false;
    m_ordered = false;
    return insertRecord(index, record);
}

bool DCArray::insertRecord(int index, const void *record)
{
    if (m_count >= m_capacity && !resizeBlock(m_count + m_growthStep))
        return false;
    std::byte *slot = recordPtr(index);
    std::memmove(slot + m_recordSize, slot, static_cast<std::size_t>(m_count - index) * m_recordSize);
    std::memcpy(slot, record, m_recordSize);
    ++m_count;
    return true;
}

bool DCArray::removeAt(int index)
{
    if (index < 0 || index >= m_count)
        return false;
    std::byte *slot = recordPtr(index);
    std::memmove(slot, slot + m_recordSize, static_cast<std::size_t>(m_count - index - 1) * m_recordSize);
    --m_count;
    if (m_count + m_growthStep < m_capacity)
        resizeBlock(m_count + m_growthStep); // a failed shrink keeps the larger block
    return true;
}

bool DCArray::setAt(int index, const void *record)
{
    if (!record || index < 0 || index >= m_count)
        return false;
    m_ordered = m_ordered && m_compare(record, recordPtr(index)) == 0;
    std::memcpy(recordPtr(index), record, m_recordSize);
    return true;
}

void DCArray::clear()
{
    m_count = 0;
    m_ordered = true;
    if (!resizeBlock(m_growthStep)) {
        m_records.reset();
        m_capacity = 0;
    }
}

void DCArray::reserve(int n)
{
    if (m_capacity < n)
        resizeBlock(n);
}

bool DCArray::assign(int n, const void *data)
{
    clear();
    if (n <= 0)
        return n == 0;
    if (!data)
        return false;
    reserve(n);
    if (m_capacity < n)
        return false;
    std::memcpy(m_records.get(), data, static_cast<std::size_t>(n) * m_recordSize);
    m_count = n;
    m_ordered = n == 1;
    return true;
}

void DCArray::copyAll(void *out) const
{
    if (out && m_count > 0)
        std::memcpy(out, m_records.get(), static_cast<std::size_t>(m_count) * m_recordSize);
}

bool DCArray::resizeBlock(int newCapacity)
{
    if (newCapacity < m_count)
        return false;
    std::unique_ptr<std::byte[]> block(new (std::nothrow)
                                           std::byte[static_cast<std::size_t>(newCapacity) * m_recordSize]);
    if (!block && newCapacity > 0)
        return false;
    if (m_count > 0)
        std::memcpy(block.get(), m_records.get(), static_cast<std::size_t>(m_count) * m_recordSize);
    m_records = std::move(block);
    m_capacity = newCapacity;
    return true;
}

} // namespace pigmora
