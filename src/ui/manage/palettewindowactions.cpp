// The palette window's commands: removing, clearing, adding, palette change,
// save, close and export.
#include "manage/palettewindow.h"

#include "data/colormanager.h"
#include "data/notifier.h"
#include "engine/colorpick.h"
#include "main/application.h"
#include "main/matchcontext.h"
#include "main/messagetext.h"
#include "main/uitext.h"
#include "manage/colorpropertiesdialog.h"
#include "manage/managesupport.h"
#include "manage/palettegrid.h"
#include "store/paletteexport.h"
#include "store/settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>

namespace pigmora::ui {

namespace {

constexpr std::string_view kSaveQuestion = "色板已做了修改，是否保存?";
constexpr std::string_view kRemoveQuestion = "要删除选中的色板色彩吗?";
constexpr std::string_view kClearQuestion = "要清空当前色板中的所有色彩吗?";
const QString kMorvanePalette = QStringLiteral("Morvane色板");

} // namespace

void TForm_paletteManger::removeCellAfterQuestion(int cell)
{
    if (!hasPalette() || !m_cells.isFilled(cell) || !m_notifier->askYesNo(kRemoveQuestion))
        return;
    m_cells.remove(cell);
    setModified(true);
    selectCell(m_selectedCell, false);
    m_grid->update();
}

void TForm_paletteManger::mp_removeColorClick()
{
    m_removeAction->setEnabled(false);
    m_addAction->setEnabled(false);
    m_propertiesAction->setEnabled(false);
    removeCellAfterQuestion(m_selectedCell);
}

void TForm_paletteManger::mi_clearColorPanelClick()
{
    if (!hasPalette() || !m_notifier->askYesNo(kClearQuestion))
        return;
    m_cells.clear();
    setModified(true);
    selectCell(m_selectedCell, false);
    m_grid->update();
}

void TForm_paletteManger::PopupMenu_palettePopup()
{
    const bool selected = hasPalette() && m_selectedCell >= 0;
    const bool filled = selected && m_cells.isFilled(m_selectedCell);
    m_removeAction->setEnabled(filled);
    m_addAction->setEnabled(selected && !filled);
    m_propertiesAction->setEnabled(filled);
    m_clearAction->setEnabled(true);
    m_exportAction->setEnabled(hasPalette());
}

void TForm_paletteManger::ToolButton_pickColorClick()
{
    const auto color = m_pickedColor ? m_pickedColor() : std::nullopt;
    if (!color)
        return;
    if (m_cells.isFilled(m_selectedCell) || m_selectedCell < 0)
        selectFirstEmptyCell();
    putColorInSelectedCell(color->red, color->green, color->blue);
    repaintPalette();
}

void TForm_paletteManger::mp_addColorClick()
{
    const auto color = m_pickedColor ? m_pickedColor() : std::nullopt;
    if (!color || m_cells.isFilled(m_selectedCell))
        return;
    putColorInSelectedCell(color->red, color->green, color->blue);
    repaintPalette();
}

void TForm_paletteManger::mp_ColorPropertiesClick()
{
    if (!m_cells.isFilled(m_selectedCell))
        return;
    TForm_colorProperties dialog(this, m_cells.colorAt(m_selectedCell));
    dialog.exec();
}

std::string TForm_paletteManger::recipeOf(const RgbColor &color) const
{
    if (!m_match)
        return {};
    const std::optional<ColorPick> pick = m_match->answer(color);
    if (!pick || !pick->solved)
        return {};
    std::string recipe;
    for (const std::optional<PickedPaint> &paint : pick->paints) {
        if (paint)
            recipe += (recipe.empty() ? "" : " + ") + paint->name + ' ' + paint->proportion;
    }
    return recipe;
}

namespace {

// The export type a file name asks for by its extension; a GIMP palette
// when it names none of the three.
PaletteFileType exportTypeOf(const QString &path)
{
    for (const PaletteFileType type : {PaletteFileType::SwatchExchange, PaletteFileType::Krita}) {
        if (path.endsWith(fromUtf8(paletteFileExtension(type)), Qt::CaseInsensitive))
            return type;
    }
    return PaletteFileType::Gimp;
}

} // namespace

bool TForm_paletteManger::exportPalette(const QString &path)
{
    if (!hasPalette())
        return false;
    PaletteExport palette{toUtf8(m_paletteList->itemText(m_loadedIndex)), m_cells.filledRecords(), {}};
    // Each colour named with its recipe, where it has one.
    for (const PaletteColorRecord &record : palette.colors) {
        if (std::string recipe = recipeOf(record.color()); !recipe.empty())
            palette.recipes[record.cell()] = std::move(recipe);
    }
    if (savePaletteFile(pathOf(path), palette, exportTypeOf(path))) {
        infoMessage(m_notifier,
                    tr("色板已导出到：%1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
        return true;
    }
    m_notifier->showMessage("导出色板失败!", MessageIcon::Error);
    return false;
}

void TForm_paletteManger::exportPaletteClick()
{
    if (!hasPalette())
        return;
    QString folder = m_exportFolder;
    if (m_config) {
        if (const auto stored = lastFolder(*m_config, settingkeys::kLastPaletteFolder))
            folder = QString::fromStdString(*stored);
    }
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString gimp = tr("GIMP 色板 (*.gpl)");
    const QString swatches = tr("Adobe 色板交换文件 (*.ase)");
    const QString krita = tr("Krita 色板 (*.kpl)");
    const QString suggested = QDir(folder).filePath(m_paletteList->itemText(m_loadedIndex) + QStringLiteral(".gpl"));
    QString chosenFilter = gimp;
    QString path = QFileDialog::getSaveFileName(this, tr("导出色板"), suggested,
                                                QStringList{gimp, swatches, krita}.join(QStringLiteral(";;")),
                                                &chosenFilter);
    if (path.isEmpty())
        return;
    // A name without one of the three extensions gets the chosen type's.
    const PaletteFileType chosen = chosenFilter == swatches ? PaletteFileType::SwatchExchange
        : chosenFilter == krita                             ? PaletteFileType::Krita
                                                            : PaletteFileType::Gimp;
    const QString extension = fromUtf8(paletteFileExtension(chosen));
    if (exportTypeOf(path) == PaletteFileType::Gimp && !path.endsWith(QStringLiteral(".gpl"), Qt::CaseInsensitive))
        path += extension;
    m_exportFolder = QFileInfo(path).absolutePath();
    if (m_config)
        saveLastFolder(*m_config, settingkeys::kLastPaletteFolder, m_exportFolder.toStdString());
    exportPalette(path);
}

bool TForm_paletteManger::savePalette()
{
    if (m_loadedIndex < 0 || !m_loaded || !m_colors)
        return false;
    const std::string name = m_paletteList->itemText(m_loadedIndex).toStdString();
    // From the file as it is now: another program's save of this palette is
    // never overwritten unasked.
    CColorManager::StoredVersion expected = m_loadedVersion;
    for (;;) {
        const CColorManager::SaveResult saved
            = m_colors->savePaletteIfUnchanged(name, m_cells.filledRecords(), expected);
        switch (saved.outcome) {
        case CColorManager::SaveResult::Outcome::Saved:
            m_loadedVersion = saved.version;
            setModified(false);
            return true;
        case CColorManager::SaveResult::Outcome::Failed:
            m_notifier->showMessage(toUtf8(coreText("保存色板失败!")) + (saved.message.empty() ? std::string() : "\n" + saved.message),
                                    MessageIcon::Error);
            return false;
        case CColorManager::SaveResult::Outcome::ChangedOnDisk:
            break;
        }
        switch (askChangedElsewhere(m_notifier, tr("色板“%1”").arg(QString::fromStdString(name)))) {
        case ChangedElsewhere::KeepMine:
            expected = saved.version;
            continue;
        case ChangedElsewhere::TakeTheirs:
            setModified(false);
            loadSelectedPalette();
            return true;
        case ChangedElsewhere::Cancel:
            return false;
        }
    }
}

void TForm_paletteManger::bbtn_saveClick()
{
    savePalette();
}

void TForm_paletteManger::loadSelectedPalette()
{
    std::vector<PaletteColorRecord> list;
    const std::string name = m_paletteList->currentText().toStdString();
    // A palette the store cannot read stays empty and is never written: the
    // window refuses edits and saves until another palette loads.
    m_loaded = m_colors && m_colors->loadPalette(name, list, m_loadedVersion);
    m_droppedOnLoad = m_cells.load(list);
    m_loadedIndex = m_paletteList->currentIndex();
    selectCell(m_selectedCell);
    m_grid->update();
}

void TForm_paletteManger::ComboBox_paletteListChange()
{
    const int selected = m_paletteList->currentIndex();
    if (selected < 0)
        return;
    if (selected != m_loadedIndex) {
        if (m_modified && m_loadedIndex >= 0 && m_notifier->askYesNo(kSaveQuestion) && !savePalette()) {
            // The edits stay: back to the palette they belong to.
            const QSignalBlocker blocker(m_paletteList);
            m_paletteList->setCurrentIndex(m_loadedIndex);
            return;
        }
    }
    // The cells now hold what the file holds.
    setModified(false);
    loadSelectedPalette();
}

void TForm_paletteManger::refillPaletteList()
{
    if (m_modified && m_loadedIndex >= 0 && m_colors) {
        // The palette list manager may have renamed or deleted the palette.
        const std::string name = m_paletteList->itemText(m_loadedIndex).toStdString();
        if (m_colors->paletteExists(name) && m_notifier->askYesNo(kSaveQuestion))
            savePalette();
    }
    std::vector<std::string> names;
    if (m_colors)
        m_colors->listPalettes(names);
    {
        const QSignalBlocker blocker(m_paletteList);
        m_paletteList->clear();
        for (const std::string &name : names)
            m_paletteList->addItem(QString::fromStdString(name));
        m_paletteList->setCurrentIndex(m_paletteList->findText(kMorvanePalette));
    }
    m_loadedIndex = m_paletteList->currentIndex();
    setModified(false);
    if (m_loadedIndex < 0) {
        m_loaded = false;
        m_cells.load({});
        selectCell(-1);
        m_grid->update();
        return;
    }
    ComboBox_paletteListChange();
}

bool TForm_paletteManger::confirmClose()
{
    if (!m_modified || m_loadedIndex < 0)
        return true;
    if (!m_notifier->askYesNo(kSaveQuestion))
        return true;
    return savePalette();
}

void TForm_paletteManger::closeEvent(QCloseEvent *event)
{
    const int selected = m_paletteList->currentIndex();
    if (selected >= 0 && m_modified && m_loadedIndex >= 0) {
        if (m_notifier->askYesNo(kSaveQuestion)) {
            // A failed save keeps the edits in memory, still marked modified.
            savePalette();
        } else {
            // Back to the saved state.
            m_loadedIndex = selected;
            setModified(false);
            ComboBox_paletteListChange();
        }
    }
    m_shown = false;
    event->accept();
}

} // namespace pigmora::ui
