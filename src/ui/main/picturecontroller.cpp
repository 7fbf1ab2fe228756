#include "main/picturecontroller.h"

#include "data/notifier.h"
#include "main/magnifierwindow.h"
#include "main/pictureview.h"
#include "main/statuspanels.h"
#include "main/uitext.h"
#include "main/viewgeometry.h"
#include "main/viewstate.h"

#include <QApplication>
#include <QImage>

namespace pigmora::ui {

namespace {

// The hourglass while a picture is read.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

PictureController::PictureController(QWidget *window, PictureView *view, StatusPanels *status, Notifier *notifier)
    : m_window(window)
    , m_pictureView(view)
    , m_status(status)
    , m_notifier(notifier)
    , m_view(std::make_unique<ViewState>())
{ }

PictureController::~PictureController()
{
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

bool PictureController::openPicture(const std::filesystem::path &path)
{
    ViewState::OpenOutcome outcome;
    {
        WaitCursor wait;
        outcome = m_view->open(path);
    }
    // From here on the gray view is off, whether the picture came or not.
    if (outcome != ViewState::OpenOutcome::Missing)
        Q_EMIT grayCaptionChanged(QStringLiteral("黑白图"));
    switch (outcome) {
    case ViewState::OpenOutcome::Missing:
        m_notifier->showMessage("文件不存在!", MessageIcon::Error);
        return false;
    case ViewState::OpenOutcome::Unreadable:
        m_notifier->showMessage("不能读入指定的图像文件!", MessageIcon::Error);
        return false;
    case ViewState::OpenOutcome::Refused:
    case ViewState::OpenOutcome::TooLarge:
        showViewMessage();
        return false;
    case ViewState::OpenOutcome::Opened:
        break;
    }
    refreshView();
    if (m_magnifierShown && !m_view->buildMagnified() && !m_view->message().isEmpty())
        showViewMessage();
    repaintView();
    return true;
}

void PictureController::showViewMessage()
{
    m_notifier->showMessage(toUtf8(m_view->message()), MessageIcon::Error);
}

void PictureController::refreshView()
{
    // The pictures are virtual: only the first screen is computed now.
    m_pictureView->setSource(m_view->view());
    m_pictureView->prepareVisible();
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

void PictureController::zoomWith(bool (ViewState::*step)())
{
    eraseLens();
    if (!m_view->hasBase()) {
        (m_view.get()->*step)(); // the index moves, the view stays
        return;
    }
    (m_view.get()->*step)();
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
    zoomWith(&ViewState::zoomOut);
}

void PictureController::zoomIn()
{
    zoomWith(&ViewState::zoomIn);
}

void PictureController::zoomReal()
{
    zoomWith(&ViewState::zoomReal);
}

void PictureController::toggleGray()
{
    if (!m_view->hasBase())
        return;
    m_view->toggleGray();
    Q_EMIT grayCaptionChanged(m_view->gray() ? QStringLiteral("彩色图") : QStringLiteral("黑白图"));
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
    if (p == m_lensPosition || !m_magnifierShown || !geometry::lensInBounds(p, m_pictureView->boxSize()))
        return;
    m_lensPosition = p;
    drawLens();
    updateMagnifierWindow();
}

void PictureController::updateMagnifierWindow()
{
    const std::shared_ptr<const ViewSource> magnified = m_view->magnified();
    if (!magnified || !m_magnifier)
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
    if (!m_view->pictureLoaded() || !m_pictureView->source())
        return;
    if (const std::optional<RgbColor> color = m_pictureView->source()->colorAt(pixel))
        Q_EMIT picked(*color); // outside the view picture: nothing to read
}

} // namespace pigmora::ui
