#include "manage/handovers.h"

#include "data/colormanager.h"
#include "main/messageboxnotifier.h"
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

// While a management window runs, the program's message boxes belong to it:
// parented to the main window they could open behind the colour box manager,
// which stays on top, and leave the program looking frozen.
class MessagesOnto
{
public:
    MessagesOnto(Notifier *notifier, QWidget *window, QWidget *owner)
        : m_boxes(dynamic_cast<MessageBoxNotifier *>(notifier))
        , m_owner(owner)
    {
        if (m_boxes)
            m_boxes->setParent(window);
    }
    ~MessagesOnto()
    {
        if (m_boxes)
            m_boxes->setParent(m_owner);
    }
    MessagesOnto(const MessagesOnto &) = delete;
    MessagesOnto &operator=(const MessagesOnto &) = delete;

private:
    MessageBoxNotifier *m_boxes;
    QWidget *m_owner;
};

} // namespace

bool runSetColorBox(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_setColorBox dialog(*colors, notifier, owner);
    const MessagesOnto messages(notifier, &dialog, owner);
    dialog.openOnBox(QStringLiteral("我的颜色盒"));
    dialog.exec();
    // A box saved by "保存" alone leaves the dialog's changed flag false, yet
    // the main window's copy of the box is stale then too.
    return dialog.changed() || dialog.savedAny();
}

bool runColorBoxManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorBoxManager dialog(*colors, notifier, owner);
    const MessagesOnto messages(notifier, &dialog, owner);
    dialog.refreshColorBoxList();
    dialog.exec();
    return dialog.changed();
}

bool runColorGroupManager(QWidget *owner, const std::filesystem::path &folder, const CStandardColorCard *cards,
                          Notifier *notifier, MatchContext *match)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorGroupManager dialog(*colors, cards, notifier, owner);
    dialog.setMatchContext(match);
    const MessagesOnto messages(notifier, &dialog, owner);
    dialog.exec();
    return dialog.changed();
}

bool runColorPanelManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier)
{
    const auto colors = temporaryColorManager(folder, notifier);
    TForm_colorPanelManager dialog(*colors, notifier, owner);
    const MessagesOnto messages(notifier, &dialog, owner);
    dialog.refreshPaletteList();
    dialog.exec();
    return dialog.changed();
}

} // namespace pigmora::ui
