#pragma once

#include <filesystem>

class QWidget;

namespace pigmora {
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class MatchContext;

// The main window's hand-overs to the modal management windows. Each builds a
// temporary colour manager on the data folder (built-in catalogue, then the
// colour groups from the file), runs its dialog modally on it, destroys both
// and returns the dialog's changed flag; on true the main window reloads its
// current colour box by name and refreshes the box selector.

// a. Choosing the paints of a colour box (TForm_setColorBox); true also when
// the dialog saved a box without setting its changed flag.
bool runSetColorBox(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier);
// b. The colour box manager (TForm_colorBoxManager).
bool runColorBoxManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier);
// c. The colour group manager (TForm_colorGroupManager); the card supplies the
// nearest Pantone colour of a paint being edited; the matching context
// (optional) follows mixes forgotten from it.
bool runColorGroupManager(QWidget *owner, const std::filesystem::path &folder, const CStandardColorCard *cards,
                          Notifier *notifier, MatchContext *match = nullptr);
// d. The palette list manager (TForm_colorPanelManager); on true the main
// window refills its palette window, when that exists.
bool runColorPanelManager(QWidget *owner, const std::filesystem::path &folder, Notifier *notifier);

} // namespace pigmora::ui
