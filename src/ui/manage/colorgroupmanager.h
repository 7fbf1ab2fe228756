#pragma once

#include "store/observationstore.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QPushButton;

namespace pigmora {
class CColorManager;
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class MatchContext;
class PaintListWidget;
class RecordedMixesDialog;

// The window in which the user looks through the paints of one colour group
// and adds, modifies or deletes paints (or imports a maker's list). Every
// change goes to the colour group file at once. Below the list, the selected
// paint's tinting strength learnt from the recorded mixes.
class TForm_colorGroupManager final : public QDialog
{
    Q_OBJECT

public:
    TForm_colorGroupManager(CColorManager &colors, const CStandardColorCard *cards, Notifier *notifier,
                            QWidget *parent = nullptr);

    bool changed() const { return m_changed; }
    // The main window's, told when mixes are forgotten from "查看…".
    void setMatchContext(MatchContext *match) { m_match = match; }
    RecordedMixesDialog *recordedMixesDialog() const;

    // Adds the paints of a UTF-8 CSV (name,r,g,b) to the selected group and
    // shows a summary of what was added and what was refused, and why.
    void importPaintList(const QString &path);

public Q_SLOTS:
    void ComboBox_groupNameChange();
    void ListBox_colorClick();
    void bbtn_addColorItemClick();
    void bbtn_modifyColorItemClick();
    void bbtn_deleteColorItemClick();
    void bbtn_importColorsClick();
    // "查看…": the recorded mixes of the selected paint.
    void Button_viewMixesClick();

private:
    QString selectedGroup() const;
    void runColorDialog(bool modify);
    void showStrength();

    CColorManager &m_colors;
    const CStandardColorCard *m_cards;
    Notifier *m_notifier;
    bool m_changed = false;

    QComboBox *m_groups;
    PaintListWidget *m_list;
    QPushButton *m_delete;
    QPushButton *m_modify;
    QLabel *m_strength;
    QPushButton *m_viewMixes;
    StoredStrengths m_strengths;
    MatchContext *m_match = nullptr;
    QPointer<RecordedMixesDialog> m_recordedMixes;
};

} // namespace pigmora::ui
