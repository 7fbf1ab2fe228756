#include "image/picturedecoder.h"

#include "image/decodersupport.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <string>

namespace pigmora {

Status decodeCancelled()
{
    return Status::error("已取消");
}

namespace decoder {

Status damaged(std::string_view what)
{
    return Status::error("图像文件已损坏：" + std::string(what));
}

Status unsupported(std::string_view what)
{
    return Status::error("不支持的图像格式：" + std::string(what));
}

Status truncated()
{
    return damaged("像素数据不完整");
}

namespace {

std::string sizeText(std::int64_t width, std::int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

Status checkPictureSize(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return damaged("图像尺寸无效（" + sizeText(width, height) + "）");
    if (width > kMaxPictureSide || height > kMaxPictureSide) {
        const std::string limit = std::to_string(kMaxPictureSide);
        return Status::error("图像尺寸过大：" + sizeText(width, height) + "（最大 " + limit + " x " + limit + "）");
    }
    return Status::ok();
}

Result<DecodedPicture> allocatePicture(std::int64_t width, std::int64_t height)
{
    if (Status size = checkPictureSize(width, height); !size)
        return size;
    const Status noMemory = Status::error("内存不足，无法载入图像：" + sizeText(width, height));
#ifdef PIGMORA_FUZZING
    // Fuzzing runs under a memory ceiling; what matters there is the decoders'
    // handling of the bytes, not giant buffers for a few-byte header.
    if (width * height > (std::int64_t{1} << 24))
        return noMemory;
#endif
    DecodedPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    try {
        picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    } catch (const std::bad_alloc &) {
        return noMemory;
    }
    return picture;
}

} // namespace decoder

namespace {

// Files above this size are refused before anything is read: no picture this
// program can hold needs more.
constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t{1} << 30;

std::string displayPath(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// Files are read in blocks of this size, so that a stop is heard soon.
constexpr std::streamsize kReadBlockBytes = std::streamsize{16} << 20;

// The whole file, or the reason it cannot be had.
Result<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path &path, const DecodeControl *control)
{
    const Status unreadable = Status::error("无法读取图像文件：" + displayPath(path));
    std::error_code ec;
    // Only regular files: opening a pipe or device could block forever.
    if (!std::filesystem::is_regular_file(path, ec))
        return unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return unreadable;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return unreadable;
    if (static_cast<std::uintmax_t>(size) > kMaxPictureFileBytes)
        return Status::error("图像文件过大（最大 1 GB）：" + displayPath(path));
    in.seekg(0, std::ios::beg);

    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc &) {
        return Status::error("内存不足，无法读取图像文件：" + displayPath(path));
    }
    for (std::streamoff done = 0; done < size;) {
        if (control && control->stopRequested())
            return decodeCancelled();
        const std::streamsize block = std::min<std::streamoff>(kReadBlockBytes, size - done);
        in.read(reinterpret_cast<char *>(bytes.data()) + done, block);
        if (in.gcount() != block)
            return unreadable;
        done += block;
    }
    return bytes;
}

} // namespace

PictureFormat pictureFormatOf(const std::filesystem::path &path)
{
    std::string extension;
    for (const char8_t c : path.extension().u8string())
        extension += static_cast<char>(c >= u8'A' && c <= u8'Z' ? c - u8'A' + u8'a' : c);
    if (extension == ".jpg" || extension == ".jpeg")
        return PictureFormat::Jpeg;
    if (extension == ".bmp" || extension == ".dib")
        return PictureFormat::Bitmap;
    if (extension == ".png")
        return PictureFormat::Png;
    return PictureFormat::Unsupported;
}

Result<std::vector<std::uint8_t>> readPictureFile(const std::filesystem::path &path, const DecodeControl *control)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return Status::error("图像文件不存在：" + displayPath(path));
    if (pictureFormatOf(path) == PictureFormat::Unsupported)
        return Status::error("不支持的图像文件类型：" + displayPath(path));
    return readWholeFile(path, control);
}

Result<DecodedPicture> decodePicture(PictureFormat format, std::span<const std::uint8_t> bytes,
                                     const DecodeControl *control)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return decodeJpeg(bytes, control);
    case PictureFormat::Bitmap:
        return decodeBitmap(bytes, control);
    case PictureFormat::Png:
        return decodePng(bytes, control);
    case PictureFormat::Unsupported:
        break;
    }
    return Status::error("不支持的图像文件类型");
}

Result<DecodedPicture> decodePictureFile(const std::filesystem::path &path, const DecodeControl *control)
{
    Result<std::vector<std::uint8_t>> bytes = readPictureFile(path, control);
    if (!bytes)
        return bytes.status();
    return decodePicture(pictureFormatOf(path), bytes.value(), control);
}

} // namespace pigmora
