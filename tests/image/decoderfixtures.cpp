#include "image/decoderfixtures.h"

#include "support/testsupport.h"

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace pigmora::test {

namespace {

void put16(Bytes &b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

std::size_t paddedRowBytes(int width, int bits)
{
    return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

} // namespace

DecodedPicture blankPicture(int width, int height, Bgrx fill)
{
    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < width * height; ++i)
        picture.pixels.insert(picture.pixels.end(), fill.begin(), fill.end());
    return picture;
}

Bgrx pixelAt(const DecodedPicture &picture, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + x) * 4;
    return {picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2], picture.pixels[at + 3]};
}

void setPixel(DecodedPicture &picture, int x, int y, Bgrx value)
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + x) * 4;
    std::memcpy(&picture.pixels[at], value.data(), 4);
}

Result<DecodedPicture> decodeAs(std::string_view kind, std::string_view name, std::span<const std::uint8_t> bytes)
{
    if (const char *corpus = std::getenv("PIGMORA_FUZZ_CORPUS"); corpus && *corpus && !name.empty()) {
        const std::filesystem::path folder = std::filesystem::path(corpus) / kind;
        std::filesystem::create_directories(folder);
        writeFileBytes(folder / (std::string(name) + "." + std::string(kind)), {bytes.begin(), bytes.end()});
    }
    if (kind == "bmp")
        return decodeBitmap(bytes);
    if (kind == "jpeg")
        return decodeJpeg(bytes);
    if (kind == "png")
        return decodePng(bytes);
    throw std::invalid_argument("unknown picture kind");
}

Bytes cut(Bytes file, std::size_t size)
{
    file.resize(size);
    return file;
}

void expectEveryPrefixHandled(std::string_view kind, const Bytes &file, std::size_t step)
{
    for (std::size_t size = 0; size < file.size(); size += step) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        const Result<DecodedPicture> picture = decodeAs(kind, {}, prefix);
        if (!picture) {
            EXPECT_FALSE(picture.message().empty()) << size;
        } else {
            EXPECT_EQ(picture->pixels.size(), static_cast<std::size_t>(picture->width) * picture->height * 4) << size;
        }
    }
}

void PrintTo(const ExactFile &file, std::ostream *os)
{
    *os << file.kind << " " << file.name;
}

void PrintTo(const DamagedFile &file, std::ostream *os)
{
    *os << file.kind << " " << file.name;
}

// ---- Bitmaps ----

Bytes buildBmp(const BmpLayout &layout)
{
    const bool core = layout.headerSize == 12;
    const bool bitFields = layout.compression == 3;
    const std::size_t masksAfterHeader = bitFields && layout.headerSize == 40 ? 12 : 0;
    const std::size_t entryBytes = core ? 3 : 4;
    const std::size_t paletteAt = 14 + layout.headerSize + masksAfterHeader;
    const std::size_t dataAt = paletteAt + layout.palette.size() * entryBytes;

    Bytes b(dataAt);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(dataAt + layout.pixelData.size()));
    put32(b, 10, layout.pixelOffset.value_or(static_cast<std::uint32_t>(dataAt)));
    put32(b, 14, layout.headerSize);
    if (core) {
        put16(b, 18, static_cast<std::uint32_t>(layout.width));
        put16(b, 20, static_cast<std::uint32_t>(layout.height));
        put16(b, 22, 1);
        put16(b, 24, layout.bitCount);
    } else {
        put32(b, 18, static_cast<std::uint32_t>(layout.width));
        put32(b, 22, static_cast<std::uint32_t>(layout.height));
        put16(b, 26, 1);
        put16(b, 28, layout.bitCount);
        put32(b, 30, layout.compression);
        put32(b, 34, static_cast<std::uint32_t>(layout.pixelData.size()));
        put32(b, 38, 2835);
        put32(b, 42, 2835);
        put32(b, 46, layout.colorsUsed);
        if (layout.headerSize >= 52 || masksAfterHeader)
            for (std::size_t i = 0; i < 3; ++i)
                put32(b, 54 + 4 * i, layout.masks[i]);
    }
    for (std::size_t i = 0; i < layout.palette.size(); ++i)
        std::memcpy(&b[paletteAt + i * entryBytes], layout.palette[i].data(), entryBytes);
    b.insert(b.end(), layout.pixelData.begin(), layout.pixelData.end());
    return b;
}

Bytes packIndexRows(const std::vector<int> &indexes, int width, int height, int bits, bool topDown)
{
    const std::size_t rowBytes = paddedRowBytes(width, bits);
    Bytes data(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            const auto index = static_cast<unsigned>(indexes[static_cast<std::size_t>(y * width + x)]);
            data[row * rowBytes + static_cast<std::size_t>(bit / 8)]
                |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return data;
}

Bytes packValueRows(const std::vector<std::uint32_t> &values, int width, int height, int bits, bool topDown)
{
    const std::size_t rowBytes = paddedRowBytes(width, bits);
    const int pixelBytes = bits / 8;
    Bytes data(rowBytes * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < pixelBytes; ++i)
                data[row * rowBytes + static_cast<std::size_t>(x * pixelBytes + i)]
                    = static_cast<std::uint8_t>(values[static_cast<std::size_t>(y * width + x)] >> (8 * i));
    }
    return data;
}

// ---- JPEG ----

Bytes encodeJpeg(const JpegLayout &layout)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);

    c.image_width = static_cast<JDIMENSION>(layout.width);
    c.image_height = static_cast<JDIMENSION>(layout.height);
    const bool cmyk = layout.space == JpegSpace::Cmyk || layout.space == JpegSpace::Ycck;
    c.input_components = cmyk ? 4 : layout.space == JpegSpace::Gray ? 1 : 3;
    c.in_color_space = cmyk ? JCS_CMYK : layout.space == JpegSpace::Gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    if (layout.space == JpegSpace::Ycck)
        jpeg_set_colorspace(&c, JCS_YCCK);
    if (cmyk)
        c.write_Adobe_marker = layout.adobeMarker ? TRUE : FALSE;
    jpeg_set_quality(&c, 100, TRUE);
    for (int i = 0; i < c.num_components; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    if (layout.progressive)
        jpeg_simple_progression(&c);

    jpeg_start_compress(&c, TRUE);
    if (layout.app1)
        jpeg_write_marker(&c, JPEG_APP0 + 1, layout.app1->data(), static_cast<unsigned>(layout.app1->size()));
    const std::size_t stride = static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(c.input_components);
    while (c.next_scanline < c.image_height) {
        auto *row = const_cast<JSAMPLE *>(layout.samples.data() + c.next_scanline * stride);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes exifOrientationBlock(int orientation, bool bigEndian)
{
    Bytes tiff = {'E', 'x', 'i', 'f', 0, 0};
    const auto u16 = [&](unsigned v) {
        const std::uint8_t lo = static_cast<std::uint8_t>(v), hi = static_cast<std::uint8_t>(v >> 8);
        tiff.insert(tiff.end(),
                    bigEndian ? std::initializer_list<std::uint8_t>{hi, lo}
                              : std::initializer_list<std::uint8_t>{lo, hi});
    };
    const auto u32 = [&](std::uint32_t v) {
        u16(bigEndian ? v >> 16 : v & 0xFFFF);
        u16(bigEndian ? v & 0xFFFF : v >> 16);
    };
    tiff.push_back(bigEndian ? 'M' : 'I');
    tiff.push_back(bigEndian ? 'M' : 'I');
    u16(42);
    u32(8); // IFD0 right after the header
    u16(1); // one entry
    u16(0x0112);
    u16(3); // SHORT
    u32(1);
    u16(static_cast<unsigned>(orientation));
    u16(0); // rest of the value field
    u32(0); // no next IFD
    return tiff;
}

// ---- PNG ----

Bytes encodePng(const PngLayout &layout)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out;
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto *target = static_cast<Bytes *>(png_get_io_ptr(p));
            target->insert(target->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width), static_cast<png_uint_32>(layout.height),
                 layout.bitDepth, layout.colorType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const auto &c : layout.palette)
        palette.push_back({c[0], c[1], c[2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 transparent{};
    if (layout.transparentColor) {
        transparent.gray = (*layout.transparentColor)[0];
        transparent.red = (*layout.transparentColor)[0];
        transparent.green = (*layout.transparentColor)[1];
        transparent.blue = (*layout.transparentColor)[2];
    }
    if (!layout.paletteAlpha.empty() || layout.transparentColor)
        png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), &transparent);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const Bytes &row : layout.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void fixPngChunkCrc(Bytes &png, std::size_t offset)
{
    const std::uint32_t length = static_cast<std::uint32_t>(png[offset]) << 24 | png[offset + 1] << 16
        | png[offset + 2] << 8 | png[offset + 3];
    const uLong crc = crc32(0, &png[offset + 4], length + 4);
    for (int i = 0; i < 4; ++i)
        png[offset + 8 + length + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

} // namespace pigmora::test
