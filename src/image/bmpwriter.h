#pragma once

#include "data/status.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace pigmora {

class PictureBitmap;

// The size of the uncompressed 24-bit bitmap file of a width x height
// picture; none when the format cannot hold it (its size fields have 32
// bits, so a file stays below 4 GiB).
std::optional<std::uint64_t> bitmap24FileSize(int width, int height);

// The 32-bit pixels of rows y .. y + rows - 1 of a picture, as a bitmap of
// the picture's width; the null bitmap when they cannot be had (memory).
using BitmapBand = std::function<PictureBitmap(int y, int rows)>;
// Takes the next bytes of a file; false when they could not be written.
using ByteSink = std::function<bool(const std::uint8_t *bytes, std::size_t size)>;

// Writes an uncompressed 24-bit Windows bitmap (14-byte file header, 40-byte
// info header, rows bottom-up padded to 4 bytes) a band of bandRows rows at a
// time, so the picture never needs to exist whole: the bands are asked for
// from the bottom of the picture up, the order the file holds its rows, and
// the bytes go to write in file order.
Status writeBitmap24Bands(int width, int height, int bandRows, const BitmapBand &band, const ByteSink &write);

} // namespace pigmora
