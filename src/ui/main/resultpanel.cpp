#include "main/resultpanel.h"

#include "engine/colorpick.h"
#include "main/language.h"
#include "main/messagetext.h"
#include "main/mixtexts.h"
#include "main/uitext.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace pigmora::ui {

namespace {

QColor qColorOf(const RgbColor &color)
{
    return QColor(color.red, color.green, color.blue);
}

QLabel *selectableLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

// A ΔE00 label: the difference and its one-word reading, e.g. "ΔE00 2.31 接近".
QLabel *deltaE00Label(const QString &objectName, QWidget *parent)
{
    QLabel *label = selectableLabel(objectName, parent);
    label->setToolTip(QObject::tr("ΔE00（CIEDE2000）：按人眼感知计算的色差。\n"
                                     "小于 1 不可见，1 至 2 极接近，2 至 5 接近，5 以上可见差异。"));
    return label;
}

void showDeltaE00(QLabel *label, const std::optional<double> &difference)
{
    label->setText(difference
                       ? fromUtf8(deltaE00Text(*difference)) + QLatin1Char(' ') + coreText(deltaE00Reading(*difference))
                       : QString());
}

} // namespace

QString rgbCopyText(const RgbColor &color)
{
    return QStringLiteral("R:%1 G:%2 B:%3").arg(color.red).arg(color.green).arg(color.blue);
}

QString hexCopyText(const RgbColor &color)
{
    return qColorOf(color).name(QColor::HexRgb).toUpper();
}

QString cmykCopyText(const RgbColor &color)
{
    const Cmyk cmyk = cmykOf(color);
    return QStringLiteral("C:%1 M:%2 Y:%3 K:%4").arg(cmyk.cyan).arg(cmyk.magenta).arg(cmyk.yellow).arg(cmyk.black);
}

ColorSwatch::ColorSwatch(const QString &objectName, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Box);
    setFixedSize(40, 40);
}

void ColorSwatch::setColor(const RgbColor &color)
{
    m_color = color;
    setToolTip(rgbCopyText(color) + QLatin1Char('\n') + hexCopyText(color) + QLatin1Char('\n') + cmykCopyText(color));
    update();
}

void ColorSwatch::clearColor()
{
    m_color.reset();
    setToolTip(QString());
    update();
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color ? qColorOf(*m_color) : palette().color(QPalette::Base));
    painter.end();
    QFrame::paintEvent(event);
}

void ColorSwatch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressPoint = event->position().toPoint();
    Q_EMIT pressed(event->button());
    QFrame::mousePressEvent(event);
}

void ColorSwatch::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressPoint && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - *m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressPoint.reset();
        Q_EMIT dragStarted();
    }
    QFrame::mouseMoveEvent(event);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressPoint.reset();
    Q_EMIT released();
    QFrame::mouseReleaseEvent(event);
}

void ColorSwatch::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_color)
        return;
    const RgbColor color = *m_color;
    QMenu menu(this);
    menu.addAction(tr("复制 RGB"), [color] { QApplication::clipboard()->setText(rgbCopyText(color)); });
    menu.addAction(tr("复制十六进制"), [color] { QApplication::clipboard()->setText(hexCopyText(color)); });
    menu.addAction(tr("复制 CMYK"), [color] { QApplication::clipboard()->setText(cmykCopyText(color)); });
    menu.exec(event->globalPos());
}

ResultPanel::ResultPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel_showinfo"));
    setFixedHeight(116);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 4);

    const auto groupBox = [this, row](const QString &name, const QString &caption, int width) {
        auto *box = new QGroupBox(caption, this);
        box->setObjectName(name);
        box->setFixedWidth(width);
        // A hidden group keeps its place: nothing moves with the number of paints.
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
        row->addWidget(box);
        auto *grid = new QGridLayout(box);
        grid->setContentsMargins(6, 4, 6, 4);
        return std::pair(box, grid);
    };

    auto [original, originalGrid] = groupBox(QStringLiteral("GroupBox6"), tr("原色"), 150);
    m_picked = new ColorSwatch(QStringLiteral("Shape_color_org"), original);
    m_save = new QPushButton(tr("保存"), original);
    m_save->setObjectName(QStringLiteral("BitBtn_saveColor"));
    m_save->setEnabled(false);
    m_pickedValues = selectableLabel(QStringLiteral("Label_orgValues"), original);
    originalGrid->addWidget(m_picked, 0, 0);
    originalGrid->addWidget(m_save, 0, 1);
    originalGrid->addWidget(m_pickedValues, 1, 0, 1, 2);

    for (int k = 0; k < 3; ++k) {
        const QString n = QString::number(k + 1);
        auto [box, grid] = groupBox(QStringLiteral("GroupBox_color_") + n, tr("颜色") + n, 170);
        PaintGroup &group = m_paints[static_cast<std::size_t>(k)];
        group.box = box;
        group.swatch = new ColorSwatch(QStringLiteral("Shape_color_") + n, box);
        group.name = selectableLabel(QStringLiteral("Label_colorname_") + n, box);
        group.rate = selectableLabel(QStringLiteral("Label_colorrate_") + n, box);
        group.touch = new QLabel(box);
        group.touch->setObjectName(QStringLiteral("Label_colortouch_") + n);
        group.touch->setToolTip(tr("只需一点：比最多份数的半份还少；整份配方至少给它一份。"));
        group.parts = selectableLabel(QStringLiteral("Label_colorparts_") + n, box);
        auto *rateRow = new QHBoxLayout;
        rateRow->addWidget(group.rate);
        rateRow->addWidget(group.touch);
        rateRow->addStretch(1);
        grid->addWidget(group.swatch, 0, 0, 2, 1);
        grid->addWidget(group.name, 0, 1);
        grid->addLayout(rateRow, 1, 1);
        grid->addWidget(group.parts, 2, 1);
    }

    // 185 wide before the column of the whole-part recipe.
    auto [mix, mixGrid] = groupBox(QStringLiteral("GroupBox_color_mix"), tr("混合色"), 300);
    m_mixed = new ColorSwatch(QStringLiteral("Shape_color_mix"), mix);
    auto *mixName = new QLabel(tr("颜色偏差："), mix);
    mixName->setObjectName(QStringLiteral("Label_mixname"));
    m_distance = selectableLabel(QStringLiteral("Label_mixdistance"), mix);
    m_mixDeltaE00 = deltaE00Label(QStringLiteral("Label_mixDeltaE00"), mix);
    m_mixedValues = selectableLabel(QStringLiteral("Label_mixValues"), mix);
    mixGrid->addWidget(m_mixed, 0, 0, 3, 1);
    mixGrid->addWidget(mixName, 0, 1);
    mixGrid->addWidget(m_distance, 1, 1);
    mixGrid->addWidget(m_mixDeltaE00, 2, 1);
    mixGrid->addWidget(m_mixedValues, 3, 0, 1, 2);
    m_mixParts = selectableLabel(QStringLiteral("Label_mixParts"), mix);
    m_mixParts->setToolTip(partsSummaryHint());
    m_recordMix = new QPushButton(tr("记录实际混色"), mix);
    m_recordMix->setObjectName(QStringLiteral("Button_recordMix"));
    m_recordMix->setToolTip(tr("记下照这个配方实际混出的颜色：学习颜料的着色力，并给出纠正建议。"));
    m_recordMix->setEnabled(false);
    mixGrid->addWidget(m_mixParts, 0, 2, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    mixGrid->addWidget(m_recordMix, 2, 2, 2, 1);
    mixGrid->setColumnStretch(1, 1);

    auto [card, cardGrid] = groupBox(QStringLiteral("GroupBox_pantone"), QString(), 150);
    m_cardBox = card;
    m_card = new ColorSwatch(QStringLiteral("Shape_color_pantone"), card);
    m_cardName = selectableLabel(QStringLiteral("Label_color_pantone"), card);
    m_cardDeltaE00 = deltaE00Label(QStringLiteral("Label_cardDeltaE00"), card);
    cardGrid->addWidget(m_card, 0, 0);
    cardGrid->addWidget(m_cardName, 0, 1);
    cardGrid->addWidget(m_cardDeltaE00, 1, 0, 1, 2);

    auto [compare, compareGrid] = groupBox(QStringLiteral("GroupBox_compare"), tr("原色 / 混合色"), 112);
    m_comparePicked = new ColorSwatch(QStringLiteral("Shape_compare_picked"), compare);
    m_compareMixed = new ColorSwatch(QStringLiteral("Shape_compare_mixed"), compare);
    for (ColorSwatch *swatch : {m_comparePicked, m_compareMixed})
        swatch->setFixedSize(44, 52);
    m_pickNote = new QLabel(tr("原图颜色"), compare);
    m_pickNote->setObjectName(QStringLiteral("Label_pickNote"));
    m_pickNote->setToolTip(tr("明度视图中取色：配方按照片原来的颜色计算。"));
    m_pickNote->setVisible(false);
    compareGrid->setHorizontalSpacing(0); // the two colours touch
    compareGrid->addWidget(m_comparePicked, 0, 0);
    compareGrid->addWidget(m_compareMixed, 0, 1);
    compareGrid->addWidget(m_pickNote, 1, 0, 1, 2, Qt::AlignHCenter);
    m_photoColor = new QLabel(compare);
    m_photoColor->setObjectName(QStringLiteral("Label_photoColor"));
    m_photoColor->setToolTip(tr("校正前照片里的颜色"));
    m_photoColor->setVisible(false);
    compareGrid->addWidget(m_photoColor, 2, 0, 1, 2, Qt::AlignHCenter);
    row->addStretch(1);
}

void ResultPanel::showPick(const ColorPick &pick)
{
    m_picked->setColor(pick.target);
    m_comparePicked->setColor(pick.target);
    m_pickedValues->setText(hexCopyText(pick.target));
    m_save->setEnabled(true);
    if (!pick.solved) {
        m_compareMixed->clearColor(); // the pair compares one answer, never two
        return;
    }
    for (std::size_t k = 0; k < m_paints.size(); ++k) {
        PaintGroup &group = m_paints[k];
        const std::optional<PickedPaint> &paint = pick.paints[k];
        group.box->setVisible(paint.has_value());
        if (!paint)
            continue;
        group.swatch->setColor(paint->color);
        const QString name = englishPaintName(pick.mix.paints[k]).value_or(fromUtf8(paint->name));
        group.name->setText(name + QStringLiteral(" : "));
        group.name->setToolTip(fromUtf8(paint->code) + QLatin1Char(' ') + name);
        group.rate->setText(fromUtf8(paint->proportion));
        group.touch->setText(paint->touch ? touchText() : QString());
        group.parts->setText(partsText(paint->parts));
        // The whole name, however long, over the whole group.
        group.box->setToolTip(name + QStringLiteral(" (") + fromUtf8(paint->code)
                              + QStringLiteral(")\n") + fromUtf8(paint->proportion));
    }
    const RgbColor mixed = pick.mix.mixed.color();
    m_mixed->setColor(mixed);
    m_compareMixed->setColor(mixed);
    m_mixedValues->setText(hexCopyText(mixed));
    m_distance->setText(fromUtf8(pick.deviation));
    showDeltaE00(m_mixDeltaE00, pick.mixDeltaE00);
    m_mixParts->setText(pick.parts ? partsSummaryText(*pick.parts) : QString());
    setAnswer(pick);
    if (pick.cardEntry) {
        m_card->setColor(pick.cardEntry->color());
        m_cardName->setText(fromUtf8(pick.cardText));
        showDeltaE00(m_cardDeltaE00, pick.cardDeltaE00);
    }
}

void ResultPanel::clearAnswer()
{
    for (PaintGroup &group : m_paints) {
        group.box->setVisible(false);
        group.swatch->clearColor();
        group.name->clear();
        group.name->setToolTip(QString());
        group.box->setToolTip(QString());
        group.rate->clear();
        group.touch->clear();
        group.parts->clear();
    }
    for (ColorSwatch *swatch : {m_mixed, m_card, m_compareMixed})
        swatch->clearColor();
    for (QLabel *label : {m_mixedValues, m_distance, m_mixDeltaE00, m_cardName, m_cardDeltaE00, m_mixParts})
        label->clear();
    setAnswer(std::nullopt);
}

void ResultPanel::setAnswer(std::optional<ColorPick> answer)
{
    m_answer = std::move(answer);
    int paints = 0;
    if (m_answer) {
        for (const std::optional<PickedPaint> &paint : m_answer->paints)
            paints += paint.has_value() ? 1 : 0;
    }
    // A recorded mix is one of two or three paints.
    m_recordMix->setEnabled(paints >= 2 && m_answer->parts.has_value());
    Q_EMIT answerChanged();
}

void ResultPanel::setPickedFromPictureColours(bool fromPicture)
{
    m_pickNote->setVisible(fromPicture);
}

void ResultPanel::setPhotoColor(const std::optional<RgbColor> &photo)
{
    m_photoColor->setVisible(photo.has_value());
    if (!photo)
        return;
    const QString hex = hexCopyText(*photo);
    m_photoColor->setText(QStringLiteral("<span style=\"background:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> ").arg(hex)
                          + tr("照片 %1").arg(hex));
}

void ResultPanel::setCardCaption(const QString &caption)
{
    m_cardBox->setTitle(caption);
    m_cardBox->setVisible(!caption.isEmpty());
}

std::optional<RgbColor> ResultPanel::pickedColor() const
{
    return m_picked->color();
}

} // namespace pigmora::ui
