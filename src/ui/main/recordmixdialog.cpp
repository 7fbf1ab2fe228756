#include "main/recordmixdialog.h"

#include "data/colormanager.h"
#include "data/notifier.h"
#include "engine/mixsolver.h"
#include "main/digitedit.h"
#include "main/matchcontext.h"
#include "main/messagetext.h"
#include "main/mixtexts.h"
#include "main/resultpanel.h"
#include "main/uitext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <ctime>

namespace pigmora::ui {

std::optional<MixRecipe> mixRecipeOf(const ColorPick &pick, MixModel model)
{
    if (!pick.solved || !pick.parts)
        return std::nullopt;
    MixRecipe recipe{pick.target, model, {}, {}};
    for (std::size_t k = 0; k < pick.paints.size(); ++k) {
        if (!pick.paints[k])
            continue;
        recipe.paints.push_back(pick.mix.paints[k]);
        recipe.parts.push_back(pick.parts->parts[k]);
    }
    if (recipe.paints.size() < 2)
        return std::nullopt;
    return recipe;
}

MixCorrection correctionFor(const MixRecipe &recipe, std::span<const int> parts, const RgbColor &got,
                            const StoredStrengths &strengths)
{
    std::vector<RecipePaint> paints;
    std::vector<double> amounts;
    for (std::size_t k = 0; k < recipe.paints.size() && k < parts.size(); ++k) {
        const PaintColorRecord &record = recipe.paints[k];
        RecipePaint paint{clampedColor(record.color())};
        if (recipe.model == MixModel::Pigment) {
            if (const auto learnt = strengths.of(record.group(), platform::gbkToUtf8(record.code())))
                paint.strength = learnt->strength;
        }
        paints.push_back(paint);
        amounts.push_back(parts[k]);
    }
    return correctMix(recipe.model, paints, amounts, recipe.target, got);
}

std::optional<RgbColor> channelColor(const QString &red, const QString &green, const QString &blue)
{
    int values[3];
    const QString *texts[] = {&red, &green, &blue};
    for (int c = 0; c < 3; ++c) {
        bool ok = false;
        values[c] = texts[c]->toInt(&ok);
        if (!ok || values[c] < 0 || values[c] > 255)
            return std::nullopt;
    }
    return RgbColor{values[0], values[1], values[2]};
}

RecordMixDialog::RecordMixDialog(MixRecipe recipe, MatchContext &context, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_recipe(std::move(recipe))
    , m_context(context)
    , m_notifier(notifier)
{
    setObjectName(QStringLiteral("TForm_recordMix"));
    setWindowTitle(tr("记录实际混色"));
    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    const auto swatch = [this](const QString &name, const RgbColor &color) {
        auto *s = new ColorSwatch(name, this);
        s->setFixedSize(24, 24);
        s->setColor(color);
        return s;
    };

    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(new QLabel(tr("原色："), this));
    targetRow->addWidget(swatch(QStringLiteral("Shape_target"), m_recipe.target));
    targetRow->addWidget(new QLabel(hexCopyText(m_recipe.target), this));
    targetRow->addStretch(1);

    auto *recipeBox = new QGroupBox(tr("配方 (份)"), this);
    recipeBox->setObjectName(QStringLiteral("GroupBox_recipe"));
    auto *recipeGrid = new QGridLayout(recipeBox);
    for (std::size_t k = 0; k < m_recipe.paints.size(); ++k) {
        const int row = static_cast<int>(k);
        const QString n = QString::number(k + 1);
        const PaintColorRecord &paint = m_recipe.paints[k];
        auto *name = new QLabel(paintName(k) + QStringLiteral(" (") + fromGbk(paint.code()) + QLatin1Char(')'), this);
        name->setObjectName(QStringLiteral("Label_paint_") + n);
        auto *parts = new QSpinBox(this);
        parts->setObjectName(QStringLiteral("SpinBox_parts_") + n);
        parts->setRange(1, 999);
        parts->setValue(m_recipe.parts[k]);
        parts->setSuffix(tr(" 份"));
        recipeGrid->addWidget(swatch(QStringLiteral("Shape_paint_") + n, clampedColor(paint.color())), row, 0);
        recipeGrid->addWidget(name, row, 1);
        recipeGrid->addWidget(parts, row, 2);
        m_parts.push_back(parts);
    }
    recipeGrid->setColumnStretch(1, 1);

    auto *gotBox = new QGroupBox(tr("实际混出的颜色"), this);
    gotBox->setObjectName(QStringLiteral("GroupBox_got"));
    auto *gotRow = new QHBoxLayout(gotBox);
    const char *channels[][2] = {{"Edit_gotRed", "R"}, {"Edit_gotGreen", "G"}, {"Edit_gotBlue", "B"}};
    for (std::size_t c = 0; c < 3; ++c) {
        m_channels[c] = new DigitEdit(channels[c][0], 3, this);
        m_channels[c]->setFixedWidth(40);
        gotRow->addWidget(new QLabel(QLatin1String(channels[c][1]), this));
        gotRow->addWidget(m_channels[c]);
        connect(m_channels[c], &QLineEdit::textChanged, this, &RecordMixDialog::gotChanged);
    }
    m_got = new ColorSwatch(QStringLiteral("Shape_got"), this);
    m_got->setFixedSize(24, 24);
    gotRow->addWidget(m_got);
    m_pick = button("Button_pickGot", tr("从图片取色"));
    m_pick->setCheckable(true);
    m_pick->setToolTip(tr("按下后在照片上点击混出的颜色 (例如混色的照片)。"));
    gotRow->addWidget(m_pick);
    gotRow->addStretch(1);

    m_suggestion = new QLabel(this);
    m_suggestion->setObjectName(QStringLiteral("Label_suggestion"));
    m_suggestion->setWordWrap(true);
    m_suggestion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_strengths = new QLabel(this);
    m_strengths->setObjectName(QStringLiteral("Label_strengths"));
    m_strengths->setWordWrap(true);
    m_strengths->setToolTip(tr("颜料混色模式按这些着色力计算；未学到的颜料按 1。"));

    m_suggest = button("Button_suggest", tr("纠正建议"));
    m_suggest->setToolTip(tr("要加哪种颜料、加几份，才能更接近原色 (颜料加进去就取不出来)。"));
    m_record = button("Button_record", tr("记录"));
    m_record->setToolTip(tr("把这次混色记入数据文件夹，据此学习颜料的着色力。"));
    auto *close = button("Button_close", tr("关闭"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_suggest);
    buttons->addWidget(m_record);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(targetRow);
    layout->addWidget(recipeBox);
    layout->addWidget(gotBox);
    layout->addWidget(m_suggestion);
    layout->addWidget(m_strengths);
    layout->addLayout(buttons);

    connect(m_suggest, &QPushButton::clicked, this, &RecordMixDialog::suggestClick);
    connect(m_record, &QPushButton::clicked, this, &RecordMixDialog::recordClick);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    for (QSpinBox *parts : m_parts)
        connect(parts, &QSpinBox::valueChanged, m_suggestion, &QLabel::clear);
    gotChanged();
    showStrengths();
}

QString RecordMixDialog::paintName(std::size_t k) const
{
    return fromGbk(m_recipe.paints[k].name());
}

std::vector<int> RecordMixDialog::parts() const
{
    std::vector<int> parts;
    for (const QSpinBox *box : m_parts)
        parts.push_back(box->value());
    return parts;
}

std::optional<RgbColor> RecordMixDialog::gotColor() const
{
    return channelColor(m_channels[0]->text(), m_channels[1]->text(), m_channels[2]->text());
}

void RecordMixDialog::setGotColor(const RgbColor &color)
{
    const int values[] = {color.red, color.green, color.blue};
    for (std::size_t c = 0; c < 3; ++c)
        m_channels[c]->setText(QString::number(values[c]));
}

bool RecordMixDialog::waitingForPick() const
{
    return isVisible() && m_pick->isChecked();
}

bool RecordMixDialog::offerPickedColor(const RgbColor &color)
{
    if (!waitingForPick())
        return false;
    m_pick->setChecked(false);
    setGotColor(color);
    raise();
    activateWindow();
    return true;
}

void RecordMixDialog::gotChanged()
{
    const std::optional<RgbColor> got = gotColor();
    if (got)
        m_got->setColor(*got);
    else
        m_got->clearColor();
    m_record->setEnabled(got.has_value());
    m_suggest->setEnabled(got.has_value());
    m_suggestion->clear(); // it was for another colour
}

void RecordMixDialog::suggestClick()
{
    const std::optional<RgbColor> got = gotColor();
    if (!got)
        return;
    const std::vector<int> amounts = parts();
    const MixCorrection correction = correctionFor(m_recipe, amounts, *got, m_context.strengths());
    QStringList names;
    for (std::size_t k = 0; k < m_recipe.paints.size(); ++k)
        names << paintName(k);
    m_suggestion->setText(correctionText(correction, names));
}

void RecordMixDialog::recordClick()
{
    const std::optional<RgbColor> got = gotColor();
    if (!got || !m_context.colors())
        return;
    Observation observation;
    observation.measured = *got;
    observation.time = static_cast<std::int64_t>(std::time(nullptr));
    const std::vector<int> amounts = parts();
    for (std::size_t k = 0; k < m_recipe.paints.size(); ++k)
        observation.paints.push_back(observedPaint(m_recipe.paints[k], amounts[k]));
    const ObservationStore store(m_context.colors()->programFolder());
    if (const Status added = store.add(observation); !added) {
        if (m_notifier)
            m_notifier->showMessage(toUtf8(tr("不能记录这次混色：%1").arg(coreText(added.message()))),
                                    MessageIcon::Error);
        return;
    }
    // Every answer follows the refitted strengths.
    m_context.reloadObservations();
    showStrengths();
    m_strengths->setText(tr("已记录。") + QLatin1Char('\n') + m_strengths->text());
}

void RecordMixDialog::showStrengths()
{
    QStringList lines;
    for (std::size_t k = 0; k < m_recipe.paints.size(); ++k) {
        const PaintColorRecord &paint = m_recipe.paints[k];
        const auto strength = m_context.strengths().of(paint.group(), platform::gbkToUtf8(paint.code()));
        lines << tr("%1: %2").arg(paintName(k), strengthText(strength));
    }
    if (!m_context.observationProblem().empty())
        lines << tr("读不出记录的混色：%1").arg(coreText(m_context.observationProblem()));
    m_strengths->setText(lines.join(QLatin1Char('\n')));
}

} // namespace pigmora::ui
