#pragma once

#include "store/filestamp.h"
#include "store/observationstore.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace pigmora {
class Notifier;
}

namespace pigmora::ui {

class MatchContext;

// A paint the list can be narrowed to: colour group and catalogue code, and
// the name to say.
struct MixFilter {
    int group = 0;
    std::string code; // UTF-8
    QString name;
};

// "记录的混色": the mixes recorded in the data folder, one row each in the
// order they were recorded (the colour got, its #RRGGBB, the recipe, how far
// the model with the learnt strengths still is from it, when), optionally
// only those with one paint. "删除" forgets the selected mixes after asking;
// the strengths are refitted and every answer follows. The list follows the
// file when another window or program changes it. Not modal.
class RecordedMixesDialog final : public QDialog
{
    Q_OBJECT

public:
    // Without a matching context (a management window's own copy of the
    // data) the main window catches up when it is activated again.
    RecordedMixesDialog(std::filesystem::path folder, MatchContext *context, Notifier *notifier,
                        QWidget *parent = nullptr);

    // Shows only the mixes with the paint (until "显示全部" is ticked).
    void setFilter(MixFilter filter);

    // The stored numbers (1 = the oldest) of the rows on show, in order.
    const std::vector<int> &shownNumbers() const { return m_shown; }

public Q_SLOTS:
    // Reads the file again when it was replaced since it was read.
    void syncWithFile();
    void forgetClick();

Q_SIGNALS:
    // Mixes were forgotten here: the learnt strengths differ.
    void forgotten();

protected:
    void changeEvent(QEvent *event) override;

private:
    void reload();
    void fillTable();

    std::filesystem::path m_folder;
    MatchContext *m_context;
    Notifier *m_notifier;
    std::optional<MixFilter> m_filter;
    std::vector<Observation> m_observations; // as the file held them when read
    StoredStrengths m_strengths;
    FileStamp m_stamp;
    std::vector<int> m_shown;

    QLabel *m_empty;
    QLabel *m_problem;
    QCheckBox *m_only;
    QTableWidget *m_table;
    QPushButton *m_forget;
};

} // namespace pigmora::ui
