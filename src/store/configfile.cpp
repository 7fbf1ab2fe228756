#include "data/bytes.h"
#include "store/tablefile.h"

#include <climits>

// The section format of "QorConfig.bin": per item, the item length (key
// length + value length + 8), the key length, the key bytes, the value length
// and the value bytes, all integers int32 little-endian.
namespace pigmora {

namespace {

// Reads one length field and the bytes it announces; false when the data
// runs out or the length is impossible.
bool takeField(const std::uint8_t *&cursor, long long &remaining, std::string &out)
{
    if (remaining < 4)
        return false;
    const std::int32_t length = le::readI32(cursor);
    cursor += 4;
    remaining -= 4;
    if (length < 0 || length > remaining)
        return false;
    out.assign(reinterpret_cast<const char *>(cursor), static_cast<std::size_t>(length));
    cursor += length;
    remaining -= length;
    return true;
}

void appendI32(std::vector<std::uint8_t> &out, std::int32_t value)
{
    std::uint8_t bytes[4];
    le::writeI32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

} // namespace

bool CConfigFile::readItems(std::string_view section, ConfigItemList &list)
{
    const int length = entryLength(section);
    if (length < 0)
        return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length) + 1);
    int itemCount = 0;
    int read = length;
    if (!readEntry(section, itemCount, buffer.data(), read))
        return false;

    const std::uint8_t *cursor = buffer.data();
    long long remaining = read;
    for (int i = 0; i < itemCount; ++i) {
        if (remaining < 4)
            return false;
        cursor += 4; // the item length is not needed to parse
        remaining -= 4;
        ConfigItem item;
        if (!takeField(cursor, remaining, item.key) || !takeField(cursor, remaining, item.value))
            return false;
        list.push_back(std::move(item));
    }
    return true;
}

bool CConfigFile::writeItems(std::string_view section, const ConfigItemList &list)
{
    long long total = 0;
    for (const ConfigItem &item : list)
        total += static_cast<long long>(item.key.size()) + static_cast<long long>(item.value.size()) + 12;
    if (total > INT_MAX || list.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(total));
    for (const ConfigItem &item : list) {
        const auto keyLength = static_cast<std::int32_t>(item.key.size());
        const auto valueLength = static_cast<std::int32_t>(item.value.size());
        appendI32(data, keyLength + valueLength + 8);
        appendI32(data, keyLength);
        data.insert(data.end(), item.key.begin(), item.key.end());
        appendI32(data, valueLength);
        data.insert(data.end(), item.value.begin(), item.value.end());
    }
    return writeEntry(section, static_cast<int>(list.size()), data, 0);
}

} // namespace pigmora
