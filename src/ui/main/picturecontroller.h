#pragma once

#include "data/color.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <filesystem>
#include <memory>

class QWidget;

namespace pigmora {
class Notifier;
}

namespace pigmora::ui {

class PictureView;
class StatusPanels;
class TForm_magnifier;
class ViewState;

// The picture commands of the main window: opening a picture, zoom, the gray
// view, the grid, the magnifier with its rectangle, the mouse read-out and
// turning a click into the colour to pick. It owns the pictures (ViewState)
// and the magnifier window; the window gives it the paint box and the
// status panels it writes (panel 0).
class PictureController : public QObject
{
    Q_OBJECT

public:
    PictureController(QWidget *window, PictureView *view, StatusPanels *status, Notifier *notifier);
    ~PictureController() override;

    // The start-up sample picture (no message when it cannot be taken).
    void showSample();
    // Opens a picture file; false (after saying why) when it did not open.
    bool openPicture(const std::filesystem::path &path);

    void zoomOut();
    void zoomIn();
    void zoomReal();
    void toggleGray();
    void toggleGrid();
    void toggleMagnifier();
    void setGridCounts(int columns, int rows);
    // Destroys the magnifier window (the first step of the window's end).
    void destroyMagnifier();

    // The paint box's mouse, in paint-box points.
    void mouseMovedTo(QPoint p);
    void pressedAt(QPoint p, Qt::MouseButton button);
    // Picks the colour at a view-picture pixel: emits picked() unless no
    // picture is loaded or the pixel is outside the view picture.
    void pickAt(QPoint pixel);

    ViewState &viewState() { return *m_view; }
    TForm_magnifier *magnifier() const { return m_magnifier; }
    bool magnifierShown() const { return m_magnifierShown; }
    QPoint lensPosition() const { return m_lensPosition; }
    bool lensDrawn() const { return m_lensDrawn; }
    int gridColumns() const { return m_gridColumns; }
    int gridRows() const { return m_gridRows; }
    bool gridShown() const { return m_gridShown; }

Q_SIGNALS:
    // The colour to answer for.
    void picked(const pigmora::RgbColor &color);
    // The gray button's caption: "黑白图" or "彩色图".
    void grayCaptionChanged(const QString &caption);

private:
    void refreshView();
    void viewChanged();
    void repaintView();
    void updateOverlay();
    void eraseLens();
    void drawLens();
    void updateMagnifierWindow();
    void showViewMessage();
    void zoomWith(bool (ViewState::*step)());

    QWidget *m_window;
    PictureView *m_pictureView;
    StatusPanels *m_status;
    Notifier *m_notifier;
    std::unique_ptr<ViewState> m_view;
    TForm_magnifier *m_magnifier = nullptr;

    int m_gridColumns = 8;
    int m_gridRows = 6;
    bool m_gridShown = false;
    bool m_magnifierShown = false;
    QPoint m_lensPosition{-1, -1};
    bool m_lensDrawn = false;
};

} // namespace pigmora::ui
