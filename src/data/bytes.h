#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

// Explicit little-endian access to fixed byte layouts (records, file headers,
// directory entries). The layouts are a file format, so they are never
// described by struct packing.
namespace pigmora::le {

inline std::int32_t readI32(const std::uint8_t *p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
                                     | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

inline void writeI32(std::uint8_t *p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::uint32_t readU32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(readI32(p));
}

inline std::uint16_t readU16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline void writeU16(std::uint8_t *p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline float readF32(const std::uint8_t *p)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(readI32(p)));
}

inline void writeF32(std::uint8_t *p, float value)
{
    writeI32(p, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
}

// A NUL-padded text field: the bytes up to the first NUL or the field's end.
inline std::string_view readText(const std::uint8_t *p, std::size_t width)
{
    const auto *chars = reinterpret_cast<const char *>(p);
    const void *nul = std::memchr(chars, 0, width);
    return {chars, nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - chars) : width};
}

// Fills the field with text (at most width bytes, the caller has cut it on a
// character boundary) and NUL padding.
inline void writeText(std::uint8_t *p, std::size_t width, std::string_view text)
{
    const std::size_t n = text.size() < width ? text.size() : width;
    std::memcpy(p, text.data(), n);
    std::memset(p + n, 0, width - n);
}

// strcmp over two NUL-padded fields of the same width, as unsigned bytes;
// -1, 0 or +1.
inline int compareText(const std::uint8_t *a, const std::uint8_t *b, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
        if (a[i] == 0)
            return 0;
    }
    return 0;
}

} // namespace pigmora::le
