#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QCoreApplication;
class QString;

namespace pigmora {
class PaintColorRecord;
} // namespace pigmora

namespace pigmora::ui {

// The languages the desktop program speaks; its texts are written in Chinese.
enum class UiLanguage { Chinese, English };

// What the user chose in the settings: the system's language or one of them.
enum class LanguageChoice { System, Chinese, English };

// The choice as stored in the settings ("system", "zh", "en"); anything
// else, or nothing stored, means the system's language.
LanguageChoice languageChoiceOf(const std::optional<std::string> &stored);
std::string_view languageSettingText(LanguageChoice choice);

// The choice stored in the settings file of a data folder, read without
// creating or changing anything; System when the file cannot be read.
LanguageChoice storedLanguageChoice(const std::filesystem::path &dataFolder);

// The locale variables that name the system's language (empty: unset).
struct LocaleVariables {
    std::string lcAll;
    std::string lcMessages;
    std::string lang;
};
LocaleVariables systemLocaleVariables();

// A choice of Chinese or English stands. Otherwise the first of LC_ALL,
// LC_MESSAGES and LANG that is set decides: Chinese for zh*, and also for C,
// C.<codeset>, POSIX or none (a bare system shows the program as it was
// written); English for any other language.
UiLanguage chooseLanguage(const LocaleVariables &locale, LanguageChoice choice = LanguageChoice::System);

// Where the program's compiled translations are looked for, in order:
// translations/ beside the executable (a build) and share/pigmora/translations
// beside its bin folder (an installed copy).
std::vector<std::filesystem::path> translationFolders(const std::filesystem::path &programFolder);

// The name to show for a paint: in English the catalogue's English name of
// a built-in paint (same code and name) when it has one; otherwise, and for
// a paint the user made or renamed, the name as stored.
QString paintName(const PaintColorRecord &paint);
// The English name only: none in Chinese, or where the catalogue has none.
std::optional<QString> englishPaintName(const PaintColorRecord &paint);

// Installs the translators of a language into the application: for English
// the program's own (pigmora_en.qm), for Chinese Qt's (its file and colour
// dialogs, standard buttons), from Qt's translations folder. A missing file
// is skipped and those texts stay as written. The file loaded (empty: none).
std::string installTranslations(QCoreApplication &app, UiLanguage language, const std::filesystem::path &programFolder);

} // namespace pigmora::ui
