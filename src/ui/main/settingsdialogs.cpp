#include "main/settingsdialogs.h"

#include "main/digitedit.h"
#include "store/settings.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace pigmora::ui {

namespace {

QPushButton *dialogButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// The right-aligned OK and Cancel buttons: OK sets `confirmed` and accepts,
// Cancel rejects.
QHBoxLayout *okCancelRow(QDialog *dialog, bool &confirmed)
{
    auto *buttons = new QHBoxLayout;
    auto *ok = dialogButton(QStringLiteral("Button_ok"), QObject::tr("确定"), dialog);
    auto *cancel = dialogButton(QStringLiteral("Button_cancel"), QObject::tr("取消"), dialog);
    ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, &confirmed] {
        confirmed = true;
        dialog->accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

int numberOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

UpDown::UpDown(const QString &objectName, QLineEdit *buddy, QWidget *parent)
    : QWidget(parent)
    , m_buddy(buddy)
{
    setObjectName(objectName);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const auto &[arrow, steps] : {std::pair(Qt::UpArrow, 1), std::pair(Qt::DownArrow, -1)}) {
        auto *button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, s = steps] { stepBy(s); });
        column->addWidget(button);
    }
}

void UpDown::setPosition(int position)
{
    m_position = std::clamp(position, kMinimum, kMaximum);
}

void UpDown::stepBy(int steps)
{
    // Starts from what the edit holds, like an attached up-down control.
    bool ok = false;
    const int typed = m_buddy->text().toInt(&ok);
    setPosition((ok ? std::clamp(typed, kMinimum, kMaximum) : m_position) + steps);
    m_buddy->setText(QString::number(m_position));
}

TForm_setGridCount::TForm_setGridCount(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TForm_setGridCount"));
    setWindowTitle(tr("设置网格格数"));
    setFixedSize(392, 126);

    const auto countRow = [this](const QString &labelName, const QString &caption, const char *editName,
                                 const QString &upDownName, QLineEdit *&edit, UpDown *&upDown) {
        auto *row = new QHBoxLayout;
        auto *label = new QLabel(caption, this);
        label->setObjectName(labelName);
        edit = new DigitEdit(editName, 3, this);
        edit->setFixedWidth(60);
        upDown = new UpDown(upDownName, edit, this);
        row->addStretch(1);
        row->addWidget(label);
        row->addWidget(edit);
        row->addWidget(upDown);
        row->addStretch(1);
        return row;
    };

    auto *layout = new QVBoxLayout(this);
    auto *counts = new QHBoxLayout;
    counts->addLayout(countRow(QStringLiteral("Label1"), tr("网格行数："), "Edit_rowCount",
                               QStringLiteral("UpDown_row"), m_rows, m_rowUpDown));
    counts->addLayout(countRow(QStringLiteral("Label2"), tr("网格列数："), "Edit_colCount",
                               QStringLiteral("UpDown_col"), m_columns, m_colUpDown));
    layout->addLayout(counts);

    QHBoxLayout *buttons = okCancelRow(this, m_confirmed);
    m_square = new QCheckBox(tr("正方形网格"), this);
    m_square->setObjectName(QStringLiteral("CheckBox_squareCells"));
    m_square->setToolTip(tr("格子取两个方向中较小的一格，画成正方形"));
    buttons->insertWidget(0, m_square);
    layout->addLayout(buttons);
}

void TForm_setGridCount::setSquareCells(bool square)
{
    m_square->setChecked(square);
}

bool TForm_setGridCount::squareCells() const
{
    return m_square->isChecked();
}

void TForm_setGridCount::setCounts(int columns, int rows)
{
    m_columns->setText(QString::number(columns));
    m_rows->setText(QString::number(rows));
    m_colUpDown->setPosition(columns);
    m_rowUpDown->setPosition(rows);
}

int TForm_setGridCount::columns() const
{
    return numberOr(m_columns->text(), 8);
}

int TForm_setGridCount::rows() const
{
    return numberOr(m_rows->text(), 6);
}

TForm_setColorMixing::TForm_setColorMixing(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("TForm_setColorMixing"));
    setWindowTitle(tr("混色模式设置"));
    setFixedSize(267, 227); // 193 before the parts row

    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(tr("混色模式"), this);
    frame->setObjectName(QStringLiteral("GroupBox_mixingMode"));
    auto *choices = new QVBoxLayout(frame);
    // A further mode is one more row here.
    const struct {
        const char *name;
        const char *caption;
        int mode;
    } modes[] = {
        {"RadioButton_spaceMixing", QT_TR_NOOP("空间混色模式"), 1},
        {"RadioButton_subMixing", QT_TR_NOOP("减法混色模式"), 0},
        {"RadioButton_pigmentMixing", QT_TR_NOOP("颜料混色模式"), 2},
    };
    for (const auto &mode : modes) {
        auto *button = new QRadioButton(tr(mode.caption), frame);
        button->setObjectName(QString::fromLatin1(mode.name));
        choices->addWidget(button);
        m_choices.push_back({button, mode.mode});
    }
    layout->addWidget(frame);

    auto *partsRow = new QHBoxLayout;
    auto *partsLabel = new QLabel(tr("整份配方最多份数："), this);
    partsLabel->setObjectName(QStringLiteral("Label_maxParts"));
    m_maxParts = new QSpinBox(this);
    m_maxParts->setObjectName(QStringLiteral("SpinBox_maxParts"));
    m_maxParts->setRange(kMinMaxParts, kMaxMaxParts);
    m_maxParts->setValue(kDefaultMaxParts);
    m_maxParts->setToolTip(tr("配方按整份给出时，各颜料份数之和的上限。"));
    partsLabel->setBuddy(m_maxParts);
    partsRow->addWidget(partsLabel);
    partsRow->addWidget(m_maxParts);
    partsRow->addStretch(1);
    layout->addLayout(partsRow);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    layout->addLayout(okCancelRow(this, m_confirmed));
}

void TForm_setColorMixing::setMaxParts(int maxParts)
{
    m_maxParts->setValue(maxParts); // clamped to the range
}

int TForm_setColorMixing::maxParts() const
{
    return m_maxParts->value();
}

void TForm_setColorMixing::setMixingMode(int mode)
{
    const int shown = static_cast<int>(mixModelOfSetting(mode));
    for (const Choice &choice : m_choices)
        choice.button->setChecked(choice.mode == shown);
}

int TForm_setColorMixing::mixingMode() const
{
    for (const Choice &choice : m_choices) {
        if (choice.button->isChecked())
            return choice.mode;
    }
    return 0;
}

} // namespace pigmora::ui
