// The main window's picture commands and pick, handed over to its picture
// controller; the open dialog.
#include "main/mainwindow.h"

#include "main/matchcontext.h"
#include "main/picturecontroller.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <QFileDialog>

namespace pigmora::ui {

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
    return m_pictures->openPicture(path);
}

void TForm_TintoraMain::ToolButton_zoomoutClick()
{
    m_pictures->zoomOut();
}

void TForm_TintoraMain::ToolButton_zoominClick()
{
    m_pictures->zoomIn();
}

void TForm_TintoraMain::ToolButton_zoomrealClick()
{
    m_pictures->zoomReal();
}

void TForm_TintoraMain::ToolButton_grayClick()
{
    m_pictures->toggleGray();
}

void TForm_TintoraMain::ToolButton_gridClick()
{
    m_pictures->toggleGrid();
}

void TForm_TintoraMain::ToolButton_MagnifierClick()
{
    m_pictures->toggleMagnifier();
}

void TForm_TintoraMain::paintBoxMouseMove(QPoint p)
{
    m_pictures->mouseMovedTo(p);
}

void TForm_TintoraMain::paintBoxMouseDown(QPoint p, Qt::MouseButton button)
{
    m_pictures->pressedAt(p, button);
}

void TForm_TintoraMain::pickColor(QPoint pixel)
{
    m_pictures->pickAt(pixel);
}

ViewState &TForm_TintoraMain::viewState()
{
    return m_pictures->viewState();
}

TForm_magnifier *TForm_TintoraMain::magnifier() const
{
    return m_pictures->magnifier();
}

int TForm_TintoraMain::gridColumns() const
{
    return m_pictures->gridColumns();
}

int TForm_TintoraMain::gridRows() const
{
    return m_pictures->gridRows();
}

bool TForm_TintoraMain::gridShown() const
{
    return m_pictures->gridShown();
}

bool TForm_TintoraMain::magnifierShown() const
{
    return m_pictures->magnifierShown();
}

QPoint TForm_TintoraMain::lensPosition() const
{
    return m_pictures->lensPosition();
}

bool TForm_TintoraMain::lensDrawn() const
{
    return m_pictures->lensDrawn();
}

int TForm_TintoraMain::mixingMode() const
{
    return m_match->mixingMode();
}

} // namespace pigmora::ui
