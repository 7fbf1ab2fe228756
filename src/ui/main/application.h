#pragma once

#include "data/buildinfo.h"

#include <QApplication>

namespace pigmora::ui {

// The program's top-level error display: an exception that escapes an event
// handler is shown in a message box with its text, and the program goes on.
class PigmoraApplication : public QApplication
{
public:
    PigmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows an error's text in the program's message box (caption "提示",
// error icon); an error without text shows an empty box.
void showErrorDisplay(const QString &text);

} // namespace pigmora::ui
