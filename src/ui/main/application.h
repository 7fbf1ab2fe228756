#pragma once

#include "data/buildinfo.h"

#include <QApplication>

#include <filesystem>

namespace pigmora::ui {

// The program's top-level error display: an exception that escapes an event
// handler is shown in a message box with its text, and the program goes on.
class PigmoraApplication : public QApplication
{
public:
    PigmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// "--version" or "-v" among the arguments: the version is printed before
// the windowed application is made, which needs a display.
bool asksForVersion(int argc, const char *const *argv);

// The program's error display: an error's text in the program's message box
// (caption "提示", error icon; an error without text shows an empty box).
// The box opens once the event loop is back, never inside the event that
// failed (a paint event, say), and one at a time: errors raised while a box
// is open wait for it, and a text already waiting or on show is not shown
// again.
void showErrorDisplay(const QString &text);

// File names are the system's bytes, whatever their encoding: Qt's text for
// one (QFile::decodeName) and the bytes of Qt's text (QFile::encodeName).
QString pathText(const std::filesystem::path &path);
std::filesystem::path pathOf(const QString &text);

// The bytes of the command-line argument (or of the value after its "=")
// that Qt decoded as text, so that a file name reaches the core as the
// system's bytes even where they are no valid text (Qt decodes such bytes
// with replacement characters, which name no file). The last argument that
// decodes to the text wins; the text's own bytes when none does.
std::filesystem::path argumentPath(const QString &text, int argc, const char *const *argv);

} // namespace pigmora::ui
