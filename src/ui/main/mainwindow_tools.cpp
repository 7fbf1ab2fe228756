// The main window's settings dialogs, the hand-overs to the management
// windows, the palette window and saving a picked colour.
#include "main/mainwindow.h"

#include "data/colormanager.h"
#include "main/aboutwindow.h"
#include "main/matchcontext.h"
#include "main/picturecontroller.h"
#include "main/pictureview.h"
#include "main/recordedmixesdialog.h"
#include "main/recordmixdialog.h"
#include "main/resultpanel.h"
#include "main/settingsdialogs.h"
#include "manage/handovers.h"
#include "manage/palettemime.h"
#include "manage/palettewindow.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <QComboBox>
#include <QDrag>

namespace pigmora::ui {

void TForm_TintoraMain::mi_setGridCountClick()
{
    TForm_setGridCount dialog(this);
    dialog.setCounts(m_pictures->gridColumns(), m_pictures->gridRows());
    dialog.setSquareCells(m_pictures->squareCells());
    dialog.exec();
    if (!dialog.confirmed())
        return;
    if (m_config) {
        if (const SettingsSave saved = saveGridCount(*m_config, dialog.columns(), dialog.rows()); !saved)
            settingsNotSaved(saved.status.message());
        // Stored once it was ever chosen; a file without it has columns x rows.
        if (dialog.squareCells() || storedText(*m_config, settingkeys::kGridSquareCells))
            saveText(*m_config, settingkeys::kGridSquareCells, dialog.squareCells() ? "1" : "0");
    }
    m_pictures->setSquareCells(dialog.squareCells());
    m_pictures->setGridCounts(dialog.columns(), dialog.rows());
}

void TForm_TintoraMain::mi_mixingOptionClick()
{
    TForm_setColorMixing dialog(this);
    dialog.setMixingMode(m_match->mixingMode());
    dialog.setMaxParts(m_match->maxParts());
    dialog.exec();
    if (!dialog.confirmed())
        return;
    if (dialog.maxParts() != m_match->maxParts())
        m_match->setMaxParts(dialog.maxParts());
    m_match->setMixingMode(dialog.mixingMode());
    if (m_config) {
        if (const SettingsSave saved = saveMixingMode(*m_config, m_match->mixingMode()); !saved)
            settingsNotSaved(saved.status.message());
        else if (!saveMaxParts(*m_config, m_match->maxParts()))
            settingsNotSaved(m_config->lastError().message());
    }
    m_pictureView->update(); // the status bar follows the repaint
}

RecordMixDialog *TForm_TintoraMain::recordMixDialog() const
{
    return m_recordMix;
}

void TForm_TintoraMain::mi_recordMixClick()
{
    const std::optional<ColorPick> &answer = m_resultPanel->answer();
    const std::optional<MixRecipe> recipe
        = answer ? mixRecipeOf(*answer, mixModelOfSetting(m_match->mixingMode())) : std::nullopt;
    if (!recipe)
        return;
    // One at a time, for the recipe on show now.
    delete m_recordMix;
    m_recordMix = new RecordMixDialog(*recipe, *m_match, m_notifier, this);
    m_recordMix->setAttribute(Qt::WA_DeleteOnClose);
    m_recordMix->show();
}

RecordedMixesDialog *TForm_TintoraMain::recordedMixesDialog() const
{
    return m_recordedMixes;
}

void TForm_TintoraMain::mi_recordedMixesClick()
{
    if (!m_recordedMixes) {
        m_recordedMixes = new RecordedMixesDialog(m_folder, m_match.get(), m_notifier, this);
        m_recordedMixes->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_recordedMixes->show();
    m_recordedMixes->raise();
    m_recordedMixes->activateWindow();
}

void TForm_TintoraMain::mi_aboutClick()
{
    TForm_About about(this);
    about.exec();
}

void TForm_TintoraMain::afterManagement(bool changed)
{
    if (!changed || !m_colors)
        return;
    m_match->reloadFromFiles();
    // The selector follows the boxes the dialog left, keeping its choice.
    fillColorBoxSelector();
}

void TForm_TintoraMain::ToolButton_SetColorBoxClick()
{
    afterManagement(runSetColorBox(this, m_folder, m_notifier));
}

void TForm_TintoraMain::mi_colorBoxManageClick()
{
    afterManagement(runColorBoxManager(this, m_folder, m_notifier));
}

void TForm_TintoraMain::mi_colorGroupManagerClick()
{
    afterManagement(runColorGroupManager(this, m_folder, m_cards.get(), m_notifier, m_match.get()));
}

void TForm_TintoraMain::mi_colorPanelManagerClick()
{
    const bool changed = runColorPanelManager(this, m_folder, m_notifier);
    if (changed && m_palette)
        m_palette->refillPaletteList();
}

void TForm_TintoraMain::ToolButton_paletteClick()
{
    if (!m_palette) {
        m_palette = new TForm_paletteManger(this, m_cards.get(), m_colors.get(), m_notifier);
        m_palette->setPickedColorSource([this] { return m_resultPanel->pickedColor(); });
        m_palette->setConfig(m_config.get());
        m_palette->setMatchContext(m_match.get());
        m_palette->refillPaletteList();
    }
    m_palette->setShownFlag(!m_palette->shownFlag());
}

void TForm_TintoraMain::BitBtn_saveColorClick()
{
    const std::optional<RgbColor> color = m_resultPanel->pickedColor();
    if (!color)
        return;
    if (!m_palette || !m_palette->shownFlag())
        ToolButton_paletteClick();
    if (!m_palette)
        return;
    if (m_palette->isSelectedCellFilled() || m_palette->selectedCellIndex() < 0)
        m_palette->selectFirstEmptyCell();
    m_palette->putColorInSelectedCell(color->red, color->green, color->blue);
    m_palette->repaintPalette();
}

void TForm_TintoraMain::startColorDrag()
{
    const std::optional<RgbColor> color = m_resultPanel->pickedColor();
    if (!m_dragArmed || !color || !m_palette || !m_palette->shownFlag())
        return;
    m_dragArmed = false;
    m_palette->setExternalDrag(true, *color);
    auto *drag = new QDrag(m_resultPanel->pickedSwatch());
    drag->setMimeData(encodePaletteDrag(PaletteDrag{*color, -1}));
    QPixmap swatch(24, 24);
    swatch.fill(QColor(color->red, color->green, color->blue));
    drag->setPixmap(swatch);
    drag->exec(Qt::CopyAction);
    if (m_palette)
        m_palette->setExternalDrag(false, *color);
}

} // namespace pigmora::ui
