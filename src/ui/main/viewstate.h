#pragma once

#include "data/status.h"
#include "engine/photocorrection.h"
#include "image/picturesource.h"
#include "main/viewsource.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QImage;

namespace pigmora {
class CImageEngine;
struct PictureLoad;
struct PictureLoadRequest;
} // namespace pigmora

namespace pigmora::ui {

// The pictures behind the picture view and the magnifier: the image engine
// with the base picture (as opened), the view picture (gray and zoomed as
// asked) and the magnified picture, and the zoom and gray state they are
// made for. The view and the magnified picture are virtual: never built
// whole, their tiles computed as they are shown, picked or copied. No
// widgets: the main window asks, then shows what it gets.
class ViewState
{
public:
    // maxSide: the longest side a view picture may have.
    explicit ViewState(int maxSide = kMaxPictureSide);
    ~ViewState();
    ViewState(const ViewState &) = delete;
    ViewState &operator=(const ViewState &) = delete;

    // Longest side of a view or magnified picture: the view's paint box (the
    // picture and 19 pixels) must fit a widget, and the magnifier's
    // coordinates stay in the same range. Beyond it a zoom step or the
    // magnifier is refused. Virtual pictures take no memory for their size,
    // so there is no other bound.
    static constexpr int kMaxPictureSide = QWIDGETSIZE_MAX - 19;
    static bool sizeAllowed(qint64 width, qint64 height, int maxSide = kMaxPictureSide);

    enum class OpenOutcome {
        Opened,
        Missing, // "文件不存在!": nothing changed
        Unreadable, // "不能读入指定的图像文件!"
        Refused, // the decoder's reason is in message()
        TooLarge, // the picture cannot be shown at 100 %
        Cancelled, // the load was stopped: nothing changed
    };
    // Opens a picture file at 100 %; from Unreadable on the engine is empty
    // and the previous view picture stays on show (but zoom and gray do
    // nothing).
    OpenOutcome open(const std::filesystem::path &path);
    // What loading a picture for this state asks: at the largest zoom step
    // that fits room (view pixels; empty: 100 %), with the view's workers.
    PictureLoadRequest loadRequest(const std::filesystem::path &path, QSize room) const;
    // Takes a load finished elsewhere (loadPictureForView) over, as open()
    // would have ended: the picture at the load's zoom step, colour view.
    OpenOutcome adopt(PictureLoad &&load);
    // The start-up sample: the bitmap becomes the base picture.
    bool openImage(const QImage &image);
    const QString &message() const { return m_message; }

    // Zoom steps; each returns whether the view picture was rebuilt. The zoom
    // index changes even with no picture open; a step whose picture would be
    // too large is refused (false, message() says so, nothing changes).
    bool zoomOut();
    bool zoomIn();
    bool zoomReal();
    // Any step (fit to the window); refused like the others.
    bool zoomTo(int index);
    int zoomIndex() const { return m_zoomIndex; }
    bool zoomed() const { return m_zoomed; }
    float zoom() const;

    // Switches the black-and-white view; false when no picture is open.
    bool toggleGray();
    bool gray() const { return m_tone == PictureTone::Gray; }
    // How the view shows the picture: colour, gray, or a value view; false
    // when no picture is open.
    bool setTone(PictureTone tone);
    PictureTone tone() const { return m_tone; }
    // Whether a pick reads another picture than the one on show: a value
    // view is picked in the colours of the picture.
    bool picksOriginalColours() const { return m_tone != PictureTone::Colour && m_tone != PictureTone::Gray; }

    // Makes the magnified picture for the current view; discards it.
    bool buildMagnified();
    void discardMagnified();
    bool hasMagnified() const { return m_magnified != nullptr; }
    float magnifierFactor() const { return m_factor; }

    bool pictureLoaded() const { return m_pictureLoaded; }
    bool hasBase() const { return !m_baseId.empty(); }
    // What is on show (null before the first picture) and the magnifier's
    // picture (null when none).
    std::shared_ptr<const ViewSource> view() const { return m_view; }
    std::shared_ptr<const ViewSource> magnified() const { return m_magnified; }
    // What a pick reads at the view's pixels: the view itself, or for a value
    // view the colour picture at the same zoom (made on first use).
    std::shared_ptr<const ViewSource> pickSource();
    // The base picture's size (empty when none).
    QSize baseSize() const;

    // The colour correction in force (none at first): the view, the
    // magnifier and the picks show the corrected picture, in every tone.
    // Opening a picture drops it. False when no picture is open.
    bool setCorrection(PhotoCorrection correction);
    const PhotoCorrection &correction() const { return m_correction; }
    // Whether the view and the picks show the correction in force (on with
    // each new one); off, they are exactly those without it. True when the
    // view was rebuilt.
    bool showCorrection(bool shown);
    bool correctionShown() const { return m_correctionShown && m_correction.isOn(); }
    // A white balance on the uncorrected colour picture's sample of the
    // given size at a view pixel; a chart calibration on corner points in
    // the base picture's coordinates. Refused with the core's reason.
    Result<PhotoCorrection> measureWhite(QPoint viewPixel, int sampleSize);
    Result<PhotoCorrection> measureChart(const std::array<chart::Point, 4> &corners);

    // A pick at a view pixel with an area sample: the colour to answer for
    // (corrected when a correction is on; in a value view from the colours)
    // and, under a correction, the photo's own colour there. None outside
    // the view or when memory is refused.
    struct Sample {
        RgbColor color;
        std::optional<RgbColor> photo;
    };
    std::optional<Sample> sampleAt(QPoint viewPixel, int sampleSize);

    CImageEngine &engine() { return *m_engine; }

private:
    void resetForOpen();
    // Makes the view picture from the base; false when none was made.
    bool rebuildView();
    std::shared_ptr<const PictureSource> pictureSource();
    // The correction's transform while it is shown, null otherwise.
    std::shared_ptr<const ColorTransform> shownTransform() const;
    // The base picture's colours without the correction, and a view of
    // them (or of their gray) at the zoom step, made on first use.
    std::shared_ptr<const PictureSource> plainColours();
    const VirtualPicture *plainView(bool gray);
    // Refuses a size with the message; true when it may be built.
    bool checkSize(qint64 width, qint64 height);

    std::unique_ptr<CImageEngine> m_engine;
    int m_maxSide;
    std::string m_baseId;
    // The base picture's pixels as the virtual pictures read them, colour
    // or gray (the gray rows converted as they are first read).
    std::shared_ptr<const PictureSource> m_source;
    PictureTone m_tone = PictureTone::Colour;
    bool m_zoomed = false;
    int m_zoomIndex;
    bool m_pictureLoaded = false;
    float m_factor = 1.0f;
    std::shared_ptr<const ViewSource> m_view;
    std::shared_ptr<const ViewSource> m_magnified;
    std::shared_ptr<const ViewSource> m_pickView; // value views: the colours at the view's zoom
    QString m_message;
    PhotoCorrection m_correction;
    bool m_correctionShown = true;
    std::shared_ptr<const PictureSource> m_plainColours;
    std::shared_ptr<const ViewSource> m_plainView; // uncorrected, at the view's zoom
};

// "图像太大，不能按此比例显示!"
QString tooLargeMessage();

} // namespace pigmora::ui
