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
{
    connect(&m_context, &MatchContext::changed, this, &PickController::refresh);
}

void PickController::pick(const RgbColor &target, PickOrigin origin)
{
    if (!m_context.colors())
        return;
    m_target = target;
    m_panel->setPickedFromPictureColours(origin == PickOrigin::PictureColours);
    m_newPick = true;
    // The box as the files hold it now; a reload answers through refresh().
    if (!m_context.syncWithFiles())
        refresh();
    m_newPick = false;
}

void PickController::refresh()
{
    if (!m_target)
        return;
    const std::optional<ColorPick> answer = m_context.answer(*m_target);
    if (!answer)
        return;
    if (!m_newPick && !answer->solved)
        m_panel->clearAnswer();
    m_panel->showPick(*answer);
    m_status->setText(1, fromUtf8(rgbStatusText(answer->target)));
    m_status->setText(2, fromUtf8(cmykStatusText(answer->cmyk)));
}

} // namespace pigmora::ui
