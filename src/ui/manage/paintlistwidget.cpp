#include "manage/paintlistwidget.h"

#include "data/platform.h"
#include "main/language.h"
#include "manage/managesupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace pigmora::ui {

namespace {

constexpr int kRecordRole = Qt::UserRole;
constexpr int kCodeRole = Qt::UserRole + 1;
const QColor kHighlight(177, 185, 207);
const QColor kSwatchBorder(160, 160, 160);
const QColor kRgbGrey(128, 128, 128);

PaintColorRecord recordOf(const QModelIndex &index)
{
    const QByteArray bytes = index.data(kRecordRole).toByteArray();
    if (bytes.size() != static_cast<qsizetype>(PaintColorRecord::kSize))
        return {};
    return PaintColorRecord::fromBytes(reinterpret_cast<const std::uint8_t *>(bytes.constData()));
}

QString nameOf(const PaintColorRecord &paint)
{
    return paintName(paint);
}

} // namespace

QRect paintSwatchRect(const QRect &entry)
{
    // The right and bottom edges (L + 35, B - 3) are exclusive, B being the
    // exclusive bottom of the entry.
    return {entry.left() + 2, entry.top() + 3, 33, entry.height() - 6};
}

int paintTextLeft(const QRect &entry)
{
    return entry.left() + 38;
}

int paintTextTop(const QRect &entry, int letterHeight)
{
    return entry.top() + (entry.height() - letterHeight) / 2;
}

PaintItemDelegate::PaintItemDelegate(bool boldNameWithRgb, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_withRgb(boldNameWithRgb)
{ }

void PaintItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const PaintColorRecord paint = recordOf(index);
    const QRect entry = option.rect;
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    painter->save();
    painter->fillRect(entry, option.state.testFlag(QStyle::State_Selected) || focused ? kHighlight : Qt::white);

    QFont nameFont = option.font;
    nameFont.setBold(m_withRgb);
    const QFontMetrics metrics(option.font);
    const QFontMetrics nameMetrics(nameFont);
    const int top = paintTextTop(entry, metrics.height());
    const QString name = nameOf(paint);
    painter->setFont(nameFont);
    painter->setPen(Qt::black);
    painter->drawText(paintTextLeft(entry), top + nameMetrics.ascent(), name);
    if (m_withRgb) {
        const RgbColor c = paint.color();
        const QString rgb = QStringLiteral("(R:%1 G:%2 B:%3)").arg(c.red).arg(c.green).arg(c.blue);
        painter->setFont(option.font);
        painter->setPen(kRgbGrey);
        painter->drawText(paintTextLeft(entry) + nameMetrics.horizontalAdvance(name) + 10, top + metrics.ascent(), rgb);
    }

    const RgbColor c = paint.color();
    const QRect swatch = paintSwatchRect(entry);
    painter->fillRect(swatch, QColor(c.red, c.green, c.blue));
    painter->setPen(Qt::white);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    // A thin grey border around it: a white or very light paint would
    // vanish in the white list otherwise.
    painter->setPen(kSwatchBorder);
    painter->drawRect(swatch.adjusted(-1, -1, 0, 0));
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(option.widget);
        focus.rect = entry;
        focus.backgroundColor = kHighlight;
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
    painter->restore();
}

QSize PaintItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), PaintListWidget::kItemHeight};
}

PaintListWidget::PaintListWidget(bool boldNameWithRgb, QWidget *parent)
    : QListWidget(parent)
    , m_collator(QLocale(QLocale::Chinese, QLocale::China))
{
    setItemDelegate(new PaintItemDelegate(boldNameWithRgb, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled); // typed Chinese finds names too
}

bool PaintListWidget::lessThan(const PaintColorRecord &a, const PaintColorRecord &b) const
{
    const int order = m_collator.compare(nameOf(a), nameOf(b));
    if (order != 0)
        return order < 0;
    return a.code() < b.code();
}

QListWidgetItem *PaintListWidget::makeItem(const PaintColorRecord &paint) const
{
    auto *item = new QListWidgetItem(nameOf(paint));
    item->setData(
        kRecordRole,
        QByteArray(reinterpret_cast<const char *>(paint.data()), static_cast<qsizetype>(PaintColorRecord::kSize)));
    item->setData(kCodeRole, fromGbk(paint.code()));
    return item;
}

void PaintListWidget::setPaints(std::vector<PaintColorRecord> paints)
{
    std::stable_sort(paints.begin(), paints.end(),
                     [this](const PaintColorRecord &a, const PaintColorRecord &b) { return lessThan(a, b); });
    clear();
    for (const PaintColorRecord &paint : paints)
        addItem(makeItem(paint));
}

void PaintListWidget::addPaint(const PaintColorRecord &paint)
{
    // Binary search for the first entry that sorts after the paint.
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (lessThan(paint, paintAt(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    insertItem(low, makeItem(paint));
}

PaintColorRecord PaintListWidget::paintAt(int row) const
{
    return recordOf(indexFromItem(item(row)));
}

PaintColorRecord PaintListWidget::takePaint(int row)
{
    const PaintColorRecord paint = paintAt(row);
    delete takeItem(row);
    return paint;
}

std::vector<PaintColorRecord> PaintListWidget::paints() const
{
    std::vector<PaintColorRecord> all;
    for (int row = 0; row < count(); ++row)
        all.push_back(paintAt(row));
    return all;
}

int PaintListWidget::selectedRow() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void PaintListWidget::selectRow(int row)
{
    if (row >= 0 && row < count())
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void PaintListWidget::keyboardSearch(const QString &search)
{
    // Letters typed in quick succession add up to one prefix.
    if (!m_sinceTyped.isValid() || m_sinceTyped.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_sinceTyped.start();
    m_typed += search;
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem *entry = item(row);
        if (entry->text().startsWith(m_typed, Qt::CaseInsensitive)
            || entry->data(kCodeRole).toString().startsWith(m_typed, Qt::CaseInsensitive)) {
            selectRow(row);
            scrollToItem(entry);
            return;
        }
    }
}

void PaintListWidget::keyReleaseEvent(QKeyEvent *event)
{
    QListWidget::keyReleaseEvent(event);
    Q_EMIT keyReleased();
}

} // namespace pigmora::ui
