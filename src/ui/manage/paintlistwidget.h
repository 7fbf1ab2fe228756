#pragma once

#include "data/records.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRect>
#include <QStyledItemDelegate>

#include <vector>

namespace pigmora::ui {

// Where one paint entry draws its parts inside the entry rectangle: the
// swatch from (L + 2, T + 3) to (L + 35, B - 3), the name from x = L + 38,
// vertically centred on the height of an "A".
QRect paintSwatchRect(const QRect &entry);
int paintTextLeft(const QRect &entry);
int paintTextTop(const QRect &entry, int letterHeight);

// Draws a paint entry: highlight when selected or current, swatch, name (bold
// in the colour group manager) and, there, the grey "(R:… G:… B:…)".
class PaintItemDelegate final : public QStyledItemDelegate
{
public:
    PaintItemDelegate(bool boldNameWithRgb, QObject *parent);
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    bool m_withRgb;
};

// A list of paints kept sorted by name as a Chinese reader expects: QCollator
// with the Chinese locale orders Han characters by pinyin, not by code point
// (ties by code). Each entry carries a copy of its record. Typing the first
// letters of a name or of a code selects the first paint that matches.
class PaintListWidget final : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int kItemHeight = 28;

    explicit PaintListWidget(bool boldNameWithRgb, QWidget *parent = nullptr);

    void setPaints(std::vector<PaintColorRecord> paints);
    void addPaint(const PaintColorRecord &paint); // at its sorted place, returns nothing
    PaintColorRecord paintAt(int row) const;
    PaintColorRecord takePaint(int row);
    std::vector<PaintColorRecord> paints() const;
    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

    void keyboardSearch(const QString &search) override;

Q_SIGNALS:
    void keyReleased();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool lessThan(const PaintColorRecord &a, const PaintColorRecord &b) const;
    QListWidgetItem *makeItem(const PaintColorRecord &paint) const;

    QCollator m_collator;
    QString m_typed;
    QElapsedTimer m_sinceTyped;
};

} // namespace pigmora::ui
