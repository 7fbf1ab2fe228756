#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>

namespace pigmora {

// A growable block of equally sized records kept in the order of a compare
// function. Records are copied in and out by value; nobody keeps pointers
// into the block. Order and uniqueness hold only for arrays filled through
// insertSorted; insertAt, setAt and assign copy whatever they are given.
class DCArray
{
public:
    // Negative, zero or positive as the key sorts before, equal to or after
    // the element.
    using CompareFunction = int (*)(const void *key, const void *element);

    static constexpr int kGrowthStep = 16;

    DCArray(std::uint32_t recordSize, CompareFunction compare);
    virtual ~DCArray();

    DCArray(const DCArray &) = delete;
    DCArray &operator=(const DCArray &) = delete;

    bool get(int index, void *out) const;
    int find(const void *key) const;
    int insertionPoint(const void *key) const;
    int insertSorted(const void *record);
    bool removeByKey(const void *key);
    bool insertAt(int index, const void *record);
    bool removeAt(int index);
    bool setAt(int index, const void *record);
    void clear();
    void reserve(int n);
    bool assign(int n, const void *data);
    void copyAll(void *out) const;
    int byteSize() const { return m_count * static_cast<int>(m_recordSize); }

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    std::uint32_t recordSize() const { return m_recordSize; }

    // Read-only view of the records in order, for tight loops that must not
    // copy every record (the solver, the stores' writers).
    const std::byte *data() const { return m_records.get(); }
    // The count records as they lie in the block (what the data files store).
    std::span<const std::uint8_t> bytes() const
    {
        return {reinterpret_cast<const std::uint8_t *>(m_records.get()), static_cast<std::size_t>(byteSize())};
    }

    // Typed conveniences for records that are exactly recordSize bytes.
    template<typename T>
    bool getAs(int index, T &out) const
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return sizeof(T) == m_recordSize && get(index, &out);
    }
    // The records in order as T, which must be exactly recordSize bytes.
    template<typename T>
    std::span<const T> recordsAs() const
    {
        static_assert(std::is_trivially_copyable_v<T> && alignof(T) == 1);
        if (sizeof(T) != m_recordSize || m_count == 0)
            return {};
        return {reinterpret_cast<const T *>(m_records.get()), static_cast<std::size_t>(m_count)};
    }
    template<typename T>
    T at(int index) const
    {
        T out{};
        getAs(index, out);
        return out;
    }

private:
    // Resizes the block to newCapacity records, keeping the first count.
    // False (nothing changed) when the memory cannot be obtained.
    bool resizeBlock(int newCapacity);
    // Copies record in at index, moving the later records up.
    bool insertRecord(int index, const void *record);
    const std::byte *recordPtr(int index) const
    {
        return m_records.get() + static_cast<std::size_t>(index) * m_recordSize;
    }
    std::byte *recordPtr(int index) { return m_records.get() + static_cast<std::size_t>(index) * m_recordSize; }

    std::unique_ptr<std::byte[]> m_records;
    int m_count = 0;
    int m_capacity = 0;
    std::uint32_t m_recordSize;
    CompareFunction m_compare;
    int m_growthStep = kGrowthStep;
    // Filled only through insertSorted and removals (or setAt with an equal
    // key): strictly in order, so a record after the last one appends.
    bool m_ordered = true;
};

} // namespace pigmora
