#include "manage/palettewindow.h"

#include "data/colormanager.h"
#include "main/matchcontext.h"
#include "manage/analysispanel.h"
#include "manage/palettegrid.h"
#include "store/settings.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

namespace pigmora::ui {

namespace {

const QColor kWindowBackground(240, 240, 240);

QString hintOf(const RgbColor &color)
{
    return QStringLiteral("R:%1 G:%2 B:%3").arg(color.red).arg(color.green).arg(color.blue);
}

// The 23 x 23 images of the two tool buttons: a swatch taking a colour, and
// a swatch crossed out.
QIcon toolIcon(bool remove)
{
    QPixmap image(23, 23);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(remove ? QColor(230, 230, 230) : QColor(80, 160, 230));
    painter.drawRoundedRect(QRectF(3.5, 3.5, 12, 12), 2, 2);
    painter.setPen(QPen(remove ? QColor(200, 40, 40) : QColor(40, 140, 60), 2.5));
    if (remove) {
        painter.drawLine(QPointF(12, 12), QPointF(20, 20));
        painter.drawLine(QPointF(20, 12), QPointF(12, 20));
    } else {
        painter.drawLine(QPointF(16, 12), QPointF(16, 21));
        painter.drawLine(QPointF(11.5, 16.5), QPointF(20.5, 16.5));
    }
    return QIcon(image);
}

} // namespace

TForm_paletteManger::TForm_paletteManger(QWidget *owner, const CStandardColorCard *cards, CColorManager *colors,
                                         Notifier *notifier)
    : QWidget(owner, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
    , m_cards(cards)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_currentColor(kPaletteButtonFace)
{
    setObjectName(QStringLiteral("TForm_paletteManger"));
    setWindowTitle(tr("色板"));
    setFixedSize(646, 259);
    QPalette background = palette();
    background.setColor(QPalette::Window, kWindowBackground);
    setPalette(background);
    setAutoFillBackground(true);
    buildControls();
    buildPopupMenu();
}

TForm_paletteManger::~TForm_paletteManger() = default;

void TForm_paletteManger::buildControls()
{
    auto *label = new QLabel(tr("选择色板："), this);
    label->setGeometry(12, 10, 70, 22);
    m_paletteList = new QComboBox(this);
    m_paletteList->setObjectName(QStringLiteral("ComboBox_paletteList"));
    m_paletteList->setGeometry(84, 9, 200, 24);
    connect(m_paletteList, &QComboBox::currentIndexChanged, this, &TForm_paletteManger::ComboBox_paletteListChange);

    m_pickButton = new QToolButton(this);
    m_pickButton->setObjectName(QStringLiteral("ToolButton_pickColor"));
    m_pickButton->setToolTip(tr("获取色彩"));
    m_pickButton->setIcon(toolIcon(false));
    m_pickButton->setGeometry(296, 9, 25, 25);
    connect(m_pickButton, &QToolButton::clicked, this, &TForm_paletteManger::ToolButton_pickColorClick);

    m_removeButton = new PaletteRemoveButton(this);
    m_removeButton->setToolTip(tr("删除色彩"));
    m_removeButton->setIcon(toolIcon(true));
    m_removeButton->setGeometry(324, 9, 25, 25);
    m_removeButton->setEnabled(false);
    connect(m_removeButton, &QToolButton::clicked, this, &TForm_paletteManger::mp_removeColorClick);
    connect(m_removeButton, &PaletteRemoveButton::colorDropped, this, &TForm_paletteManger::removeButtonDrop);

    auto *frame = new QGroupBox(tr("色板颜色"), this);
    frame->setGeometry(8, 38, 630, 116);
    m_swatch = new PaletteSwatchPaintBox(frame);
    m_swatch->setGeometry(8, 19, 89, 91);
    m_grid = new PaletteGridPaintBox(frame, &m_cells);
    m_grid->setGeometry(110, 19, 512, 91);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &PaletteGridPaintBox::cellPressed, this, &TForm_paletteManger::cellPressed);
    connect(m_grid, &PaletteGridPaintBox::colorDropped, this, &TForm_paletteManger::gridDrop);
    connect(m_grid, &PaletteGridPaintBox::selectionMoveRequested, this,
            [this](int dx, int dy) { selectCell(paletteCellMovedBy(m_selectedCell, dx, dy)); });

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel_showAnalyse"));
    panel->setGeometry(8, 162, 532, 89);
    m_analysisBox = new ColorAnalysisPaintBox(panel);
    m_analysisBox->setGeometry(0, 0, 532, 89);
    m_analysisBox->setSource([this]() -> const ColorAnalysis * {
        return m_colors && m_cells.isFilled(m_selectedCell) ? &m_analysis : nullptr;
    });

    m_saveButton = new QPushButton(tr("保存"), this);
    m_saveButton->setObjectName(QStringLiteral("bbtn_save"));
    m_saveButton->setGeometry(554, 174, 80, 28);
    m_saveButton->setEnabled(false);
    connect(m_saveButton, &QPushButton::clicked, this, &TForm_paletteManger::bbtn_saveClick);
    m_closeButton = new QPushButton(tr("关闭"), this);
    m_closeButton->setObjectName(QStringLiteral("bbtn_cancel"));
    m_closeButton->setGeometry(554, 214, 80, 28);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    m_exportButton = new QPushButton(tr("导出色板..."), this);
    m_exportButton->setObjectName(QStringLiteral("bbtn_export"));
    m_exportButton->setToolTip(tr("把色板导出为 GIMP 色板文件（.gpl），每个颜色带上它的配方"));
    m_exportButton->setGeometry(536, 9, 100, 25);
    connect(m_exportButton, &QPushButton::clicked, this, &TForm_paletteManger::exportPaletteClick);

    auto *remove = new QShortcut(QKeySequence::Delete, this);
    connect(remove, &QShortcut::activated, this, &TForm_paletteManger::mp_removeColorClick);
    auto *save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this]() {
        if (m_modified)
            bbtn_saveClick();
    });
}

void TForm_paletteManger::buildPopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu_palette"));
    const auto add = [this](const char *name, const QString &text, void (TForm_paletteManger::*slot)()) {
        QAction *action = m_popup->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_removeAction = add("mp_removeColor", tr("删除色彩"), &TForm_paletteManger::mp_removeColorClick);
    m_addAction = add("mp_addColor", tr("增加色彩"), &TForm_paletteManger::mp_addColorClick);
    m_propertiesAction
        = add("mp_ColorProperties", tr("色彩属性"), &TForm_paletteManger::mp_ColorPropertiesClick);
    m_clearAction
        = add("mi_clearColorPanel", tr("清空色板"), &TForm_paletteManger::mi_clearColorPanelClick);
    m_popup->addSeparator();
    m_exportAction = add("mp_exportPalette", tr("导出色板..."), &TForm_paletteManger::exportPaletteClick);
    connect(m_popup, &QMenu::aboutToShow, this, &TForm_paletteManger::PopupMenu_palettePopup);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        // The popup acts on the cell under the mouse, not on an earlier
        // selection: a right-click selects first (off the cells, nothing).
        selectCell(paletteCellAt(m_grid->geometry(), at));
        m_popup->popup(m_grid->mapToGlobal(at));
    });
}

void TForm_paletteManger::setMatchContext(const MatchContext *context)
{
    if (m_match)
        disconnect(m_match, nullptr, this, nullptr);
    m_match = context;
    if (m_match) {
        connect(m_match, &MatchContext::changed, this, [this] {
            if (m_cells.isFilled(m_selectedCell))
                analyseCurrentColor();
        });
    }
}

void TForm_paletteManger::placeOnFirstShow()
{
    if (m_placed || !parentWidget())
        return;
    m_placed = true;
    if (m_config) {
        // Where the user last put it, when that is still on a screen.
        const QStringList xy
            = QString::fromStdString(storedText(*m_config, settingkeys::kPaletteWindowPlace).value_or(std::string()))
                  .split(QLatin1Char(','));
        bool okX = false;
        bool okY = false;
        const QPoint stored = xy.size() == 2 ? QPoint(xy[0].toInt(&okX), xy[1].toInt(&okY)) : QPoint();
        if (okX && okY && QGuiApplication::screenAt(stored + QPoint(20, 20))) {
            move(stored);
            m_placedAt = stored;
            return;
        }
    }
    // Beside the main window, not over the picture.
    const QWidget *main = parentWidget()->window();
    const QScreen *screen = main->screen();
    const QRect available = screen ? screen->availableGeometry() : main->frameGeometry();
    const auto *status = main->findChild<const QStatusBar *>();
    const QSize frame = frameGeometry().size().expandedTo(size());
    m_placedAt = paletteWindowPlace(main->frameGeometry(), frame, available, status ? status->height() : 0);
    move(m_placedAt);
}

void TForm_paletteManger::rememberPlace()
{
    // Stored once the user moved it; until then it goes beside the window.
    if (!m_config || !m_placed || pos() == m_placedAt)
        return;
    m_placedAt = pos();
    saveText(*m_config, settingkeys::kPaletteWindowPlace,
             QStringLiteral("%1,%2").arg(pos().x()).arg(pos().y()).toStdString());
}

void TForm_paletteManger::hideEvent(QHideEvent *event)
{
    rememberPlace();
    QWidget::hideEvent(event);
}

void TForm_paletteManger::setShownFlag(bool shown)
{
    m_shown = shown;
    if (shown)
        placeOnFirstShow();
    setVisible(shown);
    if (shown)
        m_grid->setFocus(Qt::OtherFocusReason); // arrows move the selection at once
}

bool TForm_paletteManger::hasPalette() const
{
    return m_paletteList->currentIndex() >= 0 && m_loaded;
}

bool TForm_paletteManger::isSelectedCellFilled() const
{
    return m_paletteList->currentIndex() >= 0 && m_cells.isFilled(m_selectedCell);
}

void TForm_paletteManger::selectFirstEmptyCell()
{
    selectCell(hasPalette() ? m_cells.firstEmpty() : -1, false);
}

void TForm_paletteManger::putColorInSelectedCell(int red, int green, int blue)
{
    if (!hasPalette() || !m_cells.put(m_selectedCell, {red, green, blue}))
        return;
    setModified(true);
    selectCell(m_selectedCell);
}

void TForm_paletteManger::repaintPalette()
{
    m_grid->update();
}

void TForm_paletteManger::setExternalDrag(bool dragging, const RgbColor &color)
{
    m_externalDrag = dragging;
    m_externalColor = color;
}

void TForm_paletteManger::setModified(bool modified)
{
    m_modified = modified;
    m_saveButton->setEnabled(modified);
}

void TForm_paletteManger::selectCell(int cell, bool analyse)
{
    m_selectedCell = PaletteCells::isValidIndex(cell) ? cell : -1;
    m_grid->setSelectedCell(m_selectedCell);
    const bool filled = m_cells.isFilled(m_selectedCell);
    m_removeButton->setEnabled(filled);
    if (filled) {
        const RgbColor color = m_cells.colorAt(m_selectedCell);
        m_currentColor = QColor(color.red, color.green, color.blue);
        m_swatch->setToolTip(hintOf(color));
        if (analyse)
            analyseCurrentColor();
    } else {
        m_currentColor = kPaletteButtonFace;
        m_swatch->setToolTip(QString());
    }
    m_swatch->setColor(m_currentColor);
    m_analysisBox->update();
}

void TForm_paletteManger::analyseCurrentColor()
{
    const RgbColor color{m_currentColor.red(), m_currentColor.green(), m_currentColor.blue()};
    // The main window's answer (its model, box, learnt strengths and parts
    // total), with the Pantone card the analysis always shows.
    if (const auto pick = m_match ? m_match->answer(color, CStandardColorCard::Card::PantoneCoated) : std::nullopt)
        applyColorPick(m_analysis, *pick);
    else if (m_colors)
        analyseColor(m_analysis, m_colors->currentBoxRecords(), color, m_cards);
    else
        m_analysis.target = color;
    m_analysisBox->update();
}

void TForm_paletteManger::cellPressed(int cell)
{
    m_externalDrag = false;
    m_dragSourceCell = -1;
    if (cell < 0)
        return;
    m_grid->setFocus(Qt::MouseFocusReason);
    selectCell(cell);
    if (m_cells.isFilled(cell))
        m_dragSourceCell = cell;
}

void TForm_paletteManger::gridDrop(int cell, const PaletteDrag &drag)
{
    if (cell >= 0) {
        if (drag.sourceCell >= 0) {
            // A move inside the grid: only from the cell pressed here, and only
            // while it still holds the colour that was picked up.
            const bool fromHere = drag.sourceCell == m_dragSourceCell && m_cells.colorAt(drag.sourceCell) == drag.color;
            if (hasPalette() && fromHere && m_cells.move(drag.sourceCell, cell))
                setModified(true);
        } else if (hasPalette() && m_cells.put(cell, drag.color)) {
            setModified(true);
        }
        selectCell(cell);
        m_grid->update();
    }
    m_externalDrag = false;
    m_dragSourceCell = -1;
}

void TForm_paletteManger::removeButtonDrop(const PaletteDrag &drag)
{
    if (drag.sourceCell >= 0 && drag.sourceCell == m_dragSourceCell) {
        // The question waits until the drag has finished: a modal box inside
        // a drop would run while the platform still holds the drag.
        const int cell = drag.sourceCell;
        QMetaObject::invokeMethod(
            this, [this, cell]() { removeCellAfterQuestion(cell); }, Qt::QueuedConnection);
    }
    m_dragSourceCell = -1;
}

} // namespace pigmora::ui
