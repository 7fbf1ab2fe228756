#include "manage/handovers.h"

#include "data/colormanager.h"
#include "manage/colorboxmanager.h"
#include "manage/colorgroupmanager.h"
#include "manage/colorpanelmanager.h"
#include "manage/setcolorbox.h"

namespace pigmora::ui {

namespace {

// The management windows work on a colour manager of their own, prepared as
// the main window's is, so nothing they do touches the main catalogue until
// the main window reloads from the files.
std::unique_ptr<CColorManager> temporaryColorManager(const std::filesystem::path &folder, Notifier *notifier)
{
    auto colors = std::make_unique<CColorManager>(folder, notifier);
    colors->buildBuiltInCatalogue();
    colors->loadColorGroups();
    return colors;
}

} // namespace

bool runSetColorBox(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_setColorBox dialog(*colors, notifier, owner);
    dialog.openOnBox(QStringLiteral("我的颜色盒"));
    dialog.exec();
    return dialog.changed();
}

bool runColorBoxManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorBoxManager dialog(*colors, notifier, owner);
    dialog.refreshColorBoxList();
    dialog.exec();
    return dialog.changed();
}

bool runColorGroupManager(QWidget *owner, const std::filesystem::path &folder, const CStandardColorCard *cards,
                          Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorGroupManager dialog(*colors, cards, notifier, owner);
    dialog.exec();
    return dialog.changed();
}

bool runColorPanelManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorPanelManager dialog(*colors, notifier, owner);
    dialog.refreshPaletteList();
    dialog.exec();
    return dialog.changed();
}

} // namespace pigmora::ui
