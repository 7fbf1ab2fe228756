#include "manage/analysispanel.h"

#include "main/language.h"

#include <QLinearGradient>
#include <QPainter>

namespace pigmora::ui {

namespace {

constexpr QColor kPanelBackground(240, 240, 240);
// The swatch of a card, (11, 11) up to (62, 45): 51 x 34.
constexpr QRect kSwatch(11, 11, 51, 34);
constexpr QColor kSwatchFrame(214, 214, 214);
constexpr int kCaptionTop = 48;
constexpr int kValueTop = 68;
constexpr int kTextLeft = 11;
// From the text's left edge to the card's right edge.
constexpr int kTextWidth = 55;

QColor qcolor(const RgbColor &color)
{
    return QColor(color.red, color.green, color.blue);
}

QFont namedFont(const QStringList &families)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSize(9);
    return font;
}

void drawText(QPainter &painter, const QFont &font, int x, int y, const QString &text)
{
    if (text.isEmpty())
        return;
    painter.setFont(font);
    // Text positions name the top of the line, as the layout gives them.
    // A long user paint name ends in an ellipsis instead of under the next card.
    const QFontMetrics metrics(font);
    painter.drawText(QPoint(x, y + metrics.ascent()), metrics.elidedText(text, Qt::ElideRight, kTextWidth));
}

void drawCard(QPainter &painter, int x, int y, const QImage &card, const QColor &swatch)
{
    painter.drawImage(QPoint(x, y), card);
    // A faint frame just outside the swatch, so that white stays visible on
    // the white card.
    painter.setPen(kSwatchFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kSwatch.translated(x, y).adjusted(-1, -1, 0, 0));
    painter.fillRect(kSwatch.translated(x, y), swatch);
}

} // namespace

QImage analysisCardPicture()
{
    QImage picture(kAnalysisCardWidth, kAnalysisCardHeight, QImage::Format_RGB32);
    picture.fill(kPanelBackground);
    QPainter painter(&picture);
    // The shadow: a few offset layers, darker towards the card.
    const QRect body(3, 3, 64, 82);
    for (int layer = 3; layer >= 1; --layer) {
        const int shade = 240 - 14 * (4 - layer);
        painter.fillRect(body.translated(layer, layer), QColor(shade, shade, shade));
    }
    painter.fillRect(body, Qt::white);
    painter.setPen(QColor(222, 222, 222));
    painter.drawRect(body.adjusted(0, 0, -1, -1));
    return picture;
}

QFont analysisCaptionFont()
{
    return namedFont({QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC")});
}

QFont analysisValueFont()
{
    // Calibri's narrow figures keep "100.00 %" inside the card; the stand-ins
    // are the metric-compatible face and a condensed one.
    return namedFont({QStringLiteral("Calibri"), QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Noto Sans CJK SC")});
}

std::array<AnalysisCard, kAnalysisCardCount> analysisCards(const ColorAnalysis &analysis)
{
    const bool deviation = !analysis.deviation.empty();
    std::array<AnalysisCard, kAnalysisCardCount> cards;
    cards[0] = {analysis.target, deviation ? QObject::tr("原色") : QString(), QString()};
    for (std::size_t k = 0; k < analysis.paints.size(); ++k) {
        const ColorAnalysis::Paint &paint = analysis.paints[k];
        cards[k + 1] = {paint.color, QString::fromStdString(paint.englishName.empty() ? paint.name : paint.englishName), QString::fromStdString(paint.proportion)};
    }
    cards[4] = {analysis.mixed, deviation ? QObject::tr("混合色差") : QString(),
                QString::fromStdString(analysis.deviation)};
    cards[5] = {analysis.pantone, analysis.pantoneName.empty() ? QString() : QObject::tr("潘通号"),
                QString::fromStdString(analysis.pantoneName)};
    return cards;
}

void drawColorAnalysis(QPainter &painter, int x, int y, const QImage &card, const ColorAnalysis &analysis)
{
    painter.save();
    const QFont caption = analysisCaptionFont();
    const QFont value = analysisValueFont();
    const auto cards = analysisCards(analysis);
    for (int k = 0; k < kAnalysisCardCount; ++k) {
        const AnalysisCard &entry = cards[static_cast<std::size_t>(k)];
        const int left = x + kAnalysisCardWidth * k;
        drawCard(painter, left, y, card, qcolor(entry.color));
        painter.setPen(Qt::black);
        drawText(painter, caption, left + kTextLeft, y + kCaptionTop, entry.caption);
        drawText(painter, value, left + kTextLeft, y + kValueTop, entry.value);
    }
    painter.restore();
}

void drawEmptyColorAnalysis(QPainter &painter, int x, int y, const QImage &card)
{
    painter.save();
    for (int k = 0; k < kAnalysisCardCount; ++k)
        drawCard(painter, x + kAnalysisCardWidth * k, y, card, Qt::white);
    painter.restore();
}

ColorAnalysisPaintBox::ColorAnalysisPaintBox(QWidget *parent)
    : QWidget(parent)
    , m_card(analysisCardPicture())
{
    setObjectName(QStringLiteral("PaintBox_colorAnalyse"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorAnalysisPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPanelBackground);
    const ColorAnalysis *analysis = m_source ? m_source() : nullptr;
    if (analysis)
        drawColorAnalysis(painter, 0, 0, m_card, *analysis);
    else
        drawEmptyColorAnalysis(painter, 0, 0, m_card);
}

} // namespace pigmora::ui
