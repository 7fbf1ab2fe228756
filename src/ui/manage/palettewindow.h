#pragma once

#include "data/color.h"
#include "data/colormanager.h"
#include "manage/coloranalysis.h"
#include "manage/palettecells.h"
#include "manage/palettemime.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class QToolButton;

namespace pigmora {
class CColorManager;
class CConfigManager;
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class ColorAnalysisPaintBox;
class MatchContext;
class PaletteGridPaintBox;
class PaletteRemoveButton;
class PaletteSwatchPaintBox;

// The modeless palette window "色板": one palette at a time as a 25 x 4 grid of
// colour cells, edited in memory until saved. Created once by the main window
// on first use and then shown and hidden, beside the main window the first
// time and where the user put it after that (across runs too). Selecting a
// filled cell analyses its colour into a mix of the current colour box's
// paints, with the main window's mixing mode.
class TForm_paletteManger : public QWidget
{
    Q_OBJECT

public:
    TForm_paletteManger(QWidget *owner, const CStandardColorCard *cards, CColorManager *colors, Notifier *notifier);
    ~TForm_paletteManger() override;

    // Fills ComboBox_paletteList with the palettes of the colour manager,
    // selects "Morvane色板", makes it the loaded palette and loads it. Unsaved
    // changes of a palette that still exists are offered for saving first.
    void refillPaletteList();

    // Whether the window is shown; the main window toggles it.
    bool shownFlag() const { return m_shown; }
    void setShownFlag(bool shown);

    int selectedCellIndex() const { return m_selectedCell; }
    bool isSelectedCellFilled() const;
    void selectFirstEmptyCell();
    // Fills the selected cell with the colour when it is empty (no cell
    // selected, or a filled one: nothing).
    void putColorInSelectedCell(int red, int green, int blue);
    // Repaints the grid (PaintBox_palette).
    void repaintPalette();

    // Where the pick button and "增加色彩" get the main window's picked colour
    // (none before the first pick).
    using PickedColorSource = std::function<std::optional<RgbColor>()>;
    void setPickedColorSource(PickedColorSource source) { m_pickedColor = std::move(source); }

    // Set by the main window when its picked-colour swatch starts a drag.
    void setExternalDrag(bool dragging, const RgbColor &color);
    bool externalDrag() const { return m_externalDrag; }

    // Asked when the program closes: unsaved changes are offered for saving
    // with the palette change question. False keeps the program open (the
    // save failed).
    bool confirmClose();

    // --- State, for the main window and tests ---
    const PaletteCells &cells() const { return m_cells; }
    bool isModified() const { return m_modified; }
    int loadedPaletteIndex() const { return m_loadedIndex; }
    void setLoadedPaletteIndex(int index) { m_loadedIndex = index; }
    // How many records of the loaded palette had no place in the grid.
    int droppedOnLoad() const { return m_droppedOnLoad; }
    QColor currentColor() const { return m_currentColor; }
    const ColorAnalysis &analysis() const { return m_analysis; }
    // Writes the loaded palette as a GIMP palette file; false (with a
    // message) when it cannot be written.
    bool exportPalette(const QString &path);
    // Where the export dialog remembers its folder and the window its place
    // across runs (none: for this run only).
    void setConfig(CConfigManager *config) { m_config = config; }
    // What the main window answers with (its mixing mode and box); the
    // analysis follows its changes. Without it the analysis is subtractive.
    void setMatchContext(const MatchContext *context);

public Q_SLOTS:
    void ComboBox_paletteListChange();
    void bbtn_saveClick();
    void ToolButton_pickColorClick();
    void mp_removeColorClick();
    void mp_addColorClick();
    void mp_ColorPropertiesClick();
    void mi_clearColorPanelClick();
    void PopupMenu_palettePopup();
    void exportPaletteClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildControls();
    void buildPopupMenu();
    // A palette is selected in the combo and its colours were read.
    bool hasPalette() const;
    void setModified(bool modified);
    // Saves the loaded palette; false (with a message) when it fails.
    bool savePalette();
    void loadSelectedPalette();
    // Moves the selection and shows the cell's colour; a filled cell is
    // analysed when asked.
    void selectCell(int cell, bool analyse = true);
    void analyseCurrentColor();
    void cellPressed(int cell);
    void gridDrop(int cell, const PaletteDrag &drag);
    void removeButtonDrop(const PaletteDrag &drag);
    void removeCellAfterQuestion(int cell);
    // The first place: stored, else beside the main window.
    void placeOnFirstShow();
    // Keeps the place the user moved the window to.
    void rememberPlace();
    // "柠檬黄 96.00 % + 白色 4.00 %": a colour's recipe under the current
    // settings, empty when it has none.
    std::string recipeOf(const RgbColor &color) const;

    const CStandardColorCard *m_cards;
    CColorManager *m_colors;
    Notifier *m_notifier;
    bool m_shown = false;
    bool m_placed = false;
    QPoint m_placedAt; // where it was put automatically
    const MatchContext *m_match = nullptr;
    int m_selectedCell = -1;
    bool m_externalDrag = false;
    RgbColor m_externalColor;
    PickedColorSource m_pickedColor;

    PaletteCells m_cells;
    int m_loadedIndex = -1;
    bool m_loaded = false;
    CColorManager::StoredVersion m_loadedVersion; // of the loaded palette, as read or last saved
    bool m_modified = false;
    int m_droppedOnLoad = 0;
    int m_dragSourceCell = -1;
    QColor m_currentColor;
    ColorAnalysis m_analysis;
    QString m_exportFolder;
    CConfigManager *m_config = nullptr;

    QComboBox *m_paletteList = nullptr;
    PaletteSwatchPaintBox *m_swatch = nullptr;
    PaletteGridPaintBox *m_grid = nullptr;
    QToolButton *m_pickButton = nullptr;
    PaletteRemoveButton *m_removeButton = nullptr;
    ColorAnalysisPaintBox *m_analysisBox = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_removeAction = nullptr;
    QAction *m_addAction = nullptr;
    QAction *m_propertiesAction = nullptr;
    QAction *m_clearAction = nullptr;
    QAction *m_exportAction = nullptr;
};

} // namespace pigmora::ui
