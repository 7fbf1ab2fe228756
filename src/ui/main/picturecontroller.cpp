#include "main/picturecontroller.h"

#include "data/notifier.h"
#include "engine/photocorrection.h"
#include "image/pictureload.h"
#include "image/viewbuilder.h"
#include "main/chartfitdialog.h"
#include "main/magnifierwindow.h"
#include "main/messagetext.h"
#include "main/pictureloader.h"
#include "main/pictureview.h"
#include "main/statuspanels.h"
#include "main/uitext.h"
#include "main/viewgeometry.h"
#include "main/viewstate.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

namespace pigmora::ui {

namespace {

constexpr std::size_t kZoomPanel = 4;
constexpr std::size_t kPicturePixelPanel = 5;
constexpr std::size_t kCorrectionPanel = 6;

} // namespace

PictureController::PictureController(QWidget *window, QScrollArea *scroll, PictureView *view, StatusPanels *status,
                                     QProgressBar *progress, Notifier *notifier)
    : m_window(window)
    , m_scroll(scroll)
    , m_pictureView(view)
    , m_status(status)
    , m_progress(progress)
    , m_notifier(notifier)
    , m_view(std::make_unique<ViewState>())
    , m_loader(new PictureLoader(this))
{
    connect(m_loader, &PictureLoader::previewReady, this, &PictureController::previewReady);
    connect(m_loader, &PictureLoader::progressed, m_progress, &QProgressBar::setValue);
    connect(m_loader, &PictureLoader::finished, this, &PictureController::loadFinished);
    m_progress->hide();
}

PictureController::~PictureController()
{
    delete m_loader; // stops and joins a load still running
    m_loader = nullptr;
    setWaiting(false);
    destroyMagnifier();
    m_pictureView->setSource(nullptr);
}

void PictureController::destroyMagnifier()
{
    delete m_magnifier;
    m_magnifier = nullptr;
    m_magnifierShown = false;
}

void PictureController::showSample()
{
    const QImage sample(QStringLiteral(":/pigmora/sample-photo.jpg"));
    const bool opened = m_view->openImage(sample);
    pictureReplaced();
    if (opened) {
        refreshView();
        if (m_magnifierShown)
            m_view->buildMagnified();
    }
    repaintView();
}

QSize PictureController::pictureRoom() const
{
    // Without scroll bars: a picture that fits needs none.
    const qreal ratio = m_pictureView->devicePixelRatioF();
    const QSize viewport = m_scroll->maximumViewportSize();
    return geometry::pictureRoom(QSize(static_cast<int>(std::floor(viewport.width() * ratio)),
                                       static_cast<int>(std::floor(viewport.height() * ratio))));
}

// --- Opening a picture ---

bool PictureController::loading() const
{
    return m_loader->busy();
}

void PictureController::setWaiting(bool waiting)
{
    if (waiting == m_waiting)
        return;
    m_waiting = waiting;
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool PictureController::beginOpen(const std::filesystem::path &path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        m_notifier->showMessage("文件不存在!", MessageIcon::Error);
        return false;
    }
    m_loadingPath = path;
    m_loader->start(m_view->loadRequest(path, pictureRoom()));
    setWaiting(true);
    m_progress->setValue(0);
    m_progress->show();
    return true;
}

bool PictureController::openPicture(const std::filesystem::path &path)
{
    if (!beginOpen(path))
        return false;
    bool opened = false;
    QEventLoop wait;
    const QMetaObject::Connection done = connect(this, &PictureController::openEnded, &wait, &QEventLoop::quit);
    const QMetaObject::Connection success
        = connect(this, &PictureController::opened, &wait, [&opened] { opened = true; });
    wait.exec();
    disconnect(done);
    disconnect(success);
    return opened;
}

void PictureController::previewReady(const QImage &preview, QSize fullSize)
{
    // Shown at the size the picture will open at.
    const QSize room = pictureRoom();
    const int index = openZoomIndex(fullSize.width(), fullSize.height(), room.width(), room.height());
    eraseLens();
    m_pictureView->showPreview(preview, QSize(viewSide(fullSize.width(), index), viewSide(fullSize.height(), index)));
    m_status->setText(kZoomPanel, fromUtf8(kZoomSteps[static_cast<std::size_t>(index)]));
}

void PictureController::loadFinished(const std::shared_ptr<PictureLoad> &load)
{
    setWaiting(false);
    m_progress->hide();
    const ViewState::OpenOutcome outcome = m_view->adopt(std::move(*load));
    // Any outcome but these replaced the picture, and its correction with it.
    if (outcome != ViewState::OpenOutcome::Missing && outcome != ViewState::OpenOutcome::Cancelled)
        pictureReplaced();
    // From here on the gray view is off, whether the picture came or not.
    if (outcome != ViewState::OpenOutcome::Missing)
        Q_EMIT grayCaptionChanged(tr("黑白图"));
    switch (outcome) {
    case ViewState::OpenOutcome::Missing:
        m_notifier->showMessage("文件不存在!", MessageIcon::Error);
        break;
    case ViewState::OpenOutcome::Unreadable:
        m_notifier->showMessage("不能读入指定的图像文件!", MessageIcon::Error);
        break;
    case ViewState::OpenOutcome::Refused:
    case ViewState::OpenOutcome::TooLarge:
        showViewMessage();
        break;
    case ViewState::OpenOutcome::Cancelled:
        break;
    case ViewState::OpenOutcome::Opened:
        // The first screen was computed with the picture: nothing to wait for.
        m_scroll->horizontalScrollBar()->setValue(0);
        m_scroll->verticalScrollBar()->setValue(0);
        refreshView(false);
        if (m_magnifierShown && !m_view->buildMagnified() && !m_view->message().isEmpty())
            showViewMessage();
        repaintView();
        Q_EMIT opened(QString::fromStdString(m_loadingPath.string()));
        break;
    }
    if (outcome != ViewState::OpenOutcome::Opened && m_pictureView->showsPreview()) {
        m_pictureView->setSource(m_view->view()); // the previous picture again
        showZoomStep();
    }
    Q_EMIT openEnded();
}

void PictureController::showViewMessage()
{
    m_notifier->showMessage(toUtf8(m_view->message()), MessageIcon::Error);
}

// --- The view ---

void PictureController::refreshView(bool prepare)
{
    // The pictures are virtual: only the first screen is computed now.
    m_pictureView->setSource(m_view->view());
    if (prepare)
        m_pictureView->prepareVisible();
    showZoomStep();
}

void PictureController::showZoomStep()
{
    m_status->setText(kZoomPanel, fromUtf8(kZoomSteps[static_cast<std::size_t>(m_view->zoomIndex())]));
}

void PictureController::repaintView()
{
    updateOverlay();
    m_pictureView->update();
}

void PictureController::updateOverlay()
{
    ViewOverlay overlay;
    overlay.grid = m_view->pictureLoaded() && m_gridShown;
    overlay.gridColumns = m_gridColumns;
    overlay.gridRows = m_gridRows;
    overlay.squareCells = m_squareCells;
    if (m_view->picksOriginalColours())
        overlay.gridColour = QColor(230, 30, 30); // a value view is all grays
    if (m_view->pictureLoaded() && m_magnifierShown && m_lensDrawn
        && geometry::lensInBounds(m_lensPosition, m_pictureView->boxSize()))
        overlay.lens = m_lensPosition;
    overlay.sample = m_sampleArea;
    const ViewSource *source = m_pictureView->showsPreview() ? nullptr : m_pictureView->source();
    if (source && m_view->hasBase()) {
        std::vector<chart::Point> points = m_chartClicks.points();
        // The white balance's reference stays marked while it is shown.
        if (m_whiteReference && m_view->correctionShown())
            points.push_back(*m_whiteReference);
        for (const chart::Point &point : points) {
            overlay.marks.push_back(
                geometry::viewPixelOfBasePoint(QPointF(point.x, point.y), source->size(), m_view->baseSize())
                + QPoint(geometry::kViewMargin, geometry::kViewMargin));
        }
    }
    m_pictureView->setOverlay(overlay);
}

void PictureController::viewChanged()
{
    if (m_magnifierShown) {
        if (!m_view->buildMagnified() && !m_view->message().isEmpty())
            showViewMessage();
    } else {
        m_view->discardMagnified();
    }
}

void PictureController::eraseLens()
{
    m_lensDrawn = false;
    updateOverlay();
}

void PictureController::drawLens()
{
    m_lensDrawn = true;
    updateOverlay();
}

void PictureController::zoomWith(const std::function<bool()> &step)
{
    if (loading())
        return; // the picture on show is about to go
    m_sampleArea.reset();
    eraseLens();
    if (!m_view->hasBase()) {
        step(); // the index moves, the view stays
        return;
    }
    step();
    if (!m_view->message().isEmpty())
        return showViewMessage();
    refreshView();
    viewChanged();
    repaintView();
    if (m_magnifierShown && geometry::lensInBounds(m_lensPosition, m_pictureView->boxSize()))
        drawLens();
}

void PictureController::zoomOut()
{
    zoomWith([this] { return m_view->zoomOut(); });
}

void PictureController::zoomIn()
{
    zoomWith([this] { return m_view->zoomIn(); });
}

void PictureController::zoomReal()
{
    zoomWith([this] { return m_view->zoomReal(); });
}

void PictureController::zoomToFit()
{
    const QSize base = m_view->baseSize();
    if (base.isEmpty())
        return;
    const QSize room = pictureRoom();
    const int index = fitZoomIndex(base.width(), base.height(), room.width(), room.height());
    zoomWith([this, index] { return m_view->zoomTo(index); });
}

void PictureController::toggleGray()
{
    setTone(m_view->gray() ? PictureTone::Colour : PictureTone::Gray);
}

void PictureController::setTone(PictureTone tone)
{
    if (!m_view->hasBase() || loading() || tone == m_view->tone())
        return;
    m_view->setTone(tone);
    Q_EMIT grayCaptionChanged(m_view->gray() ? tr("彩色图") : tr("黑白图"));
    refreshView();
    viewChanged();
    repaintView();
}

void PictureController::toggleGrid()
{
    m_gridShown = !m_gridShown;
    repaintView();
}

void PictureController::setGridCounts(int columns, int rows)
{
    m_gridColumns = columns;
    m_gridRows = rows;
    repaintView();
}

void PictureController::setSquareCells(bool square)
{
    m_squareCells = square;
    repaintView();
}

// --- The magnifier and the mouse ---

void PictureController::toggleMagnifier()
{
    if (!m_magnifier)
        m_magnifier = new TForm_magnifier(m_window);
    if (m_magnifierShown) {
        m_magnifier->hide();
        m_magnifierShown = false;
        eraseLens();
        repaintView();
        return;
    }
    m_magnifier->showCentredOnce();
    m_magnifierShown = true;
    repaintView();
    if (!m_view->hasMagnified() && m_view->hasBase() && !m_view->buildMagnified() && !m_view->message().isEmpty())
        showViewMessage();
}

void PictureController::mouseMovedTo(QPoint p)
{
    m_status->setText(0, geometry::mousePositionText(p));
    const ViewSource *source = m_pictureView->showsPreview() ? nullptr : m_pictureView->source();
    const std::optional<QPoint> pixel = source ? geometry::viewPixelOfClick(p, source->size()) : std::nullopt;
    m_status->setText(kPicturePixelPanel,
                      pixel && m_view->hasBase()
                          ? geometry::basePixelText(geometry::basePixelOf(*pixel, source->size(), m_view->baseSize()))
                          : QString());
    std::optional<QRect> area;
    if (pixel && m_view->hasBase() && m_sampleSize > 1) {
        area = geometry::sampledArea(*pixel, m_sampleSize, source->size(), m_view->baseSize())
                   .translated(geometry::kViewMargin, geometry::kViewMargin);
    }
    if (area != m_sampleArea) {
        m_sampleArea = area;
        updateOverlay();
    }
    if (p == m_lensPosition || !m_magnifierShown || !geometry::lensInBounds(p, m_pictureView->boxSize()))
        return;
    m_lensPosition = p;
    drawLens();
    updateMagnifierWindow();
}

void PictureController::updateMagnifierWindow()
{
    const std::shared_ptr<const ViewSource> magnified = m_view->magnified();
    if (!magnified || !m_magnifier || m_pictureView->showsPreview())
        return;
    m_magnifier->box()->showArea(*magnified, geometry::magnifierSource(m_lensPosition, m_view->magnifierFactor()));
}

void PictureController::pressedAt(QPoint p, Qt::MouseButton button)
{
    const ViewSource *source = m_pictureView->source();
    if (!source)
        return;
    const std::optional<QPoint> pixel = geometry::viewPixelOfClick(p, source->size());
    if (!pixel)
        return;
    if (m_clickMode == ClickMode::Pick)
        pickAt(*pixel);
    else if (button == Qt::LeftButton)
        correctionClick(*pixel);
}

void PictureController::pickAt(QPoint pixel)
{
    // The exact picture is what is picked from: nothing while a preview shows.
    if (!m_view->pictureLoaded() || !m_pictureView->source() || m_pictureView->showsPreview())
        return;
    const QSize viewSize = m_pictureView->source()->size();
    m_lastPick = LastPick{pixel, viewSize, geometry::basePixelOf(pixel, viewSize, m_view->baseSize())};
    if ((m_sampleSize > 1 || m_view->correctionShown()) && m_pictureView->source() == m_view->view().get()) {
        const std::optional<ViewState::Sample> sample = m_view->sampleAt(pixel, m_sampleSize);
        if (!sample)
            return;
        Q_EMIT photoColourPicked(sample->photo);
        Q_EMIT picked(sample->color, m_view->picksOriginalColours() ? PickOrigin::PictureColours : PickOrigin::View);
        return;
    }
    Q_EMIT photoColourPicked(std::nullopt);
    const bool original = m_view->picksOriginalColours() && m_pictureView->source() == m_view->view().get();
    const std::shared_ptr<const ViewSource> colours = original ? m_view->pickSource() : nullptr;
    const ViewSource *from = colours ? colours.get() : m_pictureView->source();
    if (const std::optional<RgbColor> color = from->colorAt(pixel))
        Q_EMIT picked(*color, colours ? PickOrigin::PictureColours : PickOrigin::View);
}

// --- Area samples and colour corrections ---

void PictureController::setSampleSize(int size)
{
    if (size == m_sampleSize)
        return;
    m_sampleSize = size;
    if (m_sampleSize <= 1 && m_sampleArea) {
        m_sampleArea.reset();
        updateOverlay();
    }
    pickAgain();
}

void PictureController::pickAgain()
{
    const ViewSource *source = m_pictureView->showsPreview() ? nullptr : m_pictureView->source();
    if (!m_lastPick || !source)
        return;
    // At another zoom step the same place of the picture.
    const QPoint pixel = source->size() == m_lastPick->view
        ? m_lastPick->pixel
        : geometry::viewPixelOfBasePoint(QPointF(m_lastPick->base) + QPointF(0.5, 0.5), source->size(),
                                         m_view->baseSize());
    pickAt(pixel);
}

void PictureController::pictureReplaced()
{
    m_lastPick.reset();
    m_sampleArea.reset();
    m_chartClicks.clear();
    m_whiteReference.reset();
    setClickMode(ClickMode::Pick);
}

void PictureController::setClickMode(ClickMode mode)
{
    const bool changed = mode != m_clickMode;
    m_clickMode = mode;
    if (mode != ClickMode::ChartCorners)
        m_chartClicks.clear();
    showCorrectionStatus();
    updateOverlay();
    if (changed)
        Q_EMIT clickModeChanged(mode != ClickMode::Pick);
}

void PictureController::startWhiteBalance()
{
    if (!m_view->pictureLoaded() || loading())
        return;
    setClickMode(ClickMode::WhiteReference);
}

void PictureController::startChartCalibration()
{
    if (!m_view->pictureLoaded() || loading())
        return;
    m_chartClicks.clear();
    setClickMode(ClickMode::ChartCorners);
}

void PictureController::cancelCorrectionClicks()
{
    setClickMode(ClickMode::Pick);
}

void PictureController::clearCorrection()
{
    setClickMode(ClickMode::Pick);
    if (m_view->correction().isOn())
        applyCorrection(PhotoCorrection());
}

void PictureController::showCorrection(bool shown)
{
    if (!m_view->correction().isOn() || shown == m_view->correctionShown())
        return;
    updateView([this, shown] { return m_view->showCorrection(shown); });
}

void PictureController::correctionClick(QPoint pixel)
{
    if (!m_view->pictureLoaded() || m_pictureView->showsPreview() || loading())
        return;
    const QSize viewSize = m_pictureView->source()->size();
    const QSize base = m_view->baseSize();
    const chart::Point point{originalPositionOf(pixel.x(), base.width(), viewSize.width()),
                             originalPositionOf(pixel.y(), base.height(), viewSize.height())};
    if (m_clickMode == ClickMode::WhiteReference) {
        Result<PhotoCorrection> white = m_view->measureWhite(pixel, m_sampleSize);
        setClickMode(ClickMode::Pick);
        if (!white) {
            m_notifier->showMessage(toUtf8(tr("不能按这一点做白平衡：%1").arg(coreText(white.message()))),
                                    MessageIcon::Warning);
            return;
        }
        applyCorrection(std::move(*white), point);
        return;
    }
    const std::optional<std::array<chart::Point, 4>> corners = m_chartClicks.add(point);
    if (!corners) {
        showCorrectionStatus();
        updateOverlay();
        return;
    }
    setClickMode(ClickMode::Pick);
    Result<PhotoCorrection> chart = m_view->measureChart(*corners);
    if (!chart) {
        m_notifier->showMessage(toUtf8(tr("色卡校正失败：%1").arg(coreText(chart.message()))),
                                MessageIcon::Warning);
        return;
    }
    // The patches as measured, corrected and the chart's; Cancel keeps what
    // was in force.
    ChartFitDialog dialog(*chart->chartFit(), m_window);
    if (dialog.exec() == QDialog::Accepted)
        applyCorrection(std::move(*chart));
}

void PictureController::applyCorrection(PhotoCorrection correction, std::optional<chart::Point> whiteReference)
{
    m_whiteReference = whiteReference;
    updateView([this, &correction] { return m_view->setCorrection(std::move(correction)); });
}

void PictureController::updateView(const std::function<bool()> &change)
{
    eraseLens();
    if (!change() && !m_view->message().isEmpty())
        showViewMessage();
    refreshView();
    viewChanged();
    repaintView();
    if (m_magnifierShown && geometry::lensInBounds(m_lensPosition, m_pictureView->boxSize())) {
        drawLens();
        updateMagnifierWindow();
    }
    showCorrectionStatus();
    updateOverlay(); // the white reference's mark
    pickAgain();
}

QString PictureController::correctionText() const
{
    switch (m_clickMode) {
    case ClickMode::WhiteReference:
        return tr("白平衡：请点照片中本应是白色或灰色的地方（Esc 取消）");
    case ClickMode::ChartCorners:
        return ChartClicks::hint(m_chartClicks.count());
    case ClickMode::Pick:
        break;
    }
    const PhotoCorrection &correction = m_view->correction();
    if (correction.isOn() && !m_view->correctionShown())
        return tr("校正未显示：照片原样");
    switch (correction.kind()) {
    case CorrectionKind::White:
        return tr("已校正：白平衡");
    case CorrectionKind::Chart:
        return tr("已校正：色卡（ΔE00 平均 %1，最大 %2）")
            .arg(correction.chartFit()->meanDeltaE00, 0, 'f', 2)
            .arg(correction.chartFit()->maxDeltaE00, 0, 'f', 2);
    case CorrectionKind::None:
        break;
    }
    return {};
}

void PictureController::showCorrectionStatus()
{
    m_status->setShownText(kCorrectionPanel, correctionText());
    Q_EMIT correctionChanged(m_view->correction().isOn(), m_view->correctionShown());
}

} // namespace pigmora::ui
