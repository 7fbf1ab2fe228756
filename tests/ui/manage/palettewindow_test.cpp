#include "manage/palettewindow.h"

#include "main/matchcontext.h"
#include "manage/palettegrid.h"
#include "manage/palettemime.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include "data/colormanager.h"
#include "data/standardcolorcard.h"
#include "engine/colorpick.h"
#include "store/datafolder.h"
#include "store/settings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace pigmora::ui {
namespace {

using test::findControl;
using test::RecordingNotifier;

constexpr const char *kSaveQuestion = "色板已做了修改，是否保存?";

// The window on a fresh data folder, "Morvane色板" loaded: its eight default
// colours fill cells 0 to 7.
class PaletteWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::make_unique<DataFolder>(m_dir.path(), &m_notifier);
        ASSERT_TRUE(m_folder->prepare().ok());
        m_window = std::make_unique<TForm_paletteManger>(nullptr, &m_cards, colors(), &m_notifier);
        m_window->setPickedColorSource([this]() { return m_picked; });
        m_window->refillPaletteList();
        m_grid = findControl<PaletteGridPaintBox>(m_window.get(), "PaintBox_palette");
        m_save = findControl<QPushButton>(m_window.get(), "bbtn_save");
        m_list = findControl<QComboBox>(m_window.get(), "ComboBox_paletteList");
    }

    CColorManager *colors() const { return m_folder->colors(); }

    void press(QPoint point, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(m_grid, button, {}, point);
        QTest::mouseRelease(m_grid, button, {}, point);
    }
    void pressCell(int cell) { press(m_grid->cellCentre(cell)); }

    // A synthetic drop of a palette payload (or of plain text) on a widget.
    static bool drop(QWidget *target, QPoint at, QMimeData *data)
    {
        std::unique_ptr<QMimeData> owned(data);
        QDropEvent event(QPointF(at), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the widget: the application routes drops only during a
        // real drag.
        static_cast<QObject *>(target)->event(&event);
        return event.isAccepted();
    }
    bool dropOnCell(int cell, const PaletteDrag &drag)
    {
        return drop(m_grid, m_grid->cellCentre(cell), encodePaletteDrag(drag));
    }

    std::vector<PaletteColorRecord> stored(const char *name) const
    {
        std::vector<PaletteColorRecord> list;
        EXPECT_TRUE(colors()->loadPalette(name, list));
        return list;
    }

    // What the main window's "保存" does with its picked colour.
    void saveFromMainWindow(RgbColor color)
    {
        if (m_window->isSelectedCellFilled() || m_window->selectedCellIndex() < 0)
            m_window->selectFirstEmptyCell();
        m_window->putColorInSelectedCell(color.red, color.green, color.blue);
        m_window->repaintPalette();
    }

    void fillAll()
    {
        for (int cell = 8; cell < 100; ++cell)
            saveFromMainWindow({cell, cell, cell});
        ASSERT_EQ(m_window->cells().filledCount(), 100);
    }

    test::TempDir m_dir;
    RecordingNotifier m_notifier;
    std::unique_ptr<DataFolder> m_folder;
    CStandardColorCard m_cards;
    std::unique_ptr<TForm_paletteManger> m_window;
    PaletteGridPaintBox *m_grid = nullptr;
    QPushButton *m_save = nullptr;
    QComboBox *m_list = nullptr;
    std::optional<RgbColor> m_picked;
};

TEST_F(PaletteWindowTest, StartsWithTheDefaultPaletteLoadedAndClean)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("色板"));
    EXPECT_EQ(m_window->size(), QSize(646, 259));
    EXPECT_EQ(m_grid->size(), QSize(512, 91));
    EXPECT_EQ(m_list->currentText(), QStringLiteral("Morvane色板"));
    EXPECT_EQ(m_window->loadedPaletteIndex(), m_list->currentIndex());
    EXPECT_EQ(m_window->cells().filledCount(), 8);
    EXPECT_FALSE(m_save->isEnabled());
    EXPECT_FALSE(findControl<QToolButton>(m_window.get(), "ToolButton_remove")->isEnabled());
    EXPECT_TRUE(m_notifier.messages().empty());
}

TEST_F(PaletteWindowTest, PressesOffTheCellsAreIgnored)
{
    for (const QPoint point :
         {QPoint(2, 2), QPoint(6, 10), QPoint(24, 10), QPoint(505, 10), QPoint(511, 50), QPoint(50, 90)}) {
        press(point);
        EXPECT_EQ(m_window->selectedCellIndex(), -1) << point.x() << "," << point.y();
    }
    // A right-button press on a filled cell neither selects nor arms a drag.
    press(m_grid->cellCentre(2), Qt::RightButton);
    EXPECT_EQ(m_window->selectedCellIndex(), -1);
    EXPECT_FALSE(dropOnCell(20, {{255, 0, 0}, 2}) && m_window->cells().isFilled(20));
    EXPECT_TRUE(m_window->cells().isFilled(2));
}

TEST_F(PaletteWindowTest, PressOnAFilledCellSelectsAndAnalysesIt)
{
    pressCell(2);
    EXPECT_EQ(m_window->selectedCellIndex(), 2);
    EXPECT_TRUE(m_window->isSelectedCellFilled());
    EXPECT_EQ(m_window->currentColor(), QColor(255, 0, 0));
    EXPECT_EQ(findControl<QWidget>(m_window.get(), "PaintBox_selectColor")->toolTip(), QStringLiteral("R:255 G:0 B:0"));
    EXPECT_TRUE(findControl<QToolButton>(m_window.get(), "ToolButton_remove")->isEnabled());
    EXPECT_EQ(m_window->analysis().target, (RgbColor{255, 0, 0}));
    EXPECT_FALSE(m_window->analysis().deviation.empty());

    pressCell(30);
    EXPECT_EQ(m_window->currentColor(), QColor(240, 240, 240));
    EXPECT_EQ(findControl<QWidget>(m_window.get(), "PaintBox_selectColor")->toolTip(), QString());
    EXPECT_FALSE(findControl<QToolButton>(m_window.get(), "ToolButton_remove")->isEnabled());
}

TEST_F(PaletteWindowTest, DragStartsOnlyFromAFilledCellAfterTheDragDistance)
{
    std::vector<int> started;
    QObject::connect(m_grid, &PaletteGridPaintBox::dragStarting, [&](int cell) { started.push_back(cell); });
    const int distance = QApplication::startDragDistance();
    const auto pressAndMove = [this](int cell, Qt::MouseButton button, int by) {
        const QPoint from = m_grid->cellCentre(cell);
        QTest::mousePress(m_grid, button, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(by, 0)),
                         m_grid->mapToGlobal(QPointF(from + QPoint(by, 0))), Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(m_grid, &move);
        QTest::mouseRelease(m_grid, button, {}, from + QPoint(by, 0));
    };
    pressAndMove(2, Qt::LeftButton, distance - 1);
    pressAndMove(2, Qt::RightButton, distance + 5);
    pressAndMove(40, Qt::LeftButton, distance + 5); // an empty cell
    EXPECT_TRUE(started.empty());
    pressAndMove(2, Qt::LeftButton, distance);
    EXPECT_EQ(started, std::vector<int>{2});
}

TEST_F(PaletteWindowTest, DragInsideTheGridMovesOntoEmptyCellsOnly)
{
    pressCell(2);
    EXPECT_TRUE(dropOnCell(40, {{255, 0, 0}, 2}));
    EXPECT_FALSE(m_window->cells().isFilled(2));
    EXPECT_EQ(m_window->cells().colorAt(40), (RgbColor{255, 0, 0}));
    EXPECT_EQ(m_window->selectedCellIndex(), 40);
    EXPECT_TRUE(m_save->isEnabled());

    // Onto a filled cell: nothing moves, the swatch shows the target.
    pressCell(40);
    EXPECT_TRUE(dropOnCell(4, {{255, 0, 0}, 40}));
    EXPECT_EQ(m_window->cells().colorAt(40), (RgbColor{255, 0, 0}));
    EXPECT_EQ(m_window->cells().colorAt(4), (RgbColor{0, 0, 255}));
    EXPECT_EQ(m_window->currentColor(), QColor(0, 0, 255));

    // The drag source is spent by the drop: a second drop of the same payload
    // (or one naming a cell never pressed) moves nothing.
    EXPECT_TRUE(dropOnCell(41, {{255, 0, 0}, 40}));
    EXPECT_FALSE(m_window->cells().isFilled(41));
    pressCell(3);
    EXPECT_TRUE(dropOnCell(42, {{255, 255, 0}, 5}));
    EXPECT_FALSE(m_window->cells().isFilled(42));
    EXPECT_TRUE(m_window->cells().isFilled(5));
}

TEST_F(PaletteWindowTest, DropFromTheMainWindowFillsAnEmptyCell)
{
    m_window->setExternalDrag(true, {10, 20, 30});
    EXPECT_TRUE(dropOnCell(50, {{10, 20, 30}, -1}));
    EXPECT_EQ(m_window->cells().colorAt(50), (RgbColor{10, 20, 30}));
    EXPECT_FALSE(m_window->externalDrag());
    EXPECT_TRUE(m_window->isModified());
    // A filled target keeps its colour; a drop off the cells does nothing.
    EXPECT_TRUE(dropOnCell(0, {{10, 20, 30}, -1}));
    EXPECT_EQ(m_window->cells().colorAt(0), (RgbColor{0, 0, 0}));
    drop(m_grid, QPoint(508, 40), encodePaletteDrag({{1, 1, 1}, -1}));
    EXPECT_EQ(m_window->cells().filledCount(), 9);
    // Anything that is not a palette colour is refused.
    auto *text = new QMimeData;
    text->setText(QStringLiteral("10,20,30,-1"));
    EXPECT_FALSE(drop(m_grid, m_grid->cellCentre(60), text));
    EXPECT_FALSE(m_window->cells().isFilled(60));
}

TEST_F(PaletteWindowTest, DropOnTheRemoveButtonAsksFirst)
{
    auto *remove = findControl<QToolButton>(m_window.get(), "ToolButton_remove");
    pressCell(6);
    EXPECT_TRUE(drop(remove, QPoint(5, 5), encodePaletteDrag({{255, 0, 255}, 6})));
    EXPECT_TRUE(m_notifier.messages().empty()) << "asked once the drag is over";
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_window->cells().isFilled(6)) << "answered No";
    pressCell(6);
    m_notifier.scriptAnswers({true});
    drop(remove, QPoint(5, 5), encodePaletteDrag({{255, 0, 255}, 6}));
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(m_window->cells().isFilled(6));
    // A cell that was not pressed here is not removed.
    drop(remove, QPoint(5, 5), encodePaletteDrag({{255, 255, 0}, 5}));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_window->cells().isFilled(5));
    EXPECT_EQ(m_notifier.texts(), (std::vector<std::string>{"要删除选中的色板色彩吗?", "要删除选中的色板色彩吗?"}));
    EXPECT_TRUE(m_save->isEnabled());
}

TEST_F(PaletteWindowTest, SavingAPickedColourFromTheMainWindow)
{
    // No cell selected: the first empty one.
    saveFromMainWindow({1, 2, 3});
    EXPECT_EQ(m_window->cells().colorAt(8), (RgbColor{1, 2, 3}));
    EXPECT_EQ(m_window->selectedCellIndex(), 8);
    // Selected cell filled: the first empty one instead.
    pressCell(3);
    saveFromMainWindow({4, 5, 6});
    EXPECT_EQ(m_window->cells().colorAt(3), (RgbColor{0, 255, 0}));
    EXPECT_EQ(m_window->cells().colorAt(9), (RgbColor{4, 5, 6}));
    // Selected cell empty: that cell.
    pressCell(77);
    saveFromMainWindow({7, 8, 9});
    EXPECT_EQ(m_window->cells().colorAt(77), (RgbColor{7, 8, 9}));
    EXPECT_TRUE(m_save->isEnabled());
    // putColorInSelectedCell never writes over a filled cell.
    m_window->putColorInSelectedCell(9, 9, 9);
    EXPECT_EQ(m_window->cells().colorAt(77), (RgbColor{7, 8, 9}));
}

TEST_F(PaletteWindowTest, PickButtonAndFullPalette)
{
    auto *pick = findControl<QToolButton>(m_window.get(), "ToolButton_pickColor");
    pick->click();
    EXPECT_EQ(m_window->cells().filledCount(), 8) << "nothing picked yet";
    m_picked = RgbColor{11, 22, 33};
    pressCell(1);
    pick->click();
    EXPECT_EQ(m_window->cells().colorAt(8), (RgbColor{11, 22, 33}));
    pressCell(90);
    pick->click();
    EXPECT_EQ(m_window->cells().colorAt(90), (RgbColor{11, 22, 33}));

    fillAll();
    const auto before = m_window->cells().filledRecords();
    pick->click();
    saveFromMainWindow({99, 99, 99});
    EXPECT_EQ(m_window->cells().filledRecords(), before);
    EXPECT_EQ(m_window->selectedCellIndex(), -1);
}

TEST_F(PaletteWindowTest, PopupEnablingFollowsTheSelectedCell)
{
    auto action = [this](const char *name) { return findControl<QAction>(m_window.get(), name); };
    const struct {
        int cell;
        bool remove, add, properties;
    } cases[] = {{-1, false, false, false}, {30, false, true, false}, {2, true, false, true}};
    for (const auto &c : cases) {
        if (c.cell >= 0)
            pressCell(c.cell);
        m_window->PopupMenu_palettePopup();
        EXPECT_EQ(action("mp_removeColor")->isEnabled(), c.remove) << c.cell;
        EXPECT_EQ(action("mp_addColor")->isEnabled(), c.add) << c.cell;
        EXPECT_EQ(action("mp_ColorProperties")->isEnabled(), c.properties) << c.cell;
        EXPECT_TRUE(action("mi_clearColorPanel")->isEnabled());
    }
    // "增加色彩" puts the picked colour into the selected empty cell.
    m_picked = RgbColor{5, 6, 7};
    pressCell(30);
    m_window->PopupMenu_palettePopup();
    action("mp_addColor")->trigger();
    EXPECT_EQ(m_window->cells().colorAt(30), (RgbColor{5, 6, 7}));
}

TEST_F(PaletteWindowTest, RightClickSelectsTheCellItActsOn)
{
    auto rightClick = [this](QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, m_grid->mapToGlobal(at));
        QApplication::sendEvent(m_grid, &event);
        auto *popup = findControl<QMenu>(m_window.get(), "PopupMenu_palette");
        popup->hide();
        return popup;
    };
    auto action = [this](const char *name) { return findControl<QAction>(m_window.get(), name); };
    const struct {
        QPoint at;
        int selected;
        bool remove, add;
    } cases[] = {{m_grid->cellCentre(3), 3, true, false},
                 {m_grid->cellCentre(30), 30, false, true},
                 {QPoint(2, 2), -1, false, false}};
    for (const auto &c : cases) {
        pressCell(0);
        rightClick(c.at);
        EXPECT_EQ(m_window->selectedCellIndex(), c.selected) << c.selected;
        EXPECT_EQ(action("mp_removeColor")->isEnabled(), c.remove) << c.selected;
        EXPECT_EQ(action("mp_addColor")->isEnabled(), c.add) << c.selected;
    }
    // "删除色彩" removes the colour that was right-clicked.
    pressCell(0);
    rightClick(m_grid->cellCentre(3));
    m_notifier.scriptAnswers({true});
    action("mp_removeColor")->trigger();
    EXPECT_TRUE(m_window->cells().isFilled(0));
    EXPECT_FALSE(m_window->cells().isFilled(3));
}

TEST_F(PaletteWindowTest, RemoveAndClearAskFirst)
{
    pressCell(0);
    m_window->mp_removeColorClick();
    EXPECT_TRUE(m_window->cells().isFilled(0));
    m_notifier.scriptAnswers({true});
    m_window->mp_removeColorClick();
    EXPECT_FALSE(m_window->cells().isFilled(0));
    m_window->mp_removeColorClick(); // an empty cell: no question
    m_window->mi_clearColorPanelClick();
    EXPECT_EQ(m_window->cells().filledCount(), 7);
    m_notifier.scriptAnswers({true});
    m_window->mi_clearColorPanelClick();
    EXPECT_EQ(m_window->cells().filledCount(), 0);
    EXPECT_EQ(m_notifier.texts(),
              (std::vector<std::string>{"要删除选中的色板色彩吗?", "要删除选中的色板色彩吗?",
                                        "要清空当前色板中的所有色彩吗?", "要清空当前色板中的所有色彩吗?"}));
    EXPECT_EQ(stored("Morvane色板").size(), 8u) << "nothing saved yet";
}

TEST_F(PaletteWindowTest, SwitchingPalettesAsksOnlyWithChanges)
{
    const int quessel = m_list->findText(QStringLiteral("Quessel色板"));
    const int morvane = m_list->currentIndex();
    m_list->setCurrentIndex(quessel);
    EXPECT_TRUE(m_notifier.messages().empty());
    EXPECT_TRUE(m_window->cells().isFilled(50));

    // No: the changes are gone.
    saveFromMainWindow({1, 1, 1});
    m_list->setCurrentIndex(morvane);
    EXPECT_EQ(m_notifier.texts(), (std::vector<std::string>{kSaveQuestion}));
    EXPECT_FALSE(m_save->isEnabled());
    EXPECT_EQ(stored("Quessel色板").size(), 8u);

    // Yes: saved into the palette being left.
    saveFromMainWindow({2, 2, 2});
    m_notifier.scriptAnswers({true});
    m_list->setCurrentIndex(quessel);
    EXPECT_EQ(stored("Morvane色板").size(), 9u);
    EXPECT_EQ(m_window->loadedPaletteIndex(), quessel);
    EXPECT_FALSE(m_window->isModified());
}

// Another program saved this palette (and another one) since the window
// loaded it: the save asks, and whatever the answer the other palette stays.
TEST_F(PaletteWindowTest, APaletteSavedElsewhereSinceLoadedIsNeverOverwrittenUnasked)
{
    enum Answer : std::size_t { KeepMine, TakeTheirs, Cancel };
    for (const Answer answer : {KeepMine, TakeTheirs, Cancel}) {
        SCOPED_TRACE(answer);
        m_window->refillPaletteList();
        CColorManager other(m_dir.path());
        for (const char *palette : {"Morvane色板", "Quessel色板"}) {
            std::vector<PaletteColorRecord> list = stored(palette);
            list.pop_back();
            ASSERT_TRUE(other.savePalette(palette, list));
        }
        const auto theirs = stored("Morvane色板").size();
        const auto theirOther = stored("Quessel色板").size();
        saveFromMainWindow({3, 3, 3});
        const int mine = m_window->cells().filledCount();
        m_notifier.clear();
        m_notifier.scriptChoices({answer});
        m_save->click();
        ASSERT_EQ(m_notifier.texts().size(), 1u);
        EXPECT_NE(m_notifier.texts().front().find("色板“Morvane色板”"), std::string::npos);
        EXPECT_EQ(stored("Morvane色板").size(), answer == KeepMine ? static_cast<std::size_t>(mine) : theirs);
        EXPECT_EQ(m_window->cells().filledCount(), answer == TakeTheirs ? static_cast<int>(theirs) : mine);
        EXPECT_EQ(m_window->isModified(), answer == Cancel);
        EXPECT_EQ(stored("Quessel色板").size(), theirOther);
    }
}

TEST_F(PaletteWindowTest, FailedSaveKeepsTheChanges)
{
    saveFromMainWindow({3, 3, 3});
    const auto path = m_dir / "QorPalette.bin";
    test::writeFileBytes(path, std::vector<unsigned char>(64, 0xAB));
    const auto damaged = test::readFileBytes(path);

    m_save->click();
    EXPECT_TRUE(m_notifier.texts().back().starts_with("保存色板失败!\n")) << m_notifier.texts().back(); // and why
    EXPECT_TRUE(m_window->isModified());
    EXPECT_TRUE(m_save->isEnabled());

    // Yes on a palette change whose save fails stays on the edited palette.
    m_notifier.scriptAnswers({true});
    const int loaded = m_list->currentIndex();
    m_list->setCurrentIndex(m_list->findText(QStringLiteral("Tarlowe色板")));
    EXPECT_EQ(m_list->currentIndex(), loaded);
    EXPECT_TRUE(m_window->isModified());
    EXPECT_EQ(m_window->cells().colorAt(8), (RgbColor{3, 3, 3}));

    // Closing the program: Yes with a failing save keeps it open.
    m_notifier.scriptAnswers({true});
    EXPECT_FALSE(m_window->confirmClose());
    EXPECT_EQ(test::readFileBytes(path), damaged);
}

TEST_F(PaletteWindowTest, CloseWithNoShowsTheSavedStateAgain)
{
    m_window->setShownFlag(true);
    saveFromMainWindow({4, 4, 4});
    findControl<QPushButton>(m_window.get(), "bbtn_cancel")->click();
    EXPECT_FALSE(m_window->shownFlag());
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_notifier.texts(), (std::vector<std::string>{kSaveQuestion}));
    m_window->setShownFlag(true);
    EXPECT_EQ(m_window->cells().filledCount(), 8);
    EXPECT_FALSE(m_save->isEnabled());

    // Yes saves.
    saveFromMainWindow({5, 5, 5});
    m_notifier.scriptAnswers({true});
    m_window->close();
    EXPECT_EQ(stored("Morvane色板").size(), 9u);
    EXPECT_FALSE(m_window->isModified());
}

TEST_F(PaletteWindowTest, ClosingTheProgramOffersToSave)
{
    EXPECT_TRUE(m_window->confirmClose());
    EXPECT_TRUE(m_notifier.messages().empty()) << "nothing to save, nothing asked";
    saveFromMainWindow({6, 6, 6});
    EXPECT_TRUE(m_window->confirmClose());
    EXPECT_EQ(stored("Morvane色板").size(), 8u) << "answered No";
    m_notifier.scriptAnswers({true});
    EXPECT_TRUE(m_window->confirmClose());
    EXPECT_EQ(stored("Morvane色板").size(), 9u);
}

TEST_F(PaletteWindowTest, RecordsWithoutAPlaceAreDroppedOnLoad)
{
    std::vector<PaletteColorRecord> list(4);
    const int cells[] = {5, 100, -7, 5};
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].setColor({static_cast<int>(i), 0, 0});
        list[i].setCell(cells[i]);
    }
    ASSERT_TRUE(colors()->savePalette("Morvane色板", list));
    m_window->refillPaletteList();
    EXPECT_EQ(m_window->droppedOnLoad(), 3);
    EXPECT_EQ(m_window->cells().filledCount(), 1);
    EXPECT_EQ(m_window->cells().colorAt(5), (RgbColor{0, 0, 0}));
}

TEST_F(PaletteWindowTest, UnreadablePaletteFileStaysEmptyAndUntouched)
{
    const auto path = m_dir / "QorPalette.bin";
    test::writeFileBytes(path, std::vector<unsigned char>(64, 0xAB));
    const auto damaged = test::readFileBytes(path);
    m_window->ComboBox_paletteListChange(); // reload
    EXPECT_EQ(m_window->cells().filledCount(), 0);
    EXPECT_FALSE(m_notifier.messages().empty()) << "the store says why";
    m_picked = RgbColor{1, 2, 3};
    findControl<QToolButton>(m_window.get(), "ToolButton_pickColor")->click();
    dropOnCell(10, {{1, 2, 3}, -1});
    EXPECT_EQ(m_window->cells().filledCount(), 0);
    EXPECT_FALSE(m_save->isEnabled());
    m_window->close();
    EXPECT_TRUE(m_window->confirmClose());
    EXPECT_EQ(test::readFileBytes(path), damaged);
}

TEST_F(PaletteWindowTest, RefillOffersUnsavedChangesOfAPaletteThatStillExists)
{
    saveFromMainWindow({7, 7, 7});
    m_notifier.scriptAnswers({true});
    m_window->refillPaletteList();
    EXPECT_EQ(m_notifier.texts(), (std::vector<std::string>{kSaveQuestion}));
    EXPECT_EQ(stored("Morvane色板").size(), 9u);
    EXPECT_EQ(m_window->cells().filledCount(), 9);
    EXPECT_FALSE(m_window->isModified());
}

TEST_F(PaletteWindowTest, ExactMatchAndSolverFailure)
{
    const PaintColorRecord paint = colors()->currentBoxRecords()[0];
    saveFromMainWindow(paint.color());
    pressCell(8);
    const ColorAnalysis exact = m_window->analysis();
    EXPECT_EQ(exact.deviation, "0.00 %");
    EXPECT_EQ(exact.paints[0].proportion, "100.00 %");

    // An empty colour box: the solve fails, only the target changes.
    colors()->clearCurrentBox();
    pressCell(2);
    EXPECT_EQ(m_window->analysis().target, (RgbColor{255, 0, 0}));
    EXPECT_EQ(m_window->analysis().paints[0].name, exact.paints[0].name);
    EXPECT_EQ(m_window->analysis().deviation, "0.00 %");
}

TEST_F(PaletteWindowTest, EmptyCellShowsBlankCards)
{
    auto *panel = findControl<QWidget>(m_window.get(), "PaintBox_colorAnalyse");
    pressCell(2);
    const QImage analysed = panel->grab().toImage();
    EXPECT_EQ(analysed.pixel(11, 11), qRgb(255, 0, 0));
    pressCell(50);
    const QImage blank = panel->grab().toImage();
    for (int card = 0; card < 6; ++card)
        EXPECT_EQ(blank.pixel(card * 72 + 30, 30), qRgb(255, 255, 255)) << card;
}

TEST_F(PaletteWindowTest, KeyboardMovesRemovesAndSaves)
{
    m_window->setShownFlag(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    pressCell(0);
    QTest::keyClick(m_grid, Qt::Key_Right);
    QTest::keyClick(m_grid, Qt::Key_Down);
    EXPECT_EQ(m_window->selectedCellIndex(), 26);
    QTest::keyClick(m_grid, Qt::Key_Up);
    EXPECT_EQ(m_window->currentColor(), QColor(255, 255, 255));
    m_notifier.scriptAnswers({true});
    QTest::keyClick(m_grid, Qt::Key_Delete);
    EXPECT_FALSE(m_window->cells().isFilled(1));
    QTest::keyClick(m_grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m_window->isModified());
    EXPECT_EQ(stored("Morvane色板").size(), 7u);
}

// The analysis answers as the main window does: its mixing mode, its box,
// and again whenever they change.
TEST_F(PaletteWindowTest, AnalysisFollowsTheMainWindowsMixingMode)
{
    MatchContext context(colors(), &m_cards);
    m_window->setMatchContext(&context);
    pressCell(2);
    const RgbColor red{255, 0, 0};
    const auto expected = [&](MixModel model) {
        ColorAnalysis analysis;
        analyseColor(analysis, colors()->currentBoxRecords(), red, &m_cards, model);
        return analysis.deviation + analysis.paints[0].name + analysis.paints[0].proportion;
    };
    const auto shown = [&] {
        const ColorAnalysis &a = m_window->analysis();
        return a.deviation + a.paints[0].name + a.paints[0].proportion;
    };
    EXPECT_EQ(shown(), expected(MixModel::Subtractive));
    for (MixModel model : {MixModel::Spatial, MixModel::Pigment}) {
        context.setMixingMode(static_cast<int>(model));
        EXPECT_EQ(shown(), expected(model)) << static_cast<int>(model);
    }
    EXPECT_NE(expected(MixModel::Spatial), expected(MixModel::Subtractive));
}

TEST_F(PaletteWindowTest, ExportButtonSaysWhereItWroteAndNamesTheRecipes)
{
    MatchContext context(colors(), &m_cards);
    m_window->setMatchContext(&context);
    const auto path = m_dir / "recipes.gpl";
    ASSERT_TRUE(m_window->exportPalette(QString::fromStdString(path.string())));
    EXPECT_EQ(m_notifier.messages().back().icon, MessageIcon::Information);
    EXPECT_NE(m_notifier.texts().back().find(path.string()), std::string::npos);
    std::ifstream in(path);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    ASSERT_GE(lines.size(), 5u);
    // Black (cell 0): its recipe from the current box, paints and shares.
    const std::optional<ColorPick> black = context.answer({0, 0, 0});
    ASSERT_TRUE(black && black->solved && black->paints[0]);
    EXPECT_EQ(lines[4], "  0   0   0\t100001 — " + black->paints[0]->name + " " + black->paints[0]->proportion);
    EXPECT_NE(findControl<QPushButton>(m_window.get(), "bbtn_export"), nullptr);
}

TEST_F(PaletteWindowTest, OpensBesideTheMainWindowAndKeepsWhereItWasPut)
{
    QWidget main;
    main.setGeometry(20, 20, 600, 400);
    main.show();
    const auto configBytes = [this] { return test::readFileBytes(m_dir / "QorConfig.bin"); };
    const auto before = configBytes();
    QPoint first;
    {
        TForm_paletteManger window(&main, &m_cards, colors(), &m_notifier);
        window.setConfig(m_folder->config());
        window.refillPaletteList();
        window.setShownFlag(true);
        first = window.pos();
        EXPECT_FALSE(main.frameGeometry().intersects(window.frameGeometry()));
        window.setShownFlag(false);
        EXPECT_EQ(configBytes(), before) << "a place it was not moved to is not stored";
        window.setShownFlag(true);
        window.move(first + QPoint(30, 40));
        window.setShownFlag(false);
    }
    TForm_paletteManger next(&main, &m_cards, colors(), &m_notifier);
    next.setConfig(m_folder->config());
    next.setShownFlag(true);
    EXPECT_EQ(next.pos(), first + QPoint(30, 40));
    next.setShownFlag(false);
}

TEST_F(PaletteWindowTest, ExportsAGimpPalette)
{
    const auto path = m_dir / "out.gpl";
    ASSERT_TRUE(m_window->exportPalette(QString::fromStdString(path.string())));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().rfind("GIMP Palette\nName: Morvane色板\nColumns: 10\n#\n  0   0   0\t100001\n", 0), 0u)
        << text.str();
    EXPECT_FALSE(m_window->exportPalette(QString::fromStdString((m_dir / "no/such/folder/x.gpl").string())));
    EXPECT_EQ(m_notifier.texts().back(), "导出色板失败!");
    // The extension chooses the type.
    for (const auto &[name, magic] : {std::pair{"out.ase", "ASEF"}, std::pair{"out.KPL", "PK"}}) {
        ASSERT_TRUE(m_window->exportPalette(QString::fromStdString((m_dir / name).string())));
        const auto bytes = test::readFileBytes(m_dir / name);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::strlen(magic))), magic)
            << name;
    }
}

TEST_F(PaletteWindowTest, ExportDialogRemembersItsFolderAcrossRuns)
{
    m_window->setConfig(m_folder->config());
    const auto out = m_dir / "exports";
    std::filesystem::create_directory(out);
    const auto answered = test::whenModalShown([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString((out / "mine.gpl").string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    m_window->exportPaletteClick();
    EXPECT_TRUE(std::filesystem::exists(out / "mine.gpl"));

    // The next run's dialog opens there: the folder is in the configuration file.
    CConfigManager config(m_dir.path(), &m_notifier);
    config.open();
    config.loadSysConfig();
    EXPECT_EQ(lastFolder(config, settingkeys::kLastPaletteFolder), out.string());
    TForm_paletteManger next(nullptr, &m_cards, colors(), &m_notifier);
    next.setConfig(&config);
    next.refillPaletteList();
    QString shown;
    const auto answered2 = test::whenModalShown([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->directory().absolutePath();
        dialog->reject();
    });
    next.exportPaletteClick();
    EXPECT_EQ(shown.toStdString(), out.string());
}

TEST_F(PaletteWindowTest, ColourPropertiesShowCopyableValues)
{
    pressCell(5); // yellow
    QStringList texts;
    const auto answered = test::whenModalShown([&](QWidget *dialog) {
        for (const char *name : {"Edit_rgb", "Edit_hex", "Edit_cmyk"}) {
            auto *edit = findControl<QLineEdit>(dialog, name);
            texts << edit->text();
            EXPECT_TRUE(edit->isReadOnly());
        }
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("色彩属性"));
        findControl<QPushButton>(dialog, "bbtn_cancel")->click();
    });
    m_window->mp_ColorPropertiesClick();
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("255, 255, 0"), QStringLiteral("#FFFF00"),
                           QStringLiteral("C:0  M:0  Y:100  K:0")}));
}

} // namespace
} // namespace pigmora::ui
