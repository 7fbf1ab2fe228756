#include "main/chartfitdialog.h"

#include "main/resultpanel.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pigmora::ui {

namespace {

constexpr int kSwatchSide = 22;
// The patches in two blocks of rows side by side: 1 .. 12 and 13 .. 24.
constexpr int kRowsPerBlock = chart::kPatches / 2;
constexpr int kColumnsPerBlock = 6; // number, three swatches, ΔE00, a gap

} // namespace

ChartFitDialog::ChartFitDialog(const chart::Fit &fit, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm_chartFit"));
    setWindowTitle(tr("色卡校正结果"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int block = 0; block < 2; ++block) {
        const int column = block * kColumnsPerBlock;
        const QString heads[] = {tr("色块"), tr("照片"), tr("校正后"), tr("参照"), tr("ΔE00")};
        for (int i = 0; i < 5; ++i)
            grid->addWidget(new QLabel(heads[i], this), 0, column + i, Qt::AlignCenter);
    }
    grid->setColumnMinimumWidth(kColumnsPerBlock - 1, 16);
    for (const chart::PatchFit &patch : fit.patches) {
        const int index = patch.number - 1;
        const int row = 1 + index % kRowsPerBlock;
        const int column = index / kRowsPerBlock * kColumnsPerBlock;
        const QString n = QString::number(patch.number);
        grid->addWidget(new QLabel(n, this), row, column, Qt::AlignRight);
        const std::pair<const char *, RgbColor> swatches[] = {{"Shape_measured_", patch.measured},
                                                              {"Shape_corrected_", patch.corrected},
                                                              {"Shape_reference_", patch.reference}};
        for (int i = 0; i < 3; ++i) {
            auto *swatch = new ColorSwatch(QLatin1String(swatches[i].first) + n, this);
            swatch->setFixedSize(kSwatchSide, kSwatchSide);
            swatch->setColor(swatches[i].second);
            grid->addWidget(swatch, row, column + 1 + i);
        }
        auto *difference = new QLabel(patch.used ? QString::number(patch.deltaE00, 'f', 2) : tr("过曝，未用"), this);
        difference->setObjectName(QStringLiteral("Label_deltaE00_") + n);
        grid->addWidget(difference, row, column + 4, Qt::AlignRight);
    }
    layout->addLayout(grid);
    auto *summary = new QLabel(tr("%1 个色块参与拟合，ΔE00 平均 %2，最大 %3")
                                   .arg(fit.usedPatches)
                                   .arg(fit.meanDeltaE00, 0, 'f', 2)
                                   .arg(fit.maxDeltaE00, 0, 'f', 2),
                               this);
    summary->setObjectName(QStringLiteral("Label_fitSummary"));
    layout->addWidget(summary);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ButtonBox_chartFit"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace pigmora::ui
