#include "main/picturecontroller.h"

#include "data/notifier.h"
#include "image/pictureload.h"
#include "image/viewbuilder.h"
#include "main/magnifierwindow.h"
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
    if (m_view->openImage(sample)) {
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

void PictureController::pressedAt(QPoint p, Qt::MouseButton)
{
    const ViewSource *source = m_pictureView->source();
    if (!source)
        return;
    if (const std::optional<QPoint> pixel = geometry::viewPixelOfClick(p, source->size()))
        pickAt(*pixel);
}

void PictureController::pickAt(QPoint pixel)
{
    // The exact picture is what is picked from: nothing while a preview shows.
    if (!m_view->pictureLoaded() || !m_pictureView->source() || m_pictureView->showsPreview())
        return;
    const bool original = m_view->picksOriginalColours() && m_pictureView->source() == m_view->view().get();
    const std::shared_ptr<const ViewSource> colours = original ? m_view->pickSource() : nullptr;
    const ViewSource *from = colours ? colours.get() : m_pictureView->source();
    if (const std::optional<RgbColor> color = from->colorAt(pixel))
        Q_EMIT picked(*color, colours ? PickOrigin::PictureColours : PickOrigin::View);
}

} // namespace pigmora::ui
