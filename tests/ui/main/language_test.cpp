#include "main/language.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

TEST(Language, TheSystemLocaleChoosesChineseForChineseAndBareSystems)
{
    const struct {
        LocaleVariables locale;
        UiLanguage expected;
    } cases[] = {
        {{"", "", ""}, UiLanguage::Chinese},
        {{"", "", "C"}, UiLanguage::Chinese},
        {{"", "", "C.UTF-8"}, UiLanguage::Chinese},
        {{"", "", "C.utf8"}, UiLanguage::Chinese},
        {{"", "", "POSIX"}, UiLanguage::Chinese},
        {{"", "", "zh_CN.UTF-8"}, UiLanguage::Chinese},
        {{"", "", "zh_TW.Big5"}, UiLanguage::Chinese},
        {{"", "", "zh"}, UiLanguage::Chinese},
        {{"", "", "en_US.UTF-8"}, UiLanguage::English},
        {{"", "", "de_DE.UTF-8"}, UiLanguage::English},
        {{"", "", "Chinese"}, UiLanguage::English}, // only "C" itself or "C." is the bare locale
        // LC_ALL before LC_MESSAGES before LANG; an empty one counts as unset.
        {{"en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8"}, UiLanguage::English},
        {{"C", "en_US.UTF-8", "en_US.UTF-8"}, UiLanguage::Chinese},
        {{"", "en_US.UTF-8", "zh_CN.UTF-8"}, UiLanguage::English},
        {{"", "zh_HK.UTF-8", "fr_FR.UTF-8"}, UiLanguage::Chinese},
    };
    for (const auto &c : cases)
        EXPECT_EQ(chooseLanguage(c.locale), c.expected)
            << c.locale.lcAll << " / " << c.locale.lcMessages << " / " << c.locale.lang;
}

TEST(Language, TheUsersChoiceOverridesTheSystem)
{
    EXPECT_EQ(chooseLanguage({"", "", "en_US.UTF-8"}, LanguageChoice::Chinese), UiLanguage::Chinese);
    EXPECT_EQ(chooseLanguage({"", "", "zh_CN.UTF-8"}, LanguageChoice::English), UiLanguage::English);
    EXPECT_EQ(chooseLanguage({"", "", "zh_CN.UTF-8"}, LanguageChoice::System), UiLanguage::Chinese);
}

TEST(Language, TranslationsAreFoundBesideABuildAndUnderAnInstallation)
{
    EXPECT_EQ(translationFolders("/usr/bin"),
              (std::vector<std::filesystem::path>{"/usr/bin/translations", "/usr/share/pigmora/translations"}));

    // The build's compiled English translation loads from beside the program;
    // a folder without one loads nothing and leaves the texts as written.
    const std::filesystem::path build = PIGMORA_UI_BUILD_DIR;
    const std::string english = installTranslations(*QCoreApplication::instance(), UiLanguage::English, build);
    EXPECT_EQ(english, (build / "translations" / "pigmora_en.qm").string());
    EXPECT_TRUE(installTranslations(*QCoreApplication::instance(), UiLanguage::English, "/nonexistent/bin").empty());

    // Chinese brings Qt's own Chinese texts for its standard dialogs (Debian
    // qt6-translations-l10n).
    EXPECT_FALSE(installTranslations(*QCoreApplication::instance(), UiLanguage::Chinese, build).empty());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "取消");
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace
} // namespace pigmora::ui
