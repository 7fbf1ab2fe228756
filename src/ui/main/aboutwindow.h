#pragma once

#include <QDialog>

namespace pigmora::ui {

// The About window: program name, version and the licences of what the
// program carries or links.
class TForm_About : public QDialog
{
    Q_OBJECT

public:
    explicit TForm_About(QWidget *owner);

    // The text shown (rich text).
    static QString text();
};

} // namespace pigmora::ui
