#pragma once

#include "data/color.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace pigmora {
class CColorManager;
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// The modeless palette window "色板": one palette at a time as a 25 x 4 grid of
// colour cells, edited in memory until saved. Created once by the main window
// on first use and then shown and hidden.
//
// This is the interface the main window uses (hand-overs d and e, saving a
// picked colour); the window itself is not built yet.
class TForm_paletteManger : public QWidget
{
    Q_OBJECT

public:
    TForm_paletteManger(QWidget *owner, const CStandardColorCard *cards, CColorManager *colors, Notifier *notifier);
    ~TForm_paletteManger() override;

    // Fills ComboBox_paletteList with the palettes of the colour manager,
    // selects "Morvane色板", makes it the loaded palette and loads it.
    void refillPaletteList();

    // Whether the window is shown; the main window toggles it.
    bool shownFlag() const { return m_shown; }
    void setShownFlag(bool shown);

    int selectedCellIndex() const { return m_selectedCell; }
    bool isSelectedCellFilled() const;
    void selectFirstEmptyCell();
    // Fills the selected cell with the colour (no cell selected: nothing).
    void putColorInSelectedCell(int red, int green, int blue);
    // Repaints the grid (PaintBox_palettePaint).
    void repaintPalette();

    // Where the pick button and "增加色彩" get the main window's picked colour
    // (none before the first pick).
    using PickedColorSource = std::function<std::optional<RgbColor>()>;
    void setPickedColorSource(PickedColorSource source) { m_pickedColor = std::move(source); }

    // Set by the main window when its picked-colour swatch starts a drag.
    void setExternalDrag(bool dragging, const RgbColor &color);

    // Asked when the program closes: unsaved changes are offered for saving
    // with the palette change question. False keeps the program open.
    bool confirmClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const CStandardColorCard *m_cards;
    CColorManager *m_colors;
    Notifier *m_notifier;
    bool m_shown = false;
    int m_selectedCell = -1;
    bool m_externalDrag = false;
    RgbColor m_externalColor;
    PickedColorSource m_pickedColor;
};

} // namespace pigmora::ui
