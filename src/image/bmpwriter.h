#pragma once

#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pigmora {

class PictureBitmap;

// An uncompressed 24-bit Windows bitmap of a 32-bit picture: 14-byte file
// header, 40-byte info header, rows bottom-up padded to 4 bytes.
std::vector<std::uint8_t> encodeBitmap24(const PictureBitmap &bitmap);
Status writeBitmap24(const PictureBitmap &bitmap, const std::filesystem::path &path);

} // namespace pigmora
