#pragma once

#include "manage/coloranalysis.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

namespace pigmora::ui {

// The analysis cards: six 72 x 92 cards side by side, each a colour swatch
// with a caption and a value under it.
inline constexpr int kAnalysisCardWidth = 72;
inline constexpr int kAnalysisCardHeight = 92;
inline constexpr int kAnalysisCardCount = 6;

// The card picture: a white card with a soft grey shadow at its right and
// bottom edges, on the panel background (240, 240, 240).
QImage analysisCardPicture();

// The fonts of the cards, 9 points: captions and paint names in "微软雅黑",
// values in "Calibri"; where those are not installed the CJK sans face and a
// metric-compatible or plain sans face stand in.
QFont analysisCaptionFont();
QFont analysisValueFont();

// One card's colour and texts as drawn.
struct AnalysisCard {
    RgbColor color = kWhite;
    QString caption;
    QString value;
};
std::array<AnalysisCard, kAnalysisCardCount> analysisCards(const ColorAnalysis &analysis);

// Paints the six cards with their origin at (x, y).
void drawColorAnalysis(QPainter &painter, int x, int y, const QImage &card, const ColorAnalysis &analysis);
// Paints six blank cards with white swatches and no text.
void drawEmptyColorAnalysis(QPainter &painter, int x, int y, const QImage &card);

// PaintBox_colorAnalyse: paints the analysis it is given, or blank cards when
// the source says there is none to show.
class ColorAnalysisPaintBox : public QWidget
{
    Q_OBJECT

public:
    // Null when blank cards are to be shown.
    using Source = std::function<const ColorAnalysis *()>;

    explicit ColorAnalysisPaintBox(QWidget *parent);
    void setSource(Source source) { m_source = std::move(source); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_card;
    Source m_source;
};

} // namespace pigmora::ui
