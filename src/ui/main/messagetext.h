#pragma once

#include <QString>

#include <string_view>

namespace pigmora::ui {

// A text the core hands to the windows (a store's or decoder's message, a
// notifier text, a mixing mode's or difference's word) in the interface's
// language: known texts, also with a name or path filled in, translate
// through the "core" context; any other text shows as it is.
QString coreText(std::string_view utf8);

} // namespace pigmora::ui
