#include "manage/addgroupcolor.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "data/standardcolorcard.h"
#include "main/digitedit.h"
#include "manage/managesupport.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>

namespace pigmora::ui {

namespace {

const QColor kDialogBackground(240, 240, 240);

QLineEdit *channelEdit(const char *name)
{
    auto *edit = new DigitEdit(name, 3);
    edit->setFixedWidth(48);
    return edit;
}

} // namespace

// The preview: a white card with rounded corners and a soft shadow; its
// colour area is the rounded rectangle (18, 16)-(119, 152).
class ColorPreviewCard final : public QWidget
{
public:
    ColorPreviewCard()
    {
        setObjectName(QStringLiteral("Image_show"));
        setFixedSize(139, 173);
    }
    void setColor(const QColor &color)
    {
        m_color = color;
        update();
    }
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kDialogBackground);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF card(4.5, 4.5, 126, 160);
        for (int i = 4; i >= 1; --i) { // shadow, fading outwards
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 14));
            painter.drawRoundedRect(card.translated(2, 3).adjusted(-i, -i, i, i), 8 + i, 8 + i);
        }
        painter.setBrush(Qt::white);
        painter.setPen(QColor(210, 210, 210));
        painter.drawRoundedRect(card, 8, 8);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(m_color);
        painter.setBrush(m_color);
        painter.drawRoundedRect(QRect(QPoint(18, 16), QPoint(118, 151)), 4, 4);
    }

private:
    QColor m_color;
};

TForm_addGroupColor::TForm_addGroupColor(CColorManager &colors, const CStandardColorCard *cards, Notifier *notifier,
                                         QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_cards(cards)
    , m_notifier(notifier)
    , m_preview(new ColorPreviewCard)
    , m_red(channelEdit("Edit_red"))
    , m_green(channelEdit("Edit_green"))
    , m_blue(channelEdit("Edit_blue"))
    , m_hex(new QLineEdit)
    , m_colorType(new QLabel)
    , m_name(new QLineEdit)
    , m_pantone(new QLineEdit)
{
    setObjectName(QStringLiteral("TForm_addGroupColor"));
    setWindowTitle(tr("增加色谱颜色"));
    QPalette background = palette();
    background.setColor(QPalette::Window, kDialogBackground);
    setPalette(background);
    setAutoFillBackground(true);

    m_hex->setObjectName(QStringLiteral("Edit_hex"));
    m_hex->setPlaceholderText(QStringLiteral("#RRGGBB"));
    m_hex->setToolTip(tr("输入或粘贴 #RRGGBB 形式的颜色"));
    m_hex->setMaxLength(7);
    m_hex->setFixedWidth(72);
    auto *pick = namedButton("bbtn_pickColor", tr("选色..."), tr("从系统颜色对话框中选取颜色"));
    m_colorType->setObjectName(QStringLiteral("Label_colorType"));
    QFont bold = m_colorType->font();
    bold.setBold(true);
    m_colorType->setFont(bold);
    m_name->setObjectName(QStringLiteral("Edit_colorName"));
    m_pantone->setObjectName(QStringLiteral("Edit_pantone"));
    m_pantone->setReadOnly(true);
    m_pantone->setEnabled(false);
    m_pantone->setAttribute(Qt::WA_InputMethodEnabled, false);

    auto *channels = new QGridLayout;
    channels->addWidget(new QLabel(tr("红(R):")), 0, 0);
    channels->addWidget(m_red, 0, 1, Qt::AlignLeft);
    channels->addWidget(new QLabel(tr("绿(G):")), 1, 0);
    channels->addWidget(m_green, 1, 1, Qt::AlignLeft);
    channels->addWidget(new QLabel(tr("蓝(B):")), 2, 0);
    channels->addWidget(m_blue, 2, 1, Qt::AlignLeft);
    channels->addWidget(m_hex, 3, 0, 1, 2, Qt::AlignLeft);
    channels->addWidget(pick, 4, 0, 1, 2, Qt::AlignLeft);
    for (QLineEdit *edit : {m_red, m_green, m_blue}) {
        // An emptied field counts as 0 while it is being typed in and shows
        // it once left.
        connect(edit, &QLineEdit::editingFinished, this, [edit]() {
            if (edit->text().isEmpty())
                edit->setText(QStringLiteral("0"));
        });
    }
    auto *right = new QVBoxLayout;
    right->addLayout(channels);
    right->addStretch();
    right->addWidget(m_colorType);
    auto *top = new QHBoxLayout;
    top->addWidget(m_preview);
    top->addLayout(right);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("颜色名称:")), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(new QLabel(tr("近似潘通色号:")), 1, 0);
    fields->addWidget(m_pantone, 1, 1);

    auto *ok = namedButton("bbtn_ok", tr("确认"));
    ok->setDefault(true);
    auto *cancel = namedButton("bbtn_cancel", tr("取消"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_red, &QLineEdit::textChanged, this, [this]() { channelChanged(m_red, &RgbColor::red); });
    connect(m_green, &QLineEdit::textChanged, this, [this]() { channelChanged(m_green, &RgbColor::green); });
    connect(m_blue, &QLineEdit::textChanged, this, [this]() { channelChanged(m_blue, &RgbColor::blue); });
    connect(m_hex, &QLineEdit::textEdited, this, [this](const QString &text) { setColorText(text); });
    connect(pick, &QPushButton::clicked, this, &TForm_addGroupColor::pickColor);
    connect(ok, &QPushButton::clicked, this, &TForm_addGroupColor::bbtn_okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    fixDialogSize(this, 283, 271);
}

void TForm_addGroupColor::setGroupName(const QString &groupName)
{
    m_colorType->setText(groupName);
}

void TForm_addGroupColor::setModifyRecord(const PaintColorRecord &record)
{
    m_modify = true;
    m_record = record;
    setWindowTitle(tr("修改色谱颜色"));
}

void TForm_addGroupColor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        formShow();
    }
}

void TForm_addGroupColor::formShow()
{
    if (m_modify) {
        m_color = m_record.color();
        m_name->setText(fromGbk(m_record.name()));
        m_name->setEnabled(false); // a modify never renames
    }
    const RgbColor start = m_color;
    m_red->setText(QString::number(start.red));
    m_green->setText(QString::number(start.green));
    m_blue->setText(QString::number(start.blue));
    if (!m_modify) {
        std::string proposed;
        if (m_colors.nextCustomColorName(toUtf8(trimmedName(m_colorType->text())), proposed))
            m_name->setText(fromUtf8(proposed));
    }
    m_preview->setColor(QColor(m_color.red, m_color.green, m_color.blue));
}

void TForm_addGroupColor::channelChanged(QLineEdit *edit, std::int32_t RgbColor::*channel)
{
    // The field holds digits only; empty counts as 0 without writing it in
    // (typing 250 into an emptied field gives 250, not 0250).
    const int value = edit->text().isEmpty() ? 0 : edit->text().toInt();
    const int clamped = std::clamp(value, 0, 255);
    m_color.*channel = clamped;
    m_preview->setColor(QColor(m_color.red, m_color.green, m_color.blue));
    if (value != clamped)
        edit->setText(QString::number(clamped)); // runs this once more, in range
    if (!m_hex->hasFocus())
        m_hex->setText(QColor(m_color.red, m_color.green, m_color.blue).name().toUpper());
    updatePantone();
}

void TForm_addGroupColor::updatePantone()
{
    if (!m_cards)
        return;
    if (const auto entry = m_cards->findNearestColor(CStandardColorCard::Card::PantoneCoated, m_color))
        m_pantone->setText(fromGbk(entry->displayText()));
}

bool TForm_addGroupColor::setColorText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*#?([0-9A-Fa-f]{6})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const QColor color(QLatin1Char('#') + match.captured(1));
    m_red->setText(QString::number(color.red()));
    m_green->setText(QString::number(color.green()));
    m_blue->setText(QString::number(color.blue()));
    return true;
}

void TForm_addGroupColor::pickColor()
{
    const QColor chosen
        = QColorDialog::getColor(QColor(m_color.red, m_color.green, m_color.blue), this, tr("选择颜色"));
    if (chosen.isValid())
        setColorText(chosen.name());
}

void TForm_addGroupColor::bbtn_okClick()
{
    const QString name = trimmedName(m_name->text());
    const QString group = trimmedName(m_colorType->text());
    if (name.isEmpty()) {
        stopMessage(m_notifier, tr("颜色名称不能为空!"));
        return;
    }
    if (group.isEmpty()) {
        stopMessage(m_notifier, tr("色谱类别名称不能为空!"));
        reject();
        return;
    }
    const std::optional<std::string> stored = m_modify ? std::nullopt : storedName(name, kPaintNameBytes);
    if (!m_modify && !stored) {
        stopMessage(m_notifier, QString::fromUtf8(kNameNotStorable));
        return;
    }
    PaintColorRecord found;
    const bool exists = m_colors.findGroupColor(toUtf8(group), toUtf8(name), found);
    if (m_modify) {
        if (!exists) {
            stopMessage(m_notifier, tr("色谱中颜色不存在!"));
            return;
        }
        // The paint keeps its English name: the dialog has no field for it.
        const std::string english = platform::gbkToUtf8(m_record.englishName());
        if (!m_colors.modifyGroupColor(toUtf8(group), toUtf8(name), english, m_color, m_record.strength(),
                                       m_record.mixingClass(), m_record.origin())) {
            infoMessage(m_notifier, tr("修改色谱颜色失败!"));
            return;
        }
        infoMessage(m_notifier, tr("修改色谱颜色成功!"));
    } else {
        if (exists) {
            stopMessage(m_notifier, tr("色谱中同名颜色存在!"));
            return;
        }
        if (!acceptStoredName(m_name, m_notifier, name, *stored, kPaintNameBytes))
            return;
        if (!m_colors.addGroupColor(toUtf8(group), toUtf8(name), "", m_color, 1.0f, 2, PaintColorRecord::kOriginUser)) {
            infoMessage(m_notifier, tr("增加色谱颜色失败!"));
            return;
        }
        infoMessage(m_notifier, tr("增加色谱颜色成功!"));
    }
    m_changed = true;
    accept();
}

} // namespace pigmora::ui
