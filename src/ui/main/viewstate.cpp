#include "main/viewstate.h"

#include "image/imageengine.h"
#include "image/viewbuilder.h"

#include <QImage>

namespace pigmora::ui {

namespace {

// Pictures are shown without a copy; a bitmap is the picture's pixels.
std::shared_ptr<const ViewSource> sourceOf(CImageEngine &engine, const std::string &id)
{
    const CImageDibObject *picture = engine.findPicture(id);
    if (!picture)
        return nullptr;
    return std::make_shared<BitmapViewSource>(picture->pictureToBitmap());
}

} // namespace

QString tooLargeMessage()
{
    return QStringLiteral("图像太大，不能按此比例显示!");
}

ViewState::ViewState()
    : m_engine(std::make_unique<CImageEngine>())
    , m_zoomIndex(kRealSizeZoomIndex)
{
    m_engine->initialise();
}

ViewState::~ViewState() = default;

bool ViewState::sizeAllowed(qint64 width, qint64 height)
{
    return width <= kMaxPictureSide && height <= kMaxPictureSide && width * height * 4 <= kMaxPictureBytes;
}

bool ViewState::checkSize(qint64 width, qint64 height)
{
    m_message.clear();
    if (sizeAllowed(width, height))
        return true;
    m_message = tooLargeMessage();
    return false;
}

float ViewState::zoom() const
{
    return zoomFactor(kZoomSteps[static_cast<std::size_t>(m_zoomIndex)]);
}

void ViewState::resetForOpen()
{
    m_baseId.clear();
    m_viewId.clear();
    m_magnifiedId.clear();
    m_magnified.reset();
    m_engine->clearPictures();
    m_gray = false;
    m_zoomed = false;
    m_zoomIndex = kRealSizeZoomIndex;
}

ViewState::OpenOutcome ViewState::open(const std::filesystem::path &path)
{
    m_message.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return OpenOutcome::Missing;
    resetForOpen();
    std::string id;
    Result<CImageDibObject *> loaded = m_engine->loadPictureFile(path, id);
    if (!loaded) {
        m_message = QString::fromStdString(loaded.status().message());
        return m_message.isEmpty() ? OpenOutcome::Unreadable : OpenOutcome::Refused;
    }
    const CImageDibObject *base = *loaded;
    if (!checkSize(base->width(), base->height())) {
        m_engine->clearPictures();
        return OpenOutcome::TooLarge;
    }
    m_baseId = id;
    rebuildView();
    m_pictureLoaded = true;
    return OpenOutcome::Opened;
}

bool ViewState::openImage(const QImage &image)
{
    resetForOpen();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    SourceBitmap source{rgb.width(), rgb.height(), 32, rgb.bytesPerLine(), rgb.constBits()};
    std::string id;
    if (rgb.isNull() || !m_engine->loadPictureFromImage(source, id))
        return false;
    m_baseId = id;
    rebuildView();
    m_pictureLoaded = true;
    return true;
}

bool ViewState::rebuildView()
{
    if (m_baseId.empty())
        return false;
    if (!m_viewId.empty()) {
        m_engine->deletePicture(m_viewId);
        m_viewId.clear();
    }
    if (!m_engine->findPicture(m_baseId))
        return false;
    const std::string_view step = kZoomSteps[static_cast<std::size_t>(m_zoomIndex)];
    const ViewPicture built = buildViewPicture(*m_engine, m_baseId, step, m_gray);
    m_zoomed = built.zoomed;
    if (built.pictureId.empty())
        return false; // the previous view stays on show
    m_viewId = built.pictureId;
    m_view = sourceOf(*m_engine, m_viewId);
    return true;
}

bool ViewState::zoomTo(int index)
{
    // A step too large for memory is refused before anything changes.
    if (const CImageDibObject *base = m_engine->findPicture(m_baseId)) {
        const float z = zoomFactor(kZoomSteps[static_cast<std::size_t>(index)]);
        if (!checkSize(scaledSide(base->width(), z), scaledSide(base->height(), z)))
            return false;
    }
    m_zoomIndex = index;
    return rebuildView();
}

bool ViewState::zoomOut()
{
    return m_zoomIndex > 0 && zoomTo(m_zoomIndex - 1);
}

bool ViewState::zoomIn()
{
    return m_zoomIndex < kHighestZoomIndex && zoomTo(m_zoomIndex + 1);
}

bool ViewState::zoomReal()
{
    return zoomTo(kRealSizeZoomIndex);
}

bool ViewState::toggleGray()
{
    if (m_baseId.empty())
        return false;
    m_gray = !m_gray;
    return rebuildView();
}

bool ViewState::buildMagnified()
{
    if (m_baseId.empty())
        return false;
    discardMagnified();
    const CImageDibObject *base = m_engine->findPicture(m_baseId);
    if (!base)
        return false;
    const std::string_view step = kZoomSteps[static_cast<std::size_t>(m_zoomIndex)];
    const Magnification m = magnificationFor(zoomFactor(step));
    if (!checkSize(scaledSide(base->width(), m.scale), scaledSide(base->height(), m.scale)))
        return false;
    const MagnifiedPicture built = buildMagnifiedPicture(*m_engine, m_baseId, step, m_gray);
    m_factor = built.factor;
    if (built.pictureId.empty())
        return false;
    m_magnifiedId = built.pictureId;
    m_magnified = sourceOf(*m_engine, m_magnifiedId);
    return true;
}

void ViewState::discardMagnified()
{
    if (!m_magnifiedId.empty())
        m_engine->deletePicture(m_magnifiedId);
    m_magnifiedId.clear();
    m_magnified.reset();
}

} // namespace pigmora::ui
