#include "main/pickcontroller.h"

#include "engine/colorpick.h"
#include "main/matchcontext.h"
#include "main/resultpanel.h"
#include "main/statuspanels.h"
#include "main/uitext.h"

namespace pigmora::ui {

PickController::PickController(MatchContext &context, ResultPanel *panel, StatusPanels *status, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_panel(panel)
    , m_status(status)
{ }

void PickController::pick(const RgbColor &target)
{
    if (!m_context.colors())
        return;
    m_target = target;
    refresh();
}

void PickController::refresh()
{
    if (!m_target)
        return;
    const std::optional<ColorPick> answer = m_context.answer(*m_target);
    if (!answer)
        return;
    m_panel->showPick(*answer);
    m_status->setText(1, fromUtf8(rgbStatusText(answer->target)));
    m_status->setText(2, fromUtf8(cmykStatusText(answer->cmyk)));
}

} // namespace pigmora::ui
