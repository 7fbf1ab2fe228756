// The main window's picture commands: opening, zoom, gray view, grid, the
// magnifier and the colour pick.
#include "main/mainwindow.h"

#include "data/colormanager.h"
#include "data/standardcolorcard.h"
#include "engine/colorpick.h"
#include "main/magnifierwindow.h"
#include "main/pictureview.h"
#include "main/resultpanel.h"
#include "main/viewgeometry.h"
#include "main/viewstate.h"
#include "store/settings.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QToolButton>

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

std::string utf8(const QString &text)
{
    return text.toStdString();
}

std::optional<CStandardColorCard::Card> cardOf(int choice)
{
    switch (choice) {
    case 1:
        return CStandardColorCard::Card::PantoneCoated;
    case 2:
        return CStandardColorCard::Card::Ral;
    case 3:
        return CStandardColorCard::Card::BuildingColors;
    default:
        return std::nullopt;
    }
}

} // namespace

void TForm_TintoraMain::mi_openClick()
{
    QString folder;
    if (m_config) {
        if (const std::optional<std::string> last = lastFolder(*m_config, settingkeys::kLastPictureFolder))
            folder = QString::fromStdString(*last);
    }
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("打开照片"), folder,
        QStringLiteral("图像文件 (*.jpg *.jpeg *.bmp *.dib *.png *.JPG *.JPEG *.BMP *.DIB *.PNG);;"
                       "JPEG (*.jpg *.jpeg *.JPG *.JPEG);;位图 (*.bmp *.dib *.BMP *.DIB);;PNG (*.png *.PNG)"));
    if (path.isEmpty())
        return;
    if (openPicture(path.toStdString()) && m_config && !m_readOnly)
        saveLastFolder(*m_config, settingkeys::kLastPictureFolder, QFileInfo(path).absolutePath().toStdString());
}

bool TForm_TintoraMain::openPicture(const std::filesystem::path &path)
{
    ViewState::OpenOutcome outcome;
    {
        WaitCursor wait;
        outcome = m_view->open(path);
    }
    // From here on the gray view is off, whether the picture came or not.
    if (outcome != ViewState::OpenOutcome::Missing)
        m_grayButton->setText(QStringLiteral("黑白图"));
    switch (outcome) {
    case ViewState::OpenOutcome::Missing:
        m_notifier->showMessage("文件不存在!", MessageIcon::Error);
        return false;
    case ViewState::OpenOutcome::Unreadable:
        m_notifier->showMessage("不能读入指定的图像文件!", MessageIcon::Error);
        return false;
    case ViewState::OpenOutcome::Refused:
    case ViewState::OpenOutcome::TooLarge:
        m_notifier->showMessage(utf8(m_view->message()), MessageIcon::Error);
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

void TForm_TintoraMain::showViewMessage()
{
    m_notifier->showMessage(utf8(m_view->message()), MessageIcon::Error);
}

void TForm_TintoraMain::refreshView()
{
    // The pictures are virtual: only the first screen is computed now.
    m_pictureView->setSource(m_view->view());
    m_pictureView->prepareVisible();
}

void TForm_TintoraMain::repaintView()
{
    updateOverlay();
    m_pictureView->update();
}

void TForm_TintoraMain::updateOverlay()
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

void TForm_TintoraMain::viewChanged()
{
    if (m_magnifierShown) {
        if (!m_view->buildMagnified() && !m_view->message().isEmpty())
            showViewMessage();
    } else {
        m_view->discardMagnified();
    }
}

void TForm_TintoraMain::eraseLens()
{
    m_lensDrawn = false;
    updateOverlay();
}

void TForm_TintoraMain::drawLens()
{
    m_lensDrawn = true;
    updateOverlay();
}

void TForm_TintoraMain::zoomWith(bool (ViewState::*step)())
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

void TForm_TintoraMain::ToolButton_zoomoutClick()
{
    zoomWith(&ViewState::zoomOut);
}

void TForm_TintoraMain::ToolButton_zoominClick()
{
    zoomWith(&ViewState::zoomIn);
}

void TForm_TintoraMain::ToolButton_zoomrealClick()
{
    zoomWith(&ViewState::zoomReal);
}

void TForm_TintoraMain::ToolButton_grayClick()
{
    if (!m_view->hasBase())
        return;
    m_view->toggleGray();
    m_grayButton->setText(m_view->gray() ? QStringLiteral("彩色图") : QStringLiteral("黑白图"));
    refreshView();
    viewChanged();
    repaintView();
}

void TForm_TintoraMain::ToolButton_gridClick()
{
    m_gridShown = !m_gridShown;
    repaintView();
}

void TForm_TintoraMain::ToolButton_MagnifierClick()
{
    if (!m_magnifier)
        m_magnifier = new TForm_magnifier(this);
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

void TForm_TintoraMain::paintBoxMouseMove(QPoint p)
{
    m_status[0]->setText(geometry::mousePositionText(p));
    if (p == m_lensPosition || !m_magnifierShown || !geometry::lensInBounds(p, m_pictureView->boxSize()))
        return;
    m_lensPosition = p;
    drawLens();
    updateMagnifierWindow();
}

void TForm_TintoraMain::updateMagnifierWindow()
{
    const std::shared_ptr<const ViewSource> magnified = m_view->magnified();
    if (!magnified || !m_magnifier)
        return;
    m_magnifier->box()->showArea(*magnified, geometry::magnifierSource(m_lensPosition, m_view->magnifierFactor()));
}

void TForm_TintoraMain::paintBoxMouseDown(QPoint p, Qt::MouseButton)
{
    const ViewSource *source = m_pictureView->source();
    if (!source)
        return;
    if (const std::optional<QPoint> pixel = geometry::viewPixelOfClick(p, source->size()))
        pickColor(*pixel);
}

void TForm_TintoraMain::pickColor(QPoint pixel)
{
    if (!m_colors || !m_view->pictureLoaded() || !m_pictureView->source())
        return;
    const std::optional<RgbColor> color = m_pictureView->source()->colorAt(pixel);
    if (!color)
        return; // outside the view picture: nothing to read
    const ColorPick pick = pigmora::pickColor(m_colors->currentBoxRecords(), *color, mixModelOfSetting(m_mixingMode),
                                              m_cards.get(), m_cards ? cardOf(m_cardChoice) : std::nullopt);
    m_resultPanel->showPick(pick);
    m_status[1]->setText(QString::fromStdString(rgbStatusText(pick.target)));
    m_status[2]->setText(QString::fromStdString(cmykStatusText(pick.cmyk)));
}

} // namespace pigmora::ui
