// The main window's picture commands and pick, handed over to its picture
// controller; the open dialog and the "视图" menu.
#include "main/mainwindow.h"

#include "main/matchcontext.h"
#include "main/picturecontroller.h"
#include "main/viewstate.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace pigmora::ui {

void TForm_TintoraMain::mi_openClick()
{
    QString folder;
    if (m_config) {
        if (const std::optional<std::string> last = lastFolder(*m_config, settingkeys::kLastPictureFolder))
            folder = QString::fromStdString(*last);
    }
    const QString path = QFileDialog::getOpenFileName(
        this, tr("打开照片"), folder,
        tr("图像文件 (*.jpg *.jpeg *.bmp *.dib *.png *.JPG *.JPEG *.BMP *.DIB *.PNG);;"
                       "JPEG (*.jpg *.jpeg *.JPG *.JPEG);;位图 (*.bmp *.dib *.BMP *.DIB);;PNG (*.png *.PNG)"));
    if (path.isEmpty())
        return;
    m_dialogPicture = path;
    m_pictures->beginOpen(path.toStdString());
}

void TForm_TintoraMain::pictureOpened(const QString &path)
{
    // The dialog starts where its last picture came from.
    if (path == m_dialogPicture && m_config && !m_readOnly)
        saveLastFolder(*m_config, settingkeys::kLastPictureFolder, QFileInfo(path).absolutePath().toStdString());
    m_dialogPicture.clear();
}

void TForm_TintoraMain::buildViewMenu(QToolBar *toolbar)
{
    QMenu *menu = new QMenu(tr("视图(&V)"), this);
    menu->setObjectName(QStringLiteral("mi_view"));
    menuBar()->insertMenu(menuBar()->actions().value(1), menu); // after "文件"
    QAction *fit = menu->addAction(tr("适合窗口(&W)"), this, &TForm_TintoraMain::ToolButton_zoomfitClick);
    fit->setObjectName(QStringLiteral("mi_fitWindow"));
    fit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_9));
    menu->addSeparator();

    // How the picture is shown; the value views answer picks in its colours.
    auto *tones = new QActionGroup(this);
    const struct {
        const char *name;
        const char *caption;
        PictureTone tone;
    } choices[] = {
        {"mi_toneColour", QT_TR_NOOP("彩色(&C)"), PictureTone::Colour},
        {"mi_toneGray", QT_TR_NOOP("黑白(&B)"), PictureTone::Gray},
        {"mi_toneValue", QT_TR_NOOP("明度(&L)"), PictureTone::Value},
        {"mi_toneSteps3", QT_TR_NOOP("明度 3 级(&3)"), PictureTone::ValueSteps3},
        {"mi_toneSteps5", QT_TR_NOOP("明度 5 级(&5)"), PictureTone::ValueSteps5},
        {"mi_toneSteps9", QT_TR_NOOP("明度 9 级(&9)"), PictureTone::ValueSteps9},
    };
    auto *valueMenu = new QMenu(this);
    for (const auto &choice : choices) {
        QAction *action = menu->addAction(tr(choice.caption));
        action->setObjectName(QString::fromLatin1(choice.name));
        action->setCheckable(true);
        action->setChecked(choice.tone == PictureTone::Colour);
        action->setData(static_cast<int>(choice.tone));
        tones->addAction(action);
        valueMenu->addAction(action);
        connect(action, &QAction::triggered, this, [this, tone = choice.tone] { m_pictures->setTone(tone); });
    }
    m_toneActions = tones;

    auto *fitButton = new QToolButton(toolbar);
    fitButton->setObjectName(QStringLiteral("ToolButton_zoomfit"));
    fitButton->setIcon(QIcon(QStringLiteral(":/pigmora/icons/zoomfit.svg")));
    fitButton->setToolTip(tr("适合窗口"));
    connect(fitButton, &QToolButton::clicked, this, &TForm_TintoraMain::ToolButton_zoomfitClick);
    toolbar->insertWidget(toolbar->actions().value(5), fitButton); // after "实际大小"

    auto *button = new QToolButton(toolbar);
    button->setObjectName(QStringLiteral("ToolButton_value"));
    button->setIcon(QIcon(QStringLiteral(":/pigmora/icons/value.svg")));
    button->setToolTip(tr("明度视图"));
    button->setMenu(valueMenu);
    button->setPopupMode(QToolButton::InstantPopup);
    toolbar->insertWidget(toolbar->actions().value(2), button); // after "黑白"
}

void TForm_TintoraMain::showTone()
{
    const int tone = static_cast<int>(m_pictures->viewState().tone());
    for (QAction *action : m_toneActions->actions())
        action->setChecked(action->data().toInt() == tone);
}

void TForm_TintoraMain::ToolButton_zoomfitClick()
{
    m_pictures->zoomToFit();
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
