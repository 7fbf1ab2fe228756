#include "image/imageengine.h"

#include "image/geometrytranslate.h"
#include "image/imagecovert.h"
#include "image/imagepainter.h"
#include "image/picturedecoder.h"

#include <cstring>
#include <new>
#include <system_error>
#include <utility>

namespace pigmora {

namespace {

constexpr std::string_view kBadDecoderOutput = "图像解码结果无效!";

} // namespace

CImageEngine::CImageEngine()
    : m_pictures(sizeof(CImageDibObject *), &CImageEngine::comparePictures)
{ }

CImageEngine::~CImageEngine()
{
    release();
    clearPictures();
}

int CImageEngine::comparePictures(const void *key, const void *element)
{
    const CImageDibObject *a = nullptr;
    const CImageDibObject *b = nullptr;
    std::memcpy(&a, key, sizeof a);
    std::memcpy(&b, element, sizeof b);
    // Byte-wise, as unsigned values: "10" sorts between "1" and "2".
    const int c = a->pictureId().compare(b->pictureId());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

CImageDibObject *CImageEngine::pictureAt(int index) const
{
    CImageDibObject *picture = nullptr;
    return m_pictures.getAs(index, picture) ? picture : nullptr;
}

void CImageEngine::initialise()
{
    release();
    m_covert = std::make_unique<CImageCovert>();
    m_geometry = std::make_unique<CGeometryTranslate>();
    m_painter = std::make_unique<CImagePainter>();
    m_initialised = true;
}

void CImageEngine::release()
{
    m_covert.reset();
    m_geometry.reset();
    m_painter.reset();
    m_initialised = false;
}

void CImageEngine::clearPictures()
{
    for (int i = 0; i < m_pictures.count(); ++i)
        delete pictureAt(i);
    m_pictures.clear();
}

bool CImageEngine::insertPicture(std::unique_ptr<CImageDibObject> &picture)
{
    const CImageDibObject *pointer = picture.get();
    if (m_pictures.insertSorted(&pointer) < 0)
        return false;
    picture.release(); // owned through the index from now on
    return true;
}

CImageDibObject *CImageEngine::createPicture(std::string &newId)
{
    std::unique_ptr<CImageDibObject> picture(new (std::nothrow) CImageDibObject);
    if (!picture) {
        newId.clear();
        ++m_nextId; // the ID is used up all the same
        return nullptr;
    }
    return adoptPicture(std::move(picture), newId);
}

CImageDibObject *CImageEngine::findPicture(std::string_view id) const
{
    m_searchKey.setPictureId(std::string(id));
    const CImageDibObject *key = &m_searchKey;
    return pictureAt(m_pictures.find(&key));
}

bool CImageEngine::deletePicture(std::string_view id)
{
    m_searchKey.setPictureId(std::string(id));
    const CImageDibObject *key = &m_searchKey;
    const int index = m_pictures.find(&key);
    CImageDibObject *picture = pictureAt(index);
    if (!picture || !m_pictures.removeAt(index))
        return false;
    delete picture;
    return true;
}

bool CImageEngine::duplicatePicture(std::string_view sourceId, std::string &newId)
{
    newId.clear();
    const CImageDibObject *source = findPicture(sourceId);
    if (!source)
        return false;
    std::unique_ptr<CImageDibObject> copy(new (std::nothrow) CImageDibObject);
    if (!copy)
        return false;
    copy->copyFrom(*source);
    std::string id = std::to_string(m_nextId);
    copy->setPictureId(id);
    if (!insertPicture(copy))
        return false;
    ++m_nextId;
    newId = std::move(id);
    return true;
}

bool CImageEngine::grayPicture(std::string_view id)
{
    if (!m_initialised)
        return false;
    CImageDibObject *picture = findPicture(id);
    return picture && m_covert->gray(*picture);
}

bool CImageEngine::scalePicture(std::string_view sourceId, std::string &newId, int width, int height)
{
    newId.clear();
    if (!m_initialised)
        return false;
    const CImageDibObject *source = findPicture(sourceId);
    if (!source)
        return false;
    CImageDibObject *target = createPicture(newId);
    return target && m_covert->scale(*target, *source, width, height);
}

CImageDibObject *CImageEngine::addLoadedPicture(int width, int height, std::vector<std::uint8_t> &&rows,
                                                std::string &newId)
{
    CImageDibObject *picture = createPicture(newId);
    if (!picture)
        return nullptr;
    if (!picture->adoptRows(width, height, std::move(rows))) {
        deletePicture(newId);
        newId.clear();
        return nullptr;
    }
    picture->setState(CImageDibObject::kStateHoldsPicture);
    return picture;
}

Status checkPictureFile(const std::filesystem::path &path)
{
    const Status nothing = Status::error({});
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return nothing;
    if (std::filesystem::is_directory(path, ec))
        return Status::error("a folder, not a picture file");
    if (!std::filesystem::is_regular_file(path, ec)) // a FIFO would block the decoder
        return Status::error("not a regular file (a FIFO, socket or device)");
    if (pictureFormatOf(path) == PictureFormat::Unsupported)
        return nothing; // refused without reading the file
    return Status::ok();
}

Result<std::unique_ptr<CImageDibObject>> pictureObjectOf(DecodedPicture &&decoded)
{
    if (decoded.width <= 0 || decoded.height <= 0
        || decoded.pixels.size()
            != static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height) * 4)
        return Status::error(std::string(kBadDecoderOutput));
    // The decoder's rows are already the picture's layout: taken over as
    // they are, not copied.
    std::unique_ptr<CImageDibObject> picture(new (std::nothrow) CImageDibObject);
    if (!picture || !picture->adoptRows(decoded.width, decoded.height, std::move(decoded.pixels)))
        return Status::error({});
    picture->setState(CImageDibObject::kStateHoldsPicture);
    return picture;
}

CImageDibObject *CImageEngine::adoptPicture(std::unique_ptr<CImageDibObject> picture, std::string &newId)
{
    newId.clear();
    if (!picture)
        return nullptr;
    std::string id = std::to_string(m_nextId++);
    picture->setPictureId(id);
    CImageDibObject *adopted = picture.get();
    if (!insertPicture(picture))
        return nullptr;
    newId = std::move(id);
    return adopted;
}

Result<CImageDibObject *> CImageEngine::loadPictureFile(const std::filesystem::path &path, std::string &newId)
{
    newId.clear();
    if (Status checked = checkPictureFile(path); !checked)
        return checked;
    Result<DecodedPicture> decoded = decodePictureFile(path);
    if (!decoded)
        return decoded.status();
    Result<std::unique_ptr<CImageDibObject>> picture = pictureObjectOf(std::move(decoded.value()));
    if (!picture)
        return picture.status();
    CImageDibObject *loaded = adoptPicture(std::move(picture.value()), newId);
    if (!loaded)
        return Status::error({});
    return loaded;
}

CImageDibObject *CImageEngine::loadPictureFromImage(const SourceBitmap &source, std::string &newId)
{
    newId.clear();
    if (!source.bits || (source.bitsPerPixel != 24 && source.bitsPerPixel != 32))
        return nullptr;
    const std::uint32_t stride = CImageDibObject::rowStrideFor(source.width, 32);
    const int sourceBytes = source.bitsPerPixel / 8;
    if (stride == 0 || source.height <= 0
        || source.bytesPerLine < static_cast<std::ptrdiff_t>(source.width) * sourceBytes)
        return nullptr;
    const std::size_t bytes = std::size_t{stride} * static_cast<std::size_t>(source.height);
    if (bytes > maxPictureBytes())
        return nullptr;
    std::vector<std::uint8_t> rows;
    try {
        rows.resize(bytes);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    // Each pixel preset to 255, 255, 255, 0 and then overwritten by the
    // source pixel's own bytes: blue, green, red (and the fourth at 32 bits).
    std::uint8_t *out = rows.data();
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t *in = source.bits + static_cast<std::ptrdiff_t>(y) * source.bytesPerLine;
        for (int x = 0; x < source.width; ++x, in += sourceBytes, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = sourceBytes == 4 ? in[3] : 0;
        }
    }
    return addLoadedPicture(source.width, source.height, std::move(rows), newId);
}

} // namespace pigmora
