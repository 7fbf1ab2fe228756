// JPEG through libjpeg with its default decoding (islow IDCT, fancy
// upsampling): baseline, progressive, grayscale, RGB, CMYK and YCCK.

#include "image/decodersupport.h"
#include "image/exiforientation.h"
#include "image/picturedecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <new>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace pigmora {

namespace {

// libjpeg's own working memory (a progressive picture keeps all of its
// coefficients) may not grow past this; beyond it the picture is refused.
constexpr long kMaxWorkingMemory = 1L << 30;

// Real progressive files have a dozen scans; a hostile one could have
// thousands, each a pass over the whole picture.
constexpr int kMaxScans = 500;

// The orientation (1 to 8) of the first EXIF block, 1 when there is none.
int exifOrientation(jpeg_saved_marker_ptr marker)
{
    for (; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1)
            if (const int orientation = exif::orientationOf({marker->data, marker->data_length}))
                return orientation;
    return 1;
}

// ---- Decoding ----

// Serves the file's bytes, then one end-of-image marker of its own without
// complaint: a file that lacks only its end marker is complete. Asked for
// more after that, the data has really run out.
struct MemorySource {
    jpeg_source_mgr pub;
    bool endServed;

    static constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

    void attach(j_decompress_ptr cinfo, std::span<const std::uint8_t> bytes)
    {
        pub.next_input_byte = bytes.data();
        pub.bytes_in_buffer = bytes.size();
        pub.init_source = [](j_decompress_ptr) {};
        pub.fill_input_buffer = fill;
        pub.skip_input_data = skip;
        pub.resync_to_restart = jpeg_resync_to_restart;
        pub.term_source = [](j_decompress_ptr) {};
        endServed = false;
        cinfo->src = &pub;
    }

    static boolean fill(j_decompress_ptr cinfo)
    {
        auto *self = reinterpret_cast<MemorySource *>(cinfo->src);
        if (self->endServed)
            WARNMS(cinfo, JWRN_JPEG_EOF);
        self->endServed = true;
        self->pub.next_input_byte = kEndOfImage;
        self->pub.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }

    static void skip(j_decompress_ptr cinfo, long count)
    {
        jpeg_source_mgr &src = *cinfo->src;
        while (count > static_cast<long>(src.bytes_in_buffer)) {
            count -= static_cast<long>(src.bytes_in_buffer);
            fill(cinfo);
        }
        if (count > 0) {
            src.next_input_byte += count;
            src.bytes_in_buffer -= static_cast<std::size_t>(count);
        }
    }
};

enum class SampleKind { Gray, Rgb, Cmyk };

class JpegDecoder
{
public:
    // A decoder of the whole picture, or with previewScale 8 of 1/8 of it.
    explicit JpegDecoder(const DecodeControl *control = nullptr, int previewScale = 1)
        : m_control(control)
        , m_previewScale(previewScale)
    { }
    ~JpegDecoder() { jpeg_destroy_decompress(&m_cinfo); }
    JpegDecoder(const JpegDecoder &) = delete;
    JpegDecoder &operator=(const JpegDecoder &) = delete;

    // False with failure() set when libjpeg or a check refused the data.
    // Locals of run() live in no scope that spans a libjpeg call, so the
    // jump back to its setjmp skips no destructor.
    bool run(std::span<const std::uint8_t> bytes);

    const Status &failure() const { return m_failure; }
    DecodedPicture takePicture() { return std::move(m_picture); }
    // The upright size of the whole picture (known once the header is read).
    std::int64_t fullWidth() const
    {
        return exif::Placement(m_orientation, m_cinfo.image_width, m_cinfo.image_height).outWidth();
    }
    std::int64_t fullHeight() const
    {
        return exif::Placement(m_orientation, m_cinfo.image_width, m_cinfo.image_height).outHeight();
    }

private:
    struct ErrorManager {
        jpeg_error_mgr pub;
        JpegDecoder *owner;
    };

    static JpegDecoder &of(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager *>(cinfo->err)->owner; }
    static void onError(j_common_ptr cinfo);
    static void onMessage(j_common_ptr cinfo, int level);
    static void onProgress(j_common_ptr cinfo);

    // Leaves libjpeg for the setjmp in run() with the reason set. No object
    // with a destructor may be alive in the frames this unwinds.
    [[noreturn]] void jump() { std::longjmp(m_jump, 1); }

    // A refusal found by run() itself, outside libjpeg.
    bool refuse(Status status)
    {
        m_failure = std::move(status);
        return false;
    }

    Status missingData() const { return m_headerRead ? decoder::truncated() : decoder::damaged("文件头不完整"); }
    // Whether a sequential Huffman-coded file of this size can hold all of its
    // blocks: each takes at least 2 bits (a DC code and an end-of-block
    // code), so a file claiming more blocks than 4 a byte is cut short.
    // Progressive and arithmetic coding can code blocks in less: not bounded.
    bool holdsEveryBlock(std::size_t fileBytes) const;
    bool chooseOutput();
    bool allocate();
    void placeRow(const std::uint8_t *source, std::int64_t y);

    const DecodeControl *m_control;
    int m_previewScale;
    int m_orientation = 1;
    jpeg_decompress_struct m_cinfo{};
    ErrorManager m_error{};
    MemorySource m_source{};
    jpeg_progress_mgr m_progress{};
    std::jmp_buf m_jump{};
    Status m_failure;

    bool m_headerRead = false;
    SampleKind m_kind = SampleKind::Rgb;
    int m_components = 3;
    bool m_invertedCmyk = false;
    exif::Placement m_placement{1, 0, 0};
    DecodedPicture m_picture;
    std::vector<std::uint8_t> m_row;
};

Status describeError(j_common_ptr cinfo)
{
    const int code = cinfo->err->msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE)
        return Status::error("内存不足，无法载入图像");
    if (code == JERR_IMAGE_TOO_BIG || code == JERR_EMPTY_IMAGE) {
        const auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (Status size = decoder::checkPictureSize(d->image_width, d->image_height); !size)
            return size;
    }
    char text[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, text);
    return decoder::damaged(std::string("JPEG 数据无法解码（") + text + "）");
}

void JpegDecoder::onError(j_common_ptr cinfo)
{
    JpegDecoder &self = of(cinfo);
    // Once the data has run out, any refusal is due to the cut.
    self.m_failure = self.m_source.endServed ? self.missingData() : describeError(cinfo);
    self.jump();
}

// Most warnings about damaged data are ignored (libjpeg goes on with what it
// can read), but not missing data, which libjpeg would fill with invented
// pixels: the file ended, or a scan ended before its last block.
void JpegDecoder::onMessage(j_common_ptr cinfo, int level)
{
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        JpegDecoder &self = of(cinfo);
        self.m_failure = self.missingData();
        self.jump();
    }
}

void JpegDecoder::onProgress(j_common_ptr cinfo)
{
    JpegDecoder &self = of(cinfo);
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        self.m_failure = decoder::damaged("JPEG 扫描段过多");
        self.jump();
    }
    // A progressive picture is read whole before its first row comes out.
    if (self.m_control && self.m_control->stopRequested()) {
        self.m_failure = decodeCancelled();
        self.jump();
    }
}

bool JpegDecoder::holdsEveryBlock(std::size_t fileBytes) const
{
    if (m_cinfo.progressive_mode || m_cinfo.arith_code)
        return true;
    std::int64_t blocks = 0;
    for (int c = 0; c < m_cinfo.num_components; ++c)
        blocks += std::int64_t{m_cinfo.comp_info[c].width_in_blocks} * m_cinfo.comp_info[c].height_in_blocks;
    return blocks <= 4 * static_cast<std::int64_t>(fileBytes);
}

// libjpeg converts YCbCr and RGB to RGB and keeps grayscale as it is; CMYK
// and YCCK arrive as CMYK and are converted here.
bool JpegDecoder::chooseOutput()
{
    switch (m_cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        m_kind = SampleKind::Gray;
        m_cinfo.out_color_space = JCS_GRAYSCALE;
        m_components = 1;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        m_kind = SampleKind::Cmyk;
        m_cinfo.out_color_space = JCS_CMYK;
        m_components = 4;
        // Files with an Adobe marker store CMYK inverted (0 = full ink).
        m_invertedCmyk = m_cinfo.saw_Adobe_marker;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        m_kind = SampleKind::Rgb;
        m_cinfo.out_color_space = JCS_RGB;
        m_components = 3;
        break;
    default:
        return refuse(decoder::unsupported("JPEG 颜色空间（" + std::to_string(m_cinfo.num_components) + " 个分量）"));
    }
    return true;
}

// The oriented picture, and a row buffer unless rows are decoded in place.
bool JpegDecoder::allocate()
{
    m_placement = exif::Placement(m_orientation, m_cinfo.output_width, m_cinfo.output_height);
    Result<DecodedPicture> picture = decoder::allocatePicture(m_placement.outWidth(), m_placement.outHeight());
    if (!picture)
        return refuse(picture.status());
    m_picture = std::move(picture).value();
    try {
        if (!m_placement.isUpright())
            m_row.resize(static_cast<std::size_t>(m_cinfo.output_width) * 4);
    } catch (const std::bad_alloc &) {
        return refuse(Status::error("内存不足，无法载入图像"));
    }
    return true;
}

// Converts one decoded row to blue, green, red, 0 and puts it in place. The
// source may lie inside its own target row (see run()): each pixel is read
// completely before it is written, and never overwrites a pixel still to come.
void JpegDecoder::placeRow(const std::uint8_t *source, std::int64_t y)
{
    std::uint8_t *pixels = m_picture.pixels.data();
    std::int64_t index = m_placement.first(y);
    const std::int64_t step = m_placement.step();
    const std::uint32_t width = m_cinfo.output_width;
    for (std::uint32_t x = 0; x < width; ++x, index += step) {
        std::uint8_t blue, green, red;
        if (m_kind == SampleKind::Gray) {
            blue = green = red = source[x];
        } else if (m_kind == SampleKind::Rgb) {
            red = source[3 * x];
            green = source[3 * x + 1];
            blue = source[3 * x + 2];
        } else {
            // Ink amounts to light: each channel is the paper's white times
            // what the ink and the black let through.
            const std::uint8_t *s = source + 4 * x;
            const unsigned flip = m_invertedCmyk ? 0 : 255;
            const unsigned black = s[3] ^ flip;
            red = static_cast<std::uint8_t>(((s[0] ^ flip) * black + 127) / 255);
            green = static_cast<std::uint8_t>(((s[1] ^ flip) * black + 127) / 255);
            blue = static_cast<std::uint8_t>(((s[2] ^ flip) * black + 127) / 255);
        }
        std::uint8_t *target = pixels + index * 4;
        target[0] = blue;
        target[1] = green;
        target[2] = red;
        target[3] = 0;
    }
}

bool JpegDecoder::run(std::span<const std::uint8_t> bytes)
{
    m_cinfo.err = jpeg_std_error(&m_error.pub);
    m_error.pub.error_exit = onError;
    m_error.pub.emit_message = onMessage;
    m_error.owner = this;
    if (setjmp(m_jump))
        return false;

    jpeg_create_decompress(&m_cinfo);
    m_cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
    m_progress.progress_monitor = onProgress;
    m_cinfo.progress = &m_progress;
    m_source.attach(&m_cinfo, bytes);
    jpeg_save_markers(&m_cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&m_cinfo, TRUE);
    m_headerRead = true;

    if (Status size = decoder::checkPictureSize(m_cinfo.image_width, m_cinfo.image_height); !size)
        return refuse(std::move(size));
    if (!holdsEveryBlock(bytes.size()))
        return refuse(decoder::truncated());
    if (!chooseOutput())
        return false;
    m_orientation = exifOrientation(m_cinfo.marker_list);
    if (m_previewScale > 1) {
        // The DCT scaled down: each 8 x 8 block becomes one pixel, and a
        // preview needs neither smooth upsampling nor the exact transform.
        m_cinfo.scale_num = 1;
        m_cinfo.scale_denom = static_cast<unsigned>(m_previewScale);
        m_cinfo.do_fancy_upsampling = FALSE;
        m_cinfo.do_block_smoothing = FALSE;
        m_cinfo.dct_method = JDCT_IFAST;
    }
    jpeg_start_decompress(&m_cinfo);
    if (m_cinfo.output_components != m_components)
        return refuse(decoder::unsupported("JPEG 颜色空间"));
    if (!allocate())
        return false;

    const bool upright = m_placement.isUpright();
    while (m_cinfo.output_scanline < m_cinfo.output_height) {
        const std::int64_t y = m_cinfo.output_scanline;
        // An upright picture is decoded straight into its own row, at the
        // row's end, and widened to four bytes per pixel in place.
        JSAMPROW target = upright ? decoder::rowOf(m_picture, static_cast<int>(y))
                + (4 - m_components) * static_cast<std::size_t>(m_cinfo.output_width)
                                  : m_row.data();
        if (jpeg_read_scanlines(&m_cinfo, &target, 1) != 1)
            return refuse(decoder::truncated());
        placeRow(target, y);
        if (m_control) {
            if (m_control->stopRequested())
                return refuse(decodeCancelled());
            m_control->rowsDone(static_cast<int>(y) + 1, static_cast<int>(m_cinfo.output_height));
        }
    }
    // No jpeg_finish_decompress: every pixel is in, and a missing end marker
    // after complete pixel data is no reason to refuse the picture.
    return true;
}

} // namespace

Result<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeControl *control)
{
    if (bytes.empty())
        return decoder::damaged("文件头不完整");
    JpegDecoder decoder(control);
    if (!decoder.run(bytes))
        return decoder.failure();
    return decoder.takePicture();
}

Result<PicturePreview> decodeJpegPreview(std::span<const std::uint8_t> bytes, const DecodeControl *control)
{
    if (bytes.empty())
        return decoder::damaged("文件头不完整");
    JpegDecoder decoder(control, 8);
    if (!decoder.run(bytes))
        return decoder.failure();
    PicturePreview preview;
    preview.fullWidth = static_cast<int>(decoder.fullWidth());
    preview.fullHeight = static_cast<int>(decoder.fullHeight());
    preview.picture = decoder.takePicture();
    return preview;
}

} // namespace pigmora
