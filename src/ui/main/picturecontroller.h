#pragma once

#include "data/color.h"
#include "image/picturesource.h"
#include "main/chartclicks.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QProgressBar;
class QScrollArea;
class QWidget;

namespace pigmora {
class Notifier;
class PhotoCorrection;
struct PictureLoad;
} // namespace pigmora

namespace pigmora::ui {

class PictureLoader;
class PictureView;
class StatusPanels;
class TForm_magnifier;
class ViewState;

// Where a picked colour comes from: the view as shown, or, in a value view,
// the colours of the picture at the same place.
enum class PickOrigin { View, PictureColours };

// The picture commands of the main window: opening a picture (decoded on a
// thread of its own, a JPEG's preview first), zoom and fit to the window,
// the gray and value views, the grid, the magnifier with its rectangle, the
// mouse read-out and turning a click into the colour to pick. It owns the
// pictures (ViewState), the loader and the magnifier window; the window gives
// it the scroll box with the paint box, the status panels it writes (0 mouse
// position, 4 zoom step, 5 the picture's pixel, 6 the correction in force or
// the clicks it waits for) and the progress bar. It also takes the colour
// corrections' points from clicks on the picture and puts them in force.
class PictureController : public QObject
{
    Q_OBJECT

public:
    PictureController(QWidget *window, QScrollArea *scroll, PictureView *view, StatusPanels *status,
                      QProgressBar *progress, Notifier *notifier);
    ~PictureController() override;

    // The start-up sample picture (no message when it cannot be taken).
    void showSample();
    // Starts opening a picture file; the window stays responsive while it is
    // read (the wait cursor, the progress in the status bar), and opening
    // another picture meanwhile stops it. False when the file is not there
    // (said at once). opened() or a message tells how it ended.
    bool beginOpen(const std::filesystem::path &path);
    // Opens a picture and waits until it is on show or refused (scripts and
    // tests); true when it opened.
    bool openPicture(const std::filesystem::path &path);
    bool loading() const;

    void zoomOut();
    void zoomIn();
    void zoomReal();
    // The largest zoom step at which the whole picture fits the window.
    void zoomToFit();
    void toggleGray();
    // Colour, gray or a value view (the gray toggle's caption follows).
    void setTone(PictureTone tone);
    void toggleGrid();
    void toggleMagnifier();
    void setGridCounts(int columns, int rows);
    // Square cells of the smaller of the two divisions instead of the
    // columns x rows grid.
    void setSquareCells(bool square);
    // Destroys the magnifier window (the first step of the window's end).
    void destroyMagnifier();

    // The paint box's mouse, in paint-box points.
    void mouseMovedTo(QPoint p);
    void pressedAt(QPoint p, Qt::MouseButton button);
    // Picks the colour at a view-picture pixel: emits picked() unless no
    // picture is loaded, one is being read in its place, or the pixel is
    // outside the view picture.
    void pickAt(QPoint pixel);

    // The side of the square of original pixels a pick takes the mean of
    // (1: the pixel as shown). A change answers the last pick again.
    void setSampleSize(int size);
    int sampleSize() const { return m_sampleSize; }

    // What the next clicks on the picture do: pick, take the white
    // reference, or take the chart's corners.
    enum class ClickMode { Pick, WhiteReference, ChartCorners };
    ClickMode clickMode() const { return m_clickMode; }
    void startWhiteBalance();
    void startChartCalibration();
    // Escape: back to picking, the correction as it was.
    void cancelCorrectionClicks();
    // Back to the uncorrected picture.
    void clearCorrection();
    // Shows the correction in force or the picture as without it (the
    // view, the picks and the white reference's mark).
    void showCorrection(bool shown);
    // The correction's line in the status bar (empty: none in force).
    QString correctionText() const;
    const ChartClicks &chartClicks() const { return m_chartClicks; }

    // Room for the view picture in the scroll box, in view pixels.
    QSize pictureRoom() const;

    ViewState &viewState() { return *m_view; }
    TForm_magnifier *magnifier() const { return m_magnifier; }
    bool magnifierShown() const { return m_magnifierShown; }
    QPoint lensPosition() const { return m_lensPosition; }
    bool lensDrawn() const { return m_lensDrawn; }
    int gridColumns() const { return m_gridColumns; }
    int gridRows() const { return m_gridRows; }
    bool gridShown() const { return m_gridShown; }
    bool squareCells() const { return m_squareCells; }

Q_SIGNALS:
    // The colour to answer for.
    void picked(const pigmora::RgbColor &color, pigmora::ui::PickOrigin origin);
    // The gray button's caption: "黑白图" or "彩色图".
    void grayCaptionChanged(const QString &caption);
    // With each pick: the photo's own colour when a correction changed it,
    // none otherwise.
    void photoColourPicked(const std::optional<pigmora::RgbColor> &photo);
    // Clicks on the picture started or stopped taking a correction's points.
    void clickModeChanged(bool correcting);
    // A correction came or went, or was shown or hidden.
    void correctionChanged(bool exists, bool shown);
    // A picture opened (not the sample).
    void opened(const QString &path);
    // Any open ended, opened or not.
    void openEnded();

private:
    void previewReady(const QImage &preview, QSize fullSize);
    void loadFinished(const std::shared_ptr<PictureLoad> &load);
    void setWaiting(bool waiting);
    void refreshView(bool prepare = true);
    void viewChanged();
    void repaintView();
    void updateOverlay();
    void eraseLens();
    void drawLens();
    void updateMagnifierWindow();
    void showViewMessage();
    void showZoomStep();
    void zoomWith(const std::function<bool()> &step);
    void correctionClick(QPoint pixel);
    void applyCorrection(PhotoCorrection correction, std::optional<chart::Point> whiteReference = std::nullopt);
    // Makes a change to the picture's view (true: the view was rebuilt) and
    // shows its outcome.
    void updateView(const std::function<bool()> &change);
    void setClickMode(ClickMode mode);
    void showCorrectionStatus();
    void pictureReplaced();
    void pickAgain();

    QWidget *m_window;
    QScrollArea *m_scroll;
    PictureView *m_pictureView;
    StatusPanels *m_status;
    QProgressBar *m_progress;
    Notifier *m_notifier;
    std::unique_ptr<ViewState> m_view;
    PictureLoader *m_loader;
    TForm_magnifier *m_magnifier = nullptr;
    std::filesystem::path m_loadingPath;
    bool m_waiting = false;

    int m_gridColumns = 8;
    int m_gridRows = 6;
    bool m_gridShown = false;
    bool m_squareCells = false;
    bool m_magnifierShown = false;
    QPoint m_lensPosition{-1, -1};
    bool m_lensDrawn = false;

    int m_sampleSize = 1;
    std::optional<QRect> m_sampleArea; // under the cursor, in paint-box points
    ClickMode m_clickMode = ClickMode::Pick;
    ChartClicks m_chartClicks;
    // The white balance's reference in the base picture's coordinates, while
    // that white balance is in force.
    std::optional<chart::Point> m_whiteReference;
    // The last pick (view pixel at a view size), answered again when the
    // sample size or the correction changes.
    struct LastPick {
        QPoint pixel;
        QSize view;
        QPoint base;
    };
    std::optional<LastPick> m_lastPick;
};

} // namespace pigmora::ui
