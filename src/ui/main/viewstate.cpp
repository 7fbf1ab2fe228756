#include "main/viewstate.h"

#include "image/imageengine.h"
#include "image/pictureload.h"
#include "image/picturesampler.h"
#include "image/picturesource.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"

#include <QImage>

#include <algorithm>
#include <thread>

namespace pigmora::ui {

namespace {

// The view computes screens with the window thread and workers together;
// the magnifier copies small parts at once and leaves the rest to one.
VirtualPictureOptions viewOptions()
{
    VirtualPictureOptions options;
    options.cacheBudget = std::size_t{128} << 20;
    options.workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1, 3);
    return options;
}

VirtualPictureOptions magnifiedOptions()
{
    VirtualPictureOptions options;
    options.cacheBudget = std::size_t{64} << 20;
    options.workers = 1;
    return options;
}

// The picture for the zoom text; as the engine does when scaling fails, the
// unscaled picture stands in.
std::shared_ptr<const ViewSource> virtualPicture(const std::shared_ptr<const PictureSource> &source,
                                                 VirtualPicture::Kind kind, std::string_view zoomText,
                                                 const VirtualPictureOptions &options)
{
    std::unique_ptr<VirtualPicture> picture = VirtualPicture::create(source, kind, zoomText, options);
    if (!picture)
        picture = VirtualPicture::create(source, VirtualPicture::Kind::View, "100%", options);
    if (!picture)
        return nullptr;
    return std::make_shared<TiledViewSource>(std::move(picture));
}

} // namespace

QString tooLargeMessage()
{
    return QObject::tr("图像太大，不能按此比例显示!");
}

ViewState::ViewState(int maxSide)
    : m_engine(std::make_unique<CImageEngine>())
    , m_maxSide(maxSide)
    , m_zoomIndex(kRealSizeZoomIndex)
{
    m_engine->initialise();
}

ViewState::~ViewState() = default;

bool ViewState::sizeAllowed(qint64 width, qint64 height, int maxSide)
{
    return width <= maxSide && height <= maxSide;
}

bool ViewState::checkSize(qint64 width, qint64 height)
{
    m_message.clear();
    if (sizeAllowed(width, height, m_maxSide))
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
    m_source.reset();
    m_magnified.reset();
    m_pickView.reset();
    m_plainView.reset();
    m_plainColours.reset();
    m_correction = PhotoCorrection();
    m_correctionShown = true;
    m_engine->clearPictures();
    m_tone = PictureTone::Colour;
    m_zoomed = false;
    m_zoomIndex = kRealSizeZoomIndex;
}

ViewState::OpenOutcome ViewState::open(const std::filesystem::path &path)
{
    return adopt(loadPictureForView(loadRequest(path, {}), {}));
}

PictureLoadRequest ViewState::loadRequest(const std::filesystem::path &path, QSize room) const
{
    PictureLoadRequest request;
    request.path = path;
    request.roomWidth = std::max(0, room.width());
    request.roomHeight = std::max(0, room.height());
    request.maxSide = m_maxSide;
    request.viewOptions = viewOptions();
    return request;
}

ViewState::OpenOutcome ViewState::adopt(PictureLoad &&load)
{
    m_message.clear();
    using Outcome = PictureLoad::Outcome;
    if (load.outcome == Outcome::Missing)
        return OpenOutcome::Missing;
    if (load.outcome == Outcome::Cancelled)
        return OpenOutcome::Cancelled;
    resetForOpen();
    switch (load.outcome) {
    case Outcome::Refused:
        m_message = QString::fromStdString(load.message);
        return OpenOutcome::Refused;
    case Outcome::TooLarge:
        m_message = tooLargeMessage();
        return OpenOutcome::TooLarge;
    case Outcome::Opened:
        break;
    default:
        return OpenOutcome::Unreadable;
    }
    std::string id;
    if (!m_engine->adoptPicture(std::move(load.base), id))
        return OpenOutcome::Unreadable;
    m_baseId = id;
    m_source = std::move(load.source);
    m_zoomIndex = load.zoomIndex;
    m_zoomed = kZoomSteps[static_cast<std::size_t>(m_zoomIndex)] != "100%";
    m_view = std::make_shared<TiledViewSource>(std::move(load.view));
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

std::shared_ptr<const PictureSource> ViewState::pictureSource()
{
    if (!m_source || m_source->tone() != m_tone || m_source->transform() != shownTransform()) {
        m_source.reset(); // a gray toggle drops the other state's rows
        if (const CImageDibObject *base = m_engine->findPicture(m_baseId))
            m_source = PictureSource::make(*base, m_tone, shownTransform());
    }
    return m_source;
}

bool ViewState::rebuildView()
{
    if (m_baseId.empty())
        return false;
    const std::shared_ptr<const PictureSource> source = pictureSource();
    if (!source)
        return false;
    const std::string_view step = kZoomSteps[static_cast<std::size_t>(m_zoomIndex)];
    m_zoomed = step != "100%";
    std::shared_ptr<const ViewSource> view = virtualPicture(source, VirtualPicture::Kind::View, step, viewOptions());
    if (!view)
        return false; // the previous view stays on show
    m_view = std::move(view);
    m_pickView.reset();
    m_plainView.reset();
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
    return setTone(gray() ? PictureTone::Colour : PictureTone::Gray);
}

bool ViewState::setTone(PictureTone tone)
{
    if (m_baseId.empty())
        return false;
    m_tone = tone;
    return rebuildView();
}

std::shared_ptr<const ViewSource> ViewState::pickSource()
{
    if (!picksOriginalColours())
        return m_view;
    if (!m_pickView) {
        // The colours at the view's size: a pixel at a time, as it is picked.
        const CImageDibObject *base = m_engine->findPicture(m_baseId);
        if (const auto colours = base ? PictureSource::make(*base, PictureTone::Colour, shownTransform()) : nullptr) {
            m_pickView = virtualPicture(colours, VirtualPicture::Kind::View,
                                        kZoomSteps[static_cast<std::size_t>(m_zoomIndex)], {});
        }
    }
    return m_pickView;
}

QSize ViewState::baseSize() const
{
    const CImageDibObject *base = m_engine->findPicture(m_baseId);
    return base ? QSize(base->width(), base->height()) : QSize();
}

namespace {

const VirtualPicture *pictureOf(const std::shared_ptr<const ViewSource> &view)
{
    const auto *tiled = dynamic_cast<const TiledViewSource *>(view.get());
    return tiled ? &tiled->picture() : nullptr;
}

bool inside(const VirtualPicture &view, QPoint pixel)
{
    return pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < view.width() && pixel.y() < view.height();
}

} // namespace

bool ViewState::setCorrection(PhotoCorrection correction)
{
    if (m_baseId.empty())
        return false;
    m_correction = std::move(correction);
    m_correctionShown = true;
    return rebuildView();
}

bool ViewState::showCorrection(bool shown)
{
    if (m_baseId.empty() || shown == m_correctionShown)
        return false;
    m_correctionShown = shown;
    return rebuildView();
}

std::shared_ptr<const ColorTransform> ViewState::shownTransform() const
{
    return m_correctionShown ? m_correction.transform() : nullptr;
}

std::shared_ptr<const PictureSource> ViewState::plainColours()
{
    if (!m_plainColours) {
        if (const CImageDibObject *base = m_engine->findPicture(m_baseId))
            m_plainColours = PictureSource::make(*base, PictureTone::Colour);
    }
    return m_plainColours;
}

const VirtualPicture *ViewState::plainView(bool gray)
{
    const VirtualPicture *plain = pictureOf(m_plainView);
    if (plain && plain->gray() == gray)
        return plain;
    m_plainView.reset();
    const CImageDibObject *base = m_engine->findPicture(m_baseId);
    const auto source = gray ? (base ? PictureSource::make(*base, PictureTone::Gray) : nullptr) : plainColours();
    if (source) {
        // A pixel or a sample at a time, as it is picked: no workers.
        m_plainView
            = virtualPicture(source, VirtualPicture::Kind::View, kZoomSteps[static_cast<std::size_t>(m_zoomIndex)], {});
    }
    return pictureOf(m_plainView);
}

Result<PhotoCorrection> ViewState::measureWhite(QPoint viewPixel, int sampleSize)
{
    const VirtualPicture *view = plainView(false);
    if (!view || !inside(*view, viewPixel))
        return Status::error("the white reference is outside the picture");
    const std::optional<AreaSample> reference = samplePick(*view, viewPixel.x(), viewPixel.y(), sampleSize);
    if (!reference)
        return Status::error("not enough memory for the white reference");
    return PhotoCorrection::white(*reference);
}

Result<PhotoCorrection> ViewState::measureChart(const std::array<chart::Point, 4> &corners)
{
    const std::shared_ptr<const PictureSource> colours = plainColours();
    if (!colours)
        return Status::error("no picture is open");
    return PhotoCorrection::chart(*colours, corners);
}

std::optional<ViewState::Sample> ViewState::sampleAt(QPoint viewPixel, int sampleSize)
{
    const std::shared_ptr<const ViewSource> source = pickSource();
    const VirtualPicture *view = pictureOf(source);
    if (!view || !inside(*view, viewPixel))
        return std::nullopt;
    const int x = viewPixel.x();
    const int y = viewPixel.y();
    if (!correctionShown()) {
        const std::optional<AreaSample> sample = samplePick(*view, x, y, sampleSize);
        return sample ? std::optional<Sample>(Sample{sample->color, std::nullopt}) : std::nullopt;
    }
    const std::shared_ptr<const PictureSource> colours = plainColours();
    const std::optional<RgbColor> corrected = colours ? correctedPick(*view, *colours, x, y, sampleSize) : std::nullopt;
    if (!corrected)
        return std::nullopt;
    const VirtualPicture *plain = plainView(view->gray());
    const std::optional<AreaSample> photo = plain ? samplePick(*plain, x, y, sampleSize) : std::nullopt;
    return Sample{*corrected, photo ? std::optional<RgbColor>(photo->color) : std::nullopt};
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
    m_factor = m.factor;
    const std::shared_ptr<const PictureSource> source = pictureSource();
    if (!source)
        return false;
    m_magnified = virtualPicture(source, VirtualPicture::Kind::Magnified, step, magnifiedOptions());
    return m_magnified != nullptr;
}

void ViewState::discardMagnified()
{
    m_magnified.reset();
}

} // namespace pigmora::ui
