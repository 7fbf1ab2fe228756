#pragma once

#include "data/color.h"

#include <QFrame>
#include <QWidget>

#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;

#include "engine/colorpick.h"

namespace pigmora::ui {

// A colour swatch (the panel's Shape_ controls). Its context menu copies the
// colour as RGB, hex or CMYK text. A left press reports itself; moving on by
// the platform's drag distance afterwards reports a drag start.
class ColorSwatch : public QFrame
{
    Q_OBJECT

public:
    explicit ColorSwatch(const QString &objectName, QWidget *parent = nullptr);

    void setColor(const RgbColor &color);
    // No colour: the swatch shows the panel's background.
    void clearColor();
    std::optional<RgbColor> color() const { return m_color; }

Q_SIGNALS:
    void pressed(Qt::MouseButton button);
    void released();
    void dragStarted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    std::optional<RgbColor> m_color;
    std::optional<QPoint> m_pressPoint;
};

// "R:255 G:128 B:0", "#FF8000" and "C:0 M:49 Y:100 K:0" as copied from a
// swatch.
QString rgbCopyText(const RgbColor &color);
QString hexCopyText(const RgbColor &color);
QString cmykCopyText(const RgbColor &color);

// The result panel Panel_showinfo below the picture: the picked colour and
// its save button, paints 1 to 3 with names and proportions, the mixed
// colour with its deviation and the nearest standard card entry, the last two
// with their ΔE00 from the picked colour; at the end the picked and the mixed
// colour side by side. Hidden paint groups keep their place, so the panel
// does not move with the number of paints. Beside them the whole-part recipe:
// each paint's parts (and "一点" where it takes only a touch), the parts
// mix's ΔE00 and how forgiving it is, and the button that records the mix
// the painter made of it.
class ResultPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ResultPanel(QWidget *parent = nullptr);

    // A pick: the picked colour always; paints, mix and card entry only when
    // the solve succeeded (otherwise they keep the previous pick's answer).
    void showPick(const ColorPick &pick);
    // Paints, mix and card entry back to blank, the paint groups hidden: the
    // answer shown no longer holds and there is none in its place.
    void clearAnswer();
    // Says under the pair of swatches that the colour came from the
    // picture's colours, not from the (value) view on show.
    void setPickedFromPictureColours(bool fromPicture);
    // Under a colour correction: the photo's own colour at the pick, shown
    // beside the corrected one; none hides the line.
    void setPhotoColor(const std::optional<RgbColor> &photo);
    // The card group: its caption, or hidden for an empty caption.
    void setCardCaption(const QString &caption);

    std::optional<RgbColor> pickedColor() const;
    // The solved answer on show; none before the first or after clearAnswer.
    const std::optional<ColorPick> &answer() const { return m_answer; }
    QPushButton *saveButton() const { return m_save; }
    // "记录实际混色": enabled while the answer on show mixes two or three paints.
    QPushButton *recordMixButton() const { return m_recordMix; }
    ColorSwatch *pickedSwatch() const { return m_picked; }
    // The pair of swatches: picked, mixed.
    ColorSwatch *comparedPicked() const { return m_comparePicked; }
    ColorSwatch *comparedMixed() const { return m_compareMixed; }

Q_SIGNALS:
    // The answer on show changed (answer() tells which).
    void answerChanged();

private:
    void setAnswer(std::optional<ColorPick> answer);

    struct PaintGroup {
        QGroupBox *box = nullptr;
        ColorSwatch *swatch = nullptr;
        QLabel *name = nullptr;
        QLabel *rate = nullptr;
        QLabel *touch = nullptr;
        QLabel *parts = nullptr;
    };

    ColorSwatch *m_picked;
    QLabel *m_pickedValues;
    QPushButton *m_save;
    std::array<PaintGroup, 3> m_paints;
    ColorSwatch *m_mixed;
    QLabel *m_mixedValues;
    QLabel *m_distance;
    QLabel *m_mixDeltaE00;
    QLabel *m_mixParts;
    QPushButton *m_recordMix;
    std::optional<ColorPick> m_answer;
    QGroupBox *m_cardBox;
    ColorSwatch *m_card;
    QLabel *m_cardName;
    QLabel *m_cardDeltaE00;
    ColorSwatch *m_comparePicked;
    ColorSwatch *m_compareMixed;
    QLabel *m_pickNote;
    QLabel *m_photoColor;
};

} // namespace pigmora::ui
