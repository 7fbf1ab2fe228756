// The desktop program's entry point; everything else lives in the ui library.
#include "data/platform.h"
#include "main/application.h"
#include "main/language.h"
#include "main/mainwindow.h"
#include "main/startup.h"

#include <QCommandLineParser>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (pigmora::ui::asksForVersion(argc, argv)) {
        std::printf("Pigmora %s\n", std::string(pigmora::buildinfo::kVersion).c_str());
        return 0;
    }
    pigmora::ui::PigmoraApplication app(argc, argv);
    QFont font(QStringList{QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPixelSize(12);
    QApplication::setFont(font);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pigmora: colours of a photograph as mixes of your paints"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Start without the splash window."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral("Folder of the data files."),
                                     QStringLiteral("folder"));
    parser.addOption(noSplash);
    parser.addOption(dataDir);
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("A picture to open at start."));
    parser.process(app);

    pigmora::ui::MainWindowOptions options;
    options.showSplash = !parser.isSet(noSplash);
    // File names as the system's bytes: Qt's decoded text may name no file.
    if (parser.isSet(dataDir))
        options.dataFolder = pigmora::ui::argumentPath(parser.value(dataDir), argc, argv);
    if (!parser.positionalArguments().isEmpty())
        options.pictureAtStart = pigmora::ui::argumentPath(parser.positionalArguments().front(), argc, argv);
    // The language setting is read from the data folder's settings before any window is made.
    const auto language = pigmora::ui::storedLanguageChoice(pigmora::ui::dataLocationFor(options.dataFolder).folder);
    pigmora::ui::installTranslations(app, pigmora::ui::chooseLanguage(pigmora::ui::systemLocaleVariables(), language),
                                     pigmora::platform::programFolder());

    pigmora::ui::TForm_TintoraMain window(options);
    // Without a window manager "maximised" means nothing; the size then fills
    // the screen anyway.
    if (const QScreen *screen = window.screen())
        window.resize(screen->availableGeometry().size());
    window.showMaximized();
    return app.exec();
}
