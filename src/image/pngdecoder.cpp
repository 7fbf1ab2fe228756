// PNG through libpng: every colour type and bit depth, interlaced or not,
// brought to 8-bit blue, green, red by libpng's transforms. Transparency is
// composited over white, as a transparent pixel's own colour means nothing to
// a painter; the fourth byte is always 0. Gamma and colour profile chunks are
// ignored: the stored samples are the colours.

#include "image/decodersupport.h"
#include "image/picturedecoder.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <string>

#include <png.h>

namespace pigmora {

namespace {

// Ceiling for the memory libpng gives one ancillary chunk (text, profile).
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

// Deflate turns one byte into at most about 1032 (a 258-byte match in a
// 2-bit code), so a file of n bytes holds at most this many times n bytes of
// samples; a picture declaring more is refused before its rows are allocated.
constexpr std::int64_t kMaxInflateRatio = 1033;

class PngDecoder
{
public:
    explicit PngDecoder(const DecodeControl *control = nullptr)
        : m_control(control)
    { }
    ~PngDecoder() { png_destroy_read_struct(&m_png, &m_info, nullptr); }
    PngDecoder(const PngDecoder &) = delete;
    PngDecoder &operator=(const PngDecoder &) = delete;

    // False with failure() set when libpng or a check refused the data.
    // Locals of run() live in no scope that spans a libpng call, so the jump
    // back to its setjmp skips no destructor.
    bool run(std::span<const std::uint8_t> bytes);

    const Status &failure() const { return m_failure; }
    DecodedPicture takePicture() { return std::move(m_picture); }

private:
    static void onError(png_structp png, png_const_charp message);
    static void onWarning(png_structp, png_const_charp) { }
    static void readData(png_structp png, png_bytep out, png_size_t length);

    bool refuse(Status status)
    {
        m_failure = std::move(status);
        return false;
    }

    void chooseTransforms();
    bool allocate();
    void compositeOverWhite();

    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    const DecodeControl *m_control;
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    bool m_infoRead = false;
    bool m_hasAlpha = false;
    Status m_failure;
    DecodedPicture m_picture;
    std::vector<png_bytep> m_rows;
};

void PngDecoder::onError(png_structp png, png_const_charp message)
{
    auto *self = static_cast<PngDecoder *>(png_get_error_ptr(png));
    // A reason already set (the data ran out) is the more precise one.
    if (self->m_failure)
        self->m_failure = decoder::damaged(std::string("PNG 数据无法解码（") + message + "）");
    png_longjmp(png, 1);
}

void PngDecoder::readData(png_structp png, png_bytep out, png_size_t length)
{
    auto *self = static_cast<PngDecoder *>(png_get_io_ptr(png));
    if (length > self->m_bytes.size() - self->m_position) {
        self->m_failure = self->m_infoRead ? decoder::truncated() : decoder::damaged("文件头不完整");
        png_error(png, "truncated");
    }
    std::memcpy(out, self->m_bytes.data() + self->m_position, length);
    self->m_position += length;
}

// Every colour type and depth to 8-bit blue, green, red plus a fourth byte:
// alpha where the source has transparency, 0 otherwise.
void PngDecoder::chooseTransforms()
{
    const png_byte colorType = png_get_color_type(m_png, m_info);
    m_hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(m_png, m_info, PNG_INFO_tRNS) != 0;
    png_set_expand(m_png); // palette to RGB, gray below 8 bits to 8, tRNS to alpha
    if (png_get_bit_depth(m_png, m_info) == 16)
        png_set_scale_16(m_png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(m_png);
    if (!m_hasAlpha)
        png_set_filler(m_png, 0, PNG_FILLER_AFTER);
    png_set_bgr(m_png);
    png_set_interlace_handling(m_png);
    png_read_update_info(m_png, m_info);
}

// The picture, whose rows libpng fills directly.
bool PngDecoder::allocate()
{
    Result<DecodedPicture> picture
        = decoder::allocatePicture(png_get_image_width(m_png, m_info), png_get_image_height(m_png, m_info));
    if (!picture)
        return refuse(picture.status());
    m_picture = std::move(picture).value();
    try {
        m_rows.resize(static_cast<std::size_t>(m_picture.height));
    } catch (const std::bad_alloc &) {
        return refuse(Status::error("内存不足，无法载入图像"));
    }
    for (int y = 0; y < m_picture.height; ++y)
        m_rows[static_cast<std::size_t>(y)] = decoder::rowOf(m_picture, y);
    return true;
}

void PngDecoder::compositeOverWhite()
{
    for (std::size_t i = 0; i < m_picture.pixels.size(); i += 4) {
        std::uint8_t *p = &m_picture.pixels[i];
        const unsigned alpha = p[3];
        const unsigned white = 255 * (255 - alpha);
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<std::uint8_t>((p[c] * alpha + white + 127) / 255);
        p[3] = 0;
    }
}

bool PngDecoder::run(std::span<const std::uint8_t> bytes)
{
    m_bytes = bytes;
    m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
    if (m_png)
        m_info = png_create_info_struct(m_png);
    if (!m_png || !m_info)
        return refuse(Status::error("内存不足，无法载入图像"));
    if (setjmp(png_jmpbuf(m_png)))
        return false;

    png_set_read_fn(m_png, this, readData);
    png_set_chunk_malloc_max(m_png, kMaxChunkBytes);
#ifdef PIGMORA_FUZZING
    // Let mutated inputs past the checksums into the chunk and pixel parsing.
    png_set_crc_action(m_png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    png_read_info(m_png, m_info);
    m_infoRead = true;
    const std::int64_t width = png_get_image_width(m_png, m_info);
    const std::int64_t height = png_get_image_height(m_png, m_info);
    if (Status size = decoder::checkPictureSize(width, height); !size)
        return refuse(std::move(size));
    const std::int64_t sampleBits = std::int64_t{png_get_channels(m_png, m_info)} * png_get_bit_depth(m_png, m_info);
    if ((width * height * sampleBits + 7) / 8 > kMaxInflateRatio * static_cast<std::int64_t>(bytes.size()))
        return refuse(decoder::truncated());

    chooseTransforms();
    if (png_get_rowbytes(m_png, m_info) != static_cast<png_size_t>(width) * 4)
        return refuse(decoder::unsupported("PNG 像素格式"));
    if (!allocate())
        return false;
    // Row by row (each pass of an interlaced picture), so that a stop is
    // heard and progress can be told.
    const int passes = png_get_interlace_type(m_png, m_info) == PNG_INTERLACE_ADAM7 ? 7 : 1;
    const int total = passes * m_picture.height;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < m_picture.height; ++y) {
            png_read_row(m_png, m_rows[static_cast<std::size_t>(y)], nullptr);
            if (m_control) {
                if (m_control->stopRequested())
                    return refuse(decodeCancelled());
                m_control->rowsDone(pass * m_picture.height + y + 1, total);
            }
        }
    }
    // Chunks after the pixel data are not needed, so they are not read.
    if (m_hasAlpha)
        compositeOverWhite();
    return true;
}

} // namespace

Result<DecodedPicture> decodePng(std::span<const std::uint8_t> bytes, const DecodeControl *control)
{
    PngDecoder decoder(control);
    if (!decoder.run(bytes))
        return decoder.failure();
    return decoder.takePicture();
}

} // namespace pigmora
