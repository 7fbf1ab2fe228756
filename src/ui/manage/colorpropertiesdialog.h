#pragma once

#include "data/color.h"

#include <QDialog>
#include <QString>

namespace pigmora::ui {

// The texts of the colour properties dialog.
struct ColorPropertyTexts {
    QString rgb; // "255, 128, 0"
    QString hex; // "#FF8000"
    QString cmyk; // "C:0  M:49  Y:100  K:0", as the status bar shows it
};
ColorPropertyTexts colorPropertyTexts(const RgbColor &color);

// "色彩属性": a palette colour's values in read-only fields whose texts can be
// selected and copied.
class TForm_colorProperties : public QDialog
{
    Q_OBJECT

public:
    TForm_colorProperties(QWidget *owner, const RgbColor &color);
};

} // namespace pigmora::ui
