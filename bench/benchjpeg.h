#pragma once

// JPEG files made from 32-bit rows with libjpeg, for the benchmarks that
// decode or sample photographs as a camera delivers them.

#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace pigmora::bench {

inline std::vector<std::uint8_t> encodeJpeg(const std::vector<std::uint8_t> &bgrx, int width, int height,
                                            int quality = 90)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (c.next_scanline < c.image_height) {
        const std::uint8_t *in = bgrx.data() + static_cast<std::size_t>(c.next_scanline) * width * 4;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = in[4 * x + 2];
            row[3 * x + 1] = in[4 * x + 1];
            row[3 * x + 2] = in[4 * x];
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

} // namespace pigmora::bench
