#pragma once

#include "data/color.h"
#include "main/picturecontroller.h"

#include <QObject>

#include <optional>

namespace pigmora::ui {

class MatchContext;
class ResultPanel;
class StatusPanels;

// The colour pick: the colour picked last and its answer in the result panel
// and the status bar. The answer is computed in one place, refresh(), for a
// new pick as for a change of what the answer depends on: it follows every
// MatchContext::changed(), so no answer computed under other settings stays
// on show.
class PickController : public QObject
{
    Q_OBJECT

public:
    PickController(MatchContext &context, ResultPanel *panel, StatusPanels *status, QObject *parent = nullptr);

    // A pick of the colour: shows it and its answer, and where it came from.
    void pick(const RgbColor &target, PickOrigin origin = PickOrigin::View);
    // The colour picked last; none before the first pick.
    const std::optional<RgbColor> &target() const { return m_target; }

    // Shows the answer for the colour picked last under the current
    // settings; nothing before the first pick. An answer that no longer
    // solves clears the recipe (a new pick that does not solve keeps the
    // previous one, as a pick always has).
    void refresh();

private:
    bool m_newPick = false;
    MatchContext &m_context;
    ResultPanel *m_panel;
    StatusPanels *m_status;
    std::optional<RgbColor> m_target;
};

} // namespace pigmora::ui
