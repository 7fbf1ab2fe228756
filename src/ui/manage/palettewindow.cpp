#include "manage/palettewindow.h"

#include <QCloseEvent>

namespace pigmora::ui {

TForm_paletteManger::TForm_paletteManger(QWidget *owner, const CStandardColorCard *cards, CColorManager *colors,
                                         Notifier *notifier)
    : QWidget(owner, Qt::Tool)
    , m_cards(cards)
    , m_colors(colors)
    , m_notifier(notifier)
{
    setObjectName(QStringLiteral("TForm_paletteManger"));
    setWindowTitle(QStringLiteral("色板"));
    setFixedSize(646, 259);
}

TForm_paletteManger::~TForm_paletteManger() = default;

void TForm_paletteManger::refillPaletteList() { }

void TForm_paletteManger::setShownFlag(bool shown)
{
    m_shown = shown;
    setVisible(shown);
}

bool TForm_paletteManger::isSelectedCellFilled() const
{
    return false;
}

void TForm_paletteManger::selectFirstEmptyCell() { }

void TForm_paletteManger::putColorInSelectedCell(int, int, int) { }

void TForm_paletteManger::repaintPalette()
{
    update();
}

void TForm_paletteManger::setExternalDrag(bool dragging, const RgbColor &color)
{
    m_externalDrag = dragging;
    m_externalColor = color;
}

bool TForm_paletteManger::confirmClose()
{
    return true;
}

void TForm_paletteManger::closeEvent(QCloseEvent *event)
{
    m_shown = false;
    event->accept();
}

} // namespace pigmora::ui
