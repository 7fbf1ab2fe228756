#pragma once

#include "engine/chartfit.h"

#include <QDialog>

namespace pigmora::ui {

// A chart calibration's fit before it is put in force: each of the 24
// patches as photographed, as corrected and as the chart's reference, side
// by side with its ΔE00 (or that it was left out of the fit), the fit's mean
// and largest ΔE00, and OK to use it or Cancel to keep what was in force.
class ChartFitDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ChartFitDialog(const chart::Fit &fit, QWidget *parent = nullptr);
};

} // namespace pigmora::ui
