#include "main/language.h"

#include "data/builtincatalogue.h"
#include "data/records.h"
#include "main/uitext.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>
#include <map>
#include <string_view>

namespace pigmora::ui {

namespace {

// The interface speaks English when the installed translation names its
// language so (the English translation renders this "English").
bool speaksEnglish()
{
    return QCoreApplication::translate("language", "中文") == QLatin1String("English");
}

std::string variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Loads one .qm file from the first folder that has it; its path, or empty.
QString installFrom(QCoreApplication &app, const QString &name, const std::vector<QString> &folders)
{
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(&app);
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator);
            return translator->filePath();
        }
        delete translator;
    }
    return {};
}

} // namespace

LanguageChoice languageChoiceOf(const std::optional<std::string> &stored)
{
    if (stored == "zh")
        return LanguageChoice::Chinese;
    if (stored == "en")
        return LanguageChoice::English;
    return LanguageChoice::System;
}

std::string_view languageSettingText(LanguageChoice choice)
{
    switch (choice) {
    case LanguageChoice::Chinese:
        return "zh";
    case LanguageChoice::English:
        return "en";
    case LanguageChoice::System:
        break;
    }
    return "system";
}

LanguageChoice storedLanguageChoice(const std::filesystem::path &dataFolder)
{
    std::error_code error;
    CConfigManager config(dataFolder);
    if (!std::filesystem::is_regular_file(config.filePath(), error))
        return LanguageChoice::System;
    config.open();
    if (!config.isOpen() || !config.loadSysConfig())
        return LanguageChoice::System;
    return languageChoiceOf(storedText(config, settingkeys::kLanguage));
}

std::optional<QString> englishPaintName(const PaintColorRecord &paint)
{
    if (paint.origin() == PaintColorRecord::kOriginUser || !speaksEnglish())
        return std::nullopt;
    // The catalogue's English name of the paint with this code and name: a
    // built-in paint the user renamed shows the name they gave it.
    static const std::map<std::pair<std::string, std::string>, std::string_view> catalogue = [] {
        std::map<std::pair<std::string, std::string>, std::string_view> names;
        for (const BuiltInPaint &builtIn : builtInPaints())
            if (!builtIn.englishName.empty())
                names.emplace(std::pair{std::string(builtIn.code), std::string(builtIn.name)}, builtIn.englishName);
        return names;
    }();
    const auto found = catalogue.find({platform::gbkToUtf8(paint.code()), platform::gbkToUtf8(paint.name())});
    if (found == catalogue.end())
        return std::nullopt;
    return fromUtf8(found->second);
}

QString paintName(const PaintColorRecord &paint)
{
    return englishPaintName(paint).value_or(fromGbk(paint.name()));
}

LocaleVariables systemLocaleVariables()
{
    return {variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

UiLanguage chooseLanguage(const LocaleVariables &locale, LanguageChoice choice)
{
    if (choice == LanguageChoice::Chinese)
        return UiLanguage::Chinese;
    if (choice == LanguageChoice::English)
        return UiLanguage::English;
    std::string_view name = !locale.lcAll.empty() ? locale.lcAll
        : !locale.lcMessages.empty()              ? locale.lcMessages
                                                  : locale.lang;
    if (name.empty() || name == "C" || startsWith(name, "C.") || name == "POSIX" || startsWith(name, "zh"))
        return UiLanguage::Chinese;
    return UiLanguage::English;
}

std::vector<std::filesystem::path> translationFolders(const std::filesystem::path &programFolder)
{
    return {programFolder / "translations", programFolder.parent_path() / "share" / "pigmora" / "translations"};
}

std::string installTranslations(QCoreApplication &app, UiLanguage language, const std::filesystem::path &programFolder)
{
    if (language == UiLanguage::Chinese)
        return installFrom(app, QStringLiteral("qt_zh_CN"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
            .toStdString();
    std::vector<QString> folders;
    for (const std::filesystem::path &folder : translationFolders(programFolder))
        folders.push_back(QString::fromStdString(folder.string()));
    return installFrom(app, QStringLiteral("pigmora_en"), folders).toStdString();
}

} // namespace pigmora::ui
