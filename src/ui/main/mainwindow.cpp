#include "main/mainwindow.h"

#include "data/colormanager.h"
#include "data/standardcolorcard.h"
#include "main/magnifierwindow.h"
#include "main/messagetext.h"
#include "main/matchcontext.h"
#include "main/pickcontroller.h"
#include "main/picturecontroller.h"
#include "main/pictureview.h"
#include "main/recordedmixesdialog.h"
#include "main/recordmixdialog.h"
#include "main/resultpanel.h"
#include "main/splashwindow.h"
#include "main/startup.h"
#include "main/uitext.h"
#include "manage/palettewindow.h"
#include "store/configmanager.h"
#include "store/datafolder.h"
#include "store/settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The resources live in the static ui library; they are registered by hand.
static void initUiResources()
{
    Q_INIT_RESOURCE(pigmora);
}

namespace pigmora::ui {

namespace {

struct Command {
    const char *name;
    const char *caption;
    void (TForm_TintoraMain::*run)();
    QKeySequence shortcut;
};

QString text(const char *utf8)
{
    return QCoreApplication::translate("pigmora::ui::TForm_TintoraMain", utf8);
}

} // namespace

TForm_TintoraMain::TForm_TintoraMain(MainWindowOptions options)
    : m_notifier(options.notifier ? options.notifier : &m_messageBoxes)
    , m_messageBoxes(this)
    , m_storeMessages(m_notifier)
    , m_pictureAtStart(options.pictureAtStart)
{
    initUiResources();
    setObjectName(QStringLiteral("Form_TintoraMain"));
    setWindowTitle(QStringLiteral("Pigmora"));
    setWindowIcon(QIcon(QStringLiteral(":/pigmora/icons/pigmora.svg")));
    setAcceptDrops(true);
    buildMenusAndToolbar();
    buildClient();
    createStep(options);
}

TForm_TintoraMain::~TForm_TintoraMain()
{
    // The destroy step, in order.
    delete m_recordMix; // it refers to the matching context
    delete m_recordedMixes; // so does this
    m_pictures->destroyMagnifier();
    delete m_palette;
    m_palette = nullptr;
    m_picks.reset();
    m_match.reset();
    m_colors.reset();
    m_pictures.reset();
    m_cards.reset();
    m_config.reset();
}

void TForm_TintoraMain::buildMenusAndToolbar()
{
    const auto menu = [this](const char *caption, std::initializer_list<Command> commands) {
        QMenu *m = menuBar()->addMenu(text(caption));
        for (const Command &c : commands) {
            if (!c.caption) {
                m->addSeparator()->setObjectName(QString::fromLatin1(c.name));
                continue;
            }
            QAction *action = c.run ? m->addAction(text(c.caption), this, c.run) : m->addAction(text(c.caption));
            action->setObjectName(QString::fromLatin1(c.name));
            action->setShortcut(c.shortcut);
        }
    };
    menu(QT_TR_NOOP("文件(&F)"),
         {{"mi_open", QT_TR_NOOP("打开照片(&O)"), &TForm_TintoraMain::mi_openClick, QKeySequence::Open},
          {"N1", nullptr, nullptr, {}},
          {"mi_exit", QT_TR_NOOP("退出(&X)"), nullptr, QKeySequence(Qt::CTRL | Qt::Key_Q)}});
    connect(findChild<QAction *>(QStringLiteral("mi_exit")), &QAction::triggered, this, &QWidget::close);
    menu(QT_TR_NOOP("设置(&O)"),
         {{"mi_setGridCount", QT_TR_NOOP("设置网格格数(&G)"), &TForm_TintoraMain::mi_setGridCountClick, {}},
          {"mi_mixingOption", QT_TR_NOOP("设置混色模式(&M)"), &TForm_TintoraMain::mi_mixingOptionClick, {}}});
    buildLanguageMenu(menuBar()->actions().constLast()->menu());
    menu(QT_TR_NOOP("工具(&T)"),
         {{"mi_colorBoxManage", QT_TR_NOOP("颜料盒管理(&C)"), &TForm_TintoraMain::mi_colorBoxManageClick, {}},
          {"mi_colorPanelManager", QT_TR_NOOP("色板管理(&R)"), &TForm_TintoraMain::mi_colorPanelManagerClick, {}},
          {"mi_colorGroupManager", QT_TR_NOOP("色谱管理(&O)"), &TForm_TintoraMain::mi_colorGroupManagerClick, {}}});
    auto *tools = qobject_cast<QMenu *>(findChild<QAction *>(QStringLiteral("mi_colorGroupManager"))->parent());
    tools->addSeparator()->setObjectName(QStringLiteral("N_recordMix"));
    QAction *record = tools->addAction(tr("记录实际混色(&J)..."), this, &TForm_TintoraMain::mi_recordMixClick);
    record->setObjectName(QStringLiteral("mi_recordMix"));
    record->setEnabled(false); // until an answer of two or three paints is on show
    QAction *recorded = tools->addAction(tr("记录的混色(&H)..."), this, &TForm_TintoraMain::mi_recordedMixesClick);
    recorded->setObjectName(QStringLiteral("mi_recordedMixes"));
    menu(QT_TR_NOOP("关于(&A)"), {{"mi_about", QT_TR_NOOP("关于(&A)"), &TForm_TintoraMain::mi_aboutClick, {}}});

    auto *toolbar = addToolBar(QStringLiteral("ToolBar_main"));
    toolbar->setObjectName(QStringLiteral("ToolBar_main"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(22, 22));
    struct Button {
        const char *name;
        const char *caption; // shown next to the image when set
        const char *hint;
        const char *icon;
        void (TForm_TintoraMain::*run)();
        QList<QKeySequence> shortcuts;
    };
    const Button buttons[] = {
        {"ToolButton_open", QT_TR_NOOP("打开"), QT_TR_NOOP("打开照片"), "open", &TForm_TintoraMain::mi_openClick, {}},
        {"ToolButton_gray",
         QT_TR_NOOP("黑白"),
         QT_TR_NOOP("黑白显示"),
         "gray",
         &TForm_TintoraMain::ToolButton_grayClick,
         {QKeySequence(Qt::CTRL | Qt::Key_G)}},
        {"ToolButton_zoomout",
         nullptr,
         QT_TR_NOOP("缩小"),
         "zoomout",
         &TForm_TintoraMain::ToolButton_zoomoutClick,
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {"ToolButton_zoomin",
         nullptr,
         QT_TR_NOOP("放大"),
         "zoomin",
         &TForm_TintoraMain::ToolButton_zoominClick,
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {"ToolButton_zoomreal",
         nullptr,
         QT_TR_NOOP("实际大小"),
         "zoomreal",
         &TForm_TintoraMain::ToolButton_zoomrealClick,
         {QKeySequence(Qt::CTRL | Qt::Key_0)}},
        {"ToolButton_grid", nullptr, QT_TR_NOOP("显示网格"), "grid", &TForm_TintoraMain::ToolButton_gridClick, {}},
        {"ToolButton_Magnifier", nullptr, QT_TR_NOOP("放大镜"), "magnifier", &TForm_TintoraMain::ToolButton_MagnifierClick, {}},
        {"ToolButton_palette", nullptr, QT_TR_NOOP("显示色板"), "palette", &TForm_TintoraMain::ToolButton_paletteClick, {}},
        {"ToolButton_SetColorBox", nullptr, QT_TR_NOOP("颜料盒"), "colorbox", &TForm_TintoraMain::ToolButton_SetColorBoxClick, {}},
    };
    for (const Button &b : buttons) {
        auto *button = new QToolButton(toolbar);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setIcon(QIcon(QStringLiteral(":/pigmora/icons/%1.svg").arg(QString::fromLatin1(b.icon))));
        button->setToolTip(text(b.hint));
        if (b.caption) {
            button->setText(text(b.caption));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        }
        connect(button, &QToolButton::clicked, this, b.run);
        toolbar->addWidget(button);
        for (const QKeySequence &key : b.shortcuts) {
            auto *shortcut = new QAction(this);
            shortcut->setShortcut(key);
            connect(shortcut, &QAction::triggered, this, b.run);
            addAction(shortcut);
        }
    }
    m_grayButton = toolbar->findChild<QToolButton *>(QStringLiteral("ToolButton_gray"));
    buildViewMenu(toolbar);
    buildCorrectionMenu(toolbar);
    toolbar->addSeparator();
    m_colorBoxes = new QComboBox(toolbar);
    m_colorBoxes->setObjectName(QStringLiteral("ComboBox_currentColorBox"));
    m_colorBoxes->setFixedWidth(145);
    m_colorBoxes->setToolTip(tr("当前调色颜色盒"));
    toolbar->addWidget(m_colorBoxes);
    connect(m_colorBoxes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && m_match)
            m_match->selectColorBox(toUtf8(m_colorBoxes->itemText(index)));
    });
}

void TForm_TintoraMain::buildClient()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Panel_picture"));
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll = new QScrollArea(client);
    m_scroll->setObjectName(QStringLiteral("ScrollBox_show"));
    m_scroll->setMouseTracking(true);
    m_pictureView = new PictureView;
    m_pictureView->move(3, 3);
    m_scroll->setWidget(m_pictureView);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_scroll, 1);
    m_resultPanel = new ResultPanel(client);
    layout->addWidget(m_resultPanel);
    setCentralWidget(client);

    connect(m_pictureView, &PictureView::mouseMovedTo, this, &TForm_TintoraMain::paintBoxMouseMove);
    connect(m_pictureView, &PictureView::pressedAt, this, &TForm_TintoraMain::paintBoxMouseDown);
    connect(m_pictureView, &PictureView::repainted, this, &TForm_TintoraMain::showMixingMode);
    connect(m_resultPanel->saveButton(), &QPushButton::clicked, this, &TForm_TintoraMain::BitBtn_saveColorClick);
    connect(m_resultPanel->recordMixButton(), &QPushButton::clicked, this, &TForm_TintoraMain::mi_recordMixClick);
    connect(m_resultPanel, &ResultPanel::answerChanged, this, [this] {
        findChild<QAction *>(QStringLiteral("mi_recordMix"))->setEnabled(m_resultPanel->recordMixButton()->isEnabled());
    });
    ColorSwatch *swatch = m_resultPanel->pickedSwatch();
    connect(swatch, &ColorSwatch::pressed, this, [this](Qt::MouseButton button) {
        m_dragArmed = button == Qt::LeftButton && m_palette && m_palette->shownFlag();
        if (m_dragArmed && m_resultPanel->pickedColor())
            m_palette->setExternalDrag(true, *m_resultPanel->pickedColor());
    });
    connect(swatch, &ColorSwatch::dragStarted, this, &TForm_TintoraMain::startColorDrag);
    connect(swatch, &ColorSwatch::released, this, [this] {
        if (m_dragArmed && m_palette)
            m_palette->setExternalDrag(false, {});
        m_dragArmed = false;
    });

    statusBar()->setObjectName(QStringLiteral("StatusBar_main"));
    // The four panels, then the zoom step and the picture's pixel.
    const int widths[] = {150, 150, 150, 64, 64, 190, 0};
    for (std::size_t i = 0; i < std::size(widths); ++i) {
        auto *panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel_%1").arg(i));
        if (widths[i])
            panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(1);
        panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        statusBar()->addWidget(panel);
        if (!widths[i])
            panel->hide(); // the colour correction: shown while there is one
        m_status.add(panel);
    }

    auto *progress = new QProgressBar(statusBar());
    progress->setObjectName(QStringLiteral("ProgressBar_load"));
    progress->setFixedWidth(160);
    progress->setFormat(tr("载入照片 %p%"));
    statusBar()->addPermanentWidget(progress);
    m_searchProgress = new QProgressBar(statusBar());
    m_searchProgress->setObjectName(QStringLiteral("ProgressBar_search"));
    m_searchProgress->setFixedWidth(160);
    statusBar()->addPermanentWidget(m_searchProgress);
    m_settingsNote = new QLabel(statusBar());
    m_settingsNote->setObjectName(QStringLiteral("Label_settingsNote"));
    m_settingsNote->hide();
    statusBar()->addPermanentWidget(m_settingsNote);

    m_pictures = std::make_unique<PictureController>(this, m_scroll, m_pictureView, &m_status, progress, m_notifier);
    connect(m_pictures.get(), &PictureController::grayCaptionChanged, m_grayButton, &QToolButton::setText);
    connect(m_pictures.get(), &PictureController::grayCaptionChanged, this, &TForm_TintoraMain::showTone);
    connect(m_pictures.get(), &PictureController::opened, this, &TForm_TintoraMain::pictureOpened);
    connect(m_pictures.get(), &PictureController::photoColourPicked, m_resultPanel, &ResultPanel::setPhotoColor);
    connect(m_pictures.get(), &PictureController::clickModeChanged,
            findChild<QAction *>(QStringLiteral("mi_cancelCorrectionClicks")), &QAction::setEnabled);
    QAction *shown = findChild<QAction *>(QStringLiteral("mi_showCorrected"));
    connect(m_pictures.get(), &PictureController::correctionChanged, shown, [shown](bool exists, bool on) {
        shown->setEnabled(exists);
        shown->setChecked(on);
    });
}

QString TForm_TintoraMain::statusText(int panel) const
{
    return m_status.text(static_cast<std::size_t>(panel));
}

void TForm_TintoraMain::createStep(const MainWindowOptions &options)
{
    if (options.showSplash) {
        TForm_colorCardFace splash;
        splash.exec();
    }
    StartupData started = startWithDataFolder(dataLocationFor(options.dataFolder), m_storeMessages, m_notifier);
    m_folder = started.location.folder;
    m_readOnly = started.location.readOnly;
    m_config = std::move(started.config);
    m_pictures->setGridCounts(started.settings.gridColumns, started.settings.gridRows);
    if (m_config)
        m_pictures->setSquareCells(storedText(*m_config, settingkeys::kGridSquareCells) == "1");
    if (m_config) {
        if (const std::optional<std::string> size = storedText(*m_config, settingkeys::kSampleSize))
            applySampleSize(QString::fromStdString(*size).toInt(), false);
    }
    m_colors = std::move(started.colors);
    m_cards = std::make_unique<CStandardColorCard>();
    m_match = std::make_unique<MatchContext>(m_colors.get(), m_cards.get());
    m_match->setMixingMode(started.settings.mixingMode);
    m_match->setMaxParts(started.settings.maxParts);
    if (m_config && !m_config->isLoaded() && !m_readOnly)
        startSettingsRetry();
    showMixingMode();
    m_picks = std::make_unique<PickController>(*m_match, m_resultPanel, &m_status);
    m_picks->setBusyIndicators(m_pictureView, m_searchProgress);
    connect(m_match.get(), &MatchContext::colorBoxesChanged, this, &TForm_TintoraMain::fillColorBoxSelector);
    // A pick the open "记录实际混色" waits for is the colour its mix came out,
    // not a colour to answer.
    connect(m_pictures.get(), &PictureController::picked, this, [this](const RgbColor &color, PickOrigin origin) {
        if (!m_recordMix || !m_recordMix->offerPickedColor(color))
            m_picks->pick(color, origin);
    });
    fillColorBoxSelector();
    setStandardCardChoice(1);
}

void TForm_TintoraMain::fillColorBoxSelector()
{
    const QString current = m_colorBoxes->currentText();
    const QSignalBlocker block(m_colorBoxes);
    m_colorBoxes->clear();
    std::vector<std::string> names;
    if (m_colors)
        m_colors->listColorBoxes(names);
    for (const std::string &name : names)
        m_colorBoxes->addItem(QString::fromStdString(name));
    const QString wanted = current.isEmpty() ? QString::fromUtf8(DataFolder::kStartBox.data()) : current;
    m_colorBoxes->setCurrentIndex(m_colorBoxes->findText(wanted));
}

void TForm_TintoraMain::setStandardCardChoice(int choice)
{
    static const char *const captions[] = {QT_TR_NOOP("近似潘通色"), QT_TR_NOOP("近似劳尔色"), QT_TR_NOOP("近似中建色")};
    m_match->setCardChoice(choice);
    const int stored = m_match->cardChoice();
    m_resultPanel->setCardCaption(stored ? text(captions[stored - 1]) : QString());
}

void TForm_TintoraMain::showMixingMode()
{
    // In force but not stored: marked, the reason in the note beside.
    m_status.setText(3,
                     coreText(mixingModeText(m_match ? m_match->mixingMode() : 0))
                         + (m_settingsUnsaved ? QStringLiteral("*") : QString()));
}

void TForm_TintoraMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    m_pictures->showSample();
    // Once the window has its size: the picture opens fitted to it.
    if (m_pictureAtStart)
        QTimer::singleShot(0, this, [this] { m_pictures->beginOpen(*m_pictureAtStart); });
}

void TForm_TintoraMain::changeEvent(QEvent *event)
{
    // Back from another program, which may have changed the paints or boxes.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_match)
        m_match->syncWithFiles();
    QMainWindow::changeEvent(event);
}

void TForm_TintoraMain::closeEvent(QCloseEvent *event)
{
    if (m_palette && !m_palette->confirmClose()) {
        event->ignore();
        return;
    }
    if (m_pictures->magnifier())
        m_pictures->magnifier()->hide();
    if (m_palette)
        m_palette->hide();
    if (m_picks)
        m_picks->stop();
    event->accept();
}

void TForm_TintoraMain::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void TForm_TintoraMain::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    m_pictures->beginOpen(urls.front().toLocalFile().toStdString());
}

} // namespace pigmora::ui
