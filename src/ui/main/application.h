#pragma once

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

// The program's error display: an error's text in the program's message box
// (caption "提示", error icon; an error without text shows an empty box).
// The box opens once the event loop is back, never inside the event that
// failed (a paint event, say), and one at a time: errors raised while a box
// is open wait for it, and a text already waiting or on show is not shown
// again.
void showErrorDisplay(const QString &text);

} // namespace pigmora::ui
