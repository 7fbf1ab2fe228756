#pragma once

#include <QLineEdit>

namespace pigmora::ui {

// A field for a small whole number (the grid counts, a colour channel):
// digits typed or pasted go in; any other typed character beeps and is
// discarded. Enter, Escape, copy and paste and the editing keys work as in
// any field, so the dialog still closes and accepts from it.
class DigitEdit final : public QLineEdit
{
    Q_OBJECT

public:
    DigitEdit(const char *objectName, int maxDigits, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace pigmora::ui
