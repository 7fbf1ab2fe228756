#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace pigmora {
class CColorManager;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class PaintListWidget;

// Which paints of a box's colour group belong to the box: candidates on the
// left, members on the right. Moves stay in the dialog until they are saved.
class TForm_setColorBox final : public QDialog
{
    Q_OBJECT

public:
    TForm_setColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent = nullptr);

    // What both openers do before showing the dialog: list every box, select
    // the named one and load it.
    void openOnBox(const QString &boxName);

    void setBoxNames(const std::vector<std::string> &names);
    void setLoadedBoxIndex(int index) { m_loadedIndex = index; }
    int loadedBoxIndex() const { return m_loadedIndex; }
    bool isDirty() const { return m_dirty; }
    // Set only by "确认" with unsaved moves.
    bool changed() const { return m_changed; }
    // True once the box file was written in any way ("保存", the question
    // when switching boxes, "确认"): the opener reloads its box then.
    bool savedAny() const { return m_savedAny; }

public Q_SLOTS:
    void ComboBox_GroupNameChange();
    void bbtn_selectClick();
    void bbtn_unselectClick();
    void bbtn_selectAllClick();
    void bbtn_unselectAllClick();
    bool bbtn_saveClick();
    void bbtn_okClick();

private:
    void refillLists();
    void moveOne(PaintListWidget *from, PaintListWidget *to);
    void moveAll(PaintListWidget *from, PaintListWidget *to);
    void setDirty(bool dirty);

    CColorManager &m_colors;
    Notifier *m_notifier;
    int m_loadedIndex = -1;
    bool m_dirty = false;
    bool m_changed = false;
    bool m_savedAny = false;

    QComboBox *m_boxes;
    PaintListWidget *m_src;
    PaintListWidget *m_dst;
    QPushButton *m_save;
};

} // namespace pigmora::ui
