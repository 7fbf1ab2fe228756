#include "manage/handovers.h"

namespace pigmora::ui {

// The management windows are not built yet: each hand-over changes nothing.

bool runSetColorBox(QWidget *, const std::filesystem::path &, Notifier *)
{
    return false;
}

bool runColorBoxManager(QWidget *, const std::filesystem::path &, Notifier *)
{
    return false;
}

bool runColorGroupManager(QWidget *, const std::filesystem::path &, const CStandardColorCard *, Notifier *)
{
    return false;
}

bool runColorPanelManager(QWidget *, const std::filesystem::path &, Notifier *)
{
    return false;
}

} // namespace pigmora::ui
