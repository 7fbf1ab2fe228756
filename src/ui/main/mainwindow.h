#pragma once

#include "main/language.h"
#include "main/messageboxnotifier.h"
#include "main/statuspanels.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>

class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QToolBar;
class QTimer;
class QToolButton;

namespace pigmora {
class CColorManager;
class CConfigManager;
class CStandardColorCard;
class Notifier;
} // namespace pigmora

namespace pigmora::ui {

class MatchContext;
class PickController;
class PictureController;
class PictureView;
class RecordMixDialog;
class RecordedMixesDialog;
class ResultPanel;
class TForm_magnifier;
class TForm_paletteManger;
class ViewState;

struct MainWindowOptions {
    bool showSplash = true;
    // The data folder; chosen from the program's folder when not given.
    std::optional<std::filesystem::path> dataFolder;
    // Messages go here; message boxes when null.
    Notifier *notifier = nullptr;
    // A picture opened right after the start-up sample.
    std::optional<std::filesystem::path> pictureAtStart;
};

// The main window "Pigmora": menus and toolbar, the colour box selector, the
// picture view with its result panel, the status bar, and the tool windows
// it owns (magnifier, palette window). It assembles the pieces and hands the
// commands over: the picture commands to its PictureController, the pick to
// its PickController, the answers' settings to its MatchContext. It builds
// the program's long-lived objects when created and releases them in order
// when destroyed.
class TForm_TintoraMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm_TintoraMain(MainWindowOptions options = {});
    ~TForm_TintoraMain() override;

    // Commands, as the menu and toolbar run them.
    void mi_openClick();
    void ToolButton_zoomoutClick();
    void ToolButton_zoominClick();
    void ToolButton_zoomrealClick();
    // "适合窗口": the largest zoom step at which the whole picture fits.
    void ToolButton_zoomfitClick();
    void ToolButton_grayClick();
    void ToolButton_gridClick();
    void ToolButton_MagnifierClick();
    void ToolButton_paletteClick();
    void ToolButton_SetColorBoxClick();
    void mi_colorBoxManageClick();
    void mi_colorPanelManagerClick();
    void mi_colorGroupManagerClick();
    void mi_setGridCountClick();
    void mi_mixingOptionClick();
    // "记录实际混色" for the recipe on show (the result panel's button too).
    void mi_recordMixClick();
    // "记录的混色": the recorded mixes, to look through and forget.
    void mi_recordedMixesClick();
    void mi_aboutClick();
    void BitBtn_saveColorClick();

    // The view's mouse, in paint-box points (view pixels).
    void paintBoxMouseMove(QPoint p);
    void paintBoxMouseDown(QPoint p, Qt::MouseButton button);
    // The colour pick at a view-picture pixel.
    void pickColor(QPoint pixel);
    // Opens a picture and waits until it is on show or refused (scripts and
    // tests; the menu, a drop and the command line do not wait).
    bool openPicture(const std::filesystem::path &path);

    // State the tests look at.
    const std::filesystem::path &dataFolder() const { return m_folder; }
    PictureController &pictures() { return *m_pictures; }
    PickController &picks() { return *m_picks; }
    MatchContext &matching() { return *m_match; }
    ViewState &viewState();
    PictureView *pictureView() const { return m_pictureView; }
    ResultPanel *resultPanel() const { return m_resultPanel; }
    CColorManager *colors() const { return m_colors.get(); }
    TForm_magnifier *magnifier() const;
    TForm_paletteManger *paletteWindow() const { return m_palette; }
    RecordMixDialog *recordMixDialog() const;
    RecordedMixesDialog *recordedMixesDialog() const;
    QString statusText(int panel) const;
    int gridColumns() const;
    int gridRows() const;
    bool gridShown() const;
    int mixingMode() const;
    bool magnifierShown() const;
    QPoint lensPosition() const;
    bool lensDrawn() const;
    // The sample size a pick takes (1, 3, 5, 9, 15 or 31).
    int sampleSize() const;
    // A left press on the picked colour while the palette window is shown
    // readies a drag of that colour.
    bool colorDragArmed() const { return m_dragArmed; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenusAndToolbar();
    void buildViewMenu(QToolBar *toolbar);
    void buildCorrectionMenu(QToolBar *toolbar);
    void applySampleSize(int size, bool store);
    void buildLanguageMenu(QMenu *settings);
    void chooseLanguageSetting(LanguageChoice choice);
    void showTone();
    void pictureOpened(const QString &path);
    void buildClient();
    void createStep(const MainWindowOptions &options);
    void fillColorBoxSelector();
    void setStandardCardChoice(int choice);
    void afterManagement(bool changed);
    void showMixingMode();
    // Settings (mainwindow_settings.cpp): a save that stored nothing is
    // said with the store's reason; the change stays in force for this run,
    // marked unsaved. Settings the lock kept from being read at start are
    // read again in the background and applied once read.
    void settingsNotSaved(const std::string &reason);
    void startSettingsRetry();
    void retrySettings();
    void startColorDrag();

    Notifier *m_notifier;
    MessageBoxNotifier m_messageBoxes;
    // What the stores report through; outlives them.
    GatedNotifier m_storeMessages;

    // Owned for the whole run; released in the destructor in this order:
    // magnifier, palette window, colours, pictures, cards, configuration.
    std::unique_ptr<CColorManager> m_colors;
    std::unique_ptr<CStandardColorCard> m_cards;
    std::unique_ptr<CConfigManager> m_config;
    TForm_paletteManger *m_palette = nullptr;
    QPointer<RecordMixDialog> m_recordMix;
    QPointer<RecordedMixesDialog> m_recordedMixes;

    std::filesystem::path m_folder;
    bool m_readOnly = false;
    bool m_shownOnce = false;
    std::optional<std::filesystem::path> m_pictureAtStart;
    bool m_dragArmed = false;
    QString m_dialogPicture; // the picture the open dialog chose, while it opens

    QComboBox *m_colorBoxes = nullptr;
    QToolButton *m_grayButton = nullptr;
    QActionGroup *m_toneActions = nullptr;
    QComboBox *m_sampleSizes = nullptr;
    QActionGroup *m_sampleActions = nullptr;
    QScrollArea *m_scroll = nullptr;
    PictureView *m_pictureView = nullptr;
    ResultPanel *m_resultPanel = nullptr;
    QProgressBar *m_searchProgress = nullptr; // a long colour search's progress
    QLabel *m_settingsNote = nullptr; // why the settings are not read or not stored
    QTimer *m_settingsRetry = nullptr;
    bool m_settingsUnsaved = false;
    StatusPanels m_status;
    std::unique_ptr<MatchContext> m_match;
    std::unique_ptr<PictureController> m_pictures;
    std::unique_ptr<PickController> m_picks;
};

} // namespace pigmora::ui
