#pragma once

#include <QDialog>

class QListWidget;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

// The list of all colour boxes with create, delete, rename and set-up.
// Create, delete and rename go to the colour box file at once.
class TForm_colorBoxManager final : public QDialog
{
    Q_OBJECT

public:
    TForm_colorBoxManager(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

    void refreshColorBoxList();
    // True once any box was created, deleted, renamed or saved: the opener
    // reloads its box and refreshes its box selector.
    bool changed() const { return m_changed; }

public Q_SLOTS:
    void BitBtn_createBoxClick();
    void BitBtn_deleteBoxClick();
    void BitBtn_renameBoxClick();
    void BitBtn_setColorBoxClick();

private:
    QString selectedName() const;

    CColorManager &m_colors;
    Notifier *m_notifier;
    bool m_changed = false;
    QListWidget *m_list;
};

} // namespace pigmora::ui
