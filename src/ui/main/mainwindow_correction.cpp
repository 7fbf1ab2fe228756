// The main window's area sample and colour corrections: the sample size
// selector (toolbar and "视图" menu) and the "校正" menu, handed over to its
// picture controller.
#include "main/mainwindow.h"

#include "main/picturecontroller.h"
#include "store/configmanager.h"
#include "store/settings.h"

#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <array>

namespace pigmora::ui {

namespace {

constexpr std::array kSampleSizes{1, 3, 5, 9, 15, 31};

} // namespace

void TForm_TintoraMain::buildCorrectionMenu(QToolBar *toolbar)
{
    m_sampleSizes = new QComboBox(toolbar);
    m_sampleSizes->setObjectName(QStringLiteral("cbSampleSize"));
    m_sampleSizes->setToolTip(tr("取色范围：取这么多像素的平均色"));
    auto *sizeMenu = new QMenu(tr("取色范围(&S)"), this);
    sizeMenu->setObjectName(QStringLiteral("mi_sampleSize"));
    m_sampleActions = new QActionGroup(this);
    for (int size : kSampleSizes) {
        const QString caption = size == 1 ? tr("1 像素") : tr("%1 x %1").arg(size);
        m_sampleSizes->addItem(caption, size);
        QAction *action = sizeMenu->addAction(caption);
        action->setCheckable(true);
        action->setChecked(size == 1);
        action->setData(size);
        m_sampleActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, size] { applySampleSize(size, true); });
    }
    connect(m_sampleSizes, &QComboBox::activated, this,
            [this](int index) { applySampleSize(m_sampleSizes->itemData(index).toInt(), true); });
    toolbar->addWidget(m_sampleSizes);
    if (auto *view = findChild<QMenu *>(QStringLiteral("mi_view"))) {
        view->addSeparator();
        view->addMenu(sizeMenu);
    }

    QMenu *menu = new QMenu(tr("校正(&C)"), this);
    menu->setObjectName(QStringLiteral("mi_correction"));
    menuBar()->insertMenu(menuBar()->actions().value(2), menu); // after "视图"
    QAction *white = menu->addAction(tr("点选白色参照"), this, [this] { m_pictures->startWhiteBalance(); });
    white->setObjectName(QStringLiteral("mi_whiteBalance"));
    QAction *chart = menu->addAction(tr("点选色卡四角"), this, [this] { m_pictures->startChartCalibration(); });
    chart->setObjectName(QStringLiteral("mi_chartCalibration"));
    QAction *shown = menu->addAction(tr("显示校正后的照片"));
    shown->setObjectName(QStringLiteral("mi_showCorrected"));
    shown->setCheckable(true);
    shown->setEnabled(false);
    connect(shown, &QAction::toggled, this, [this](bool on) { m_pictures->showCorrection(on); });
    QAction *clear = menu->addAction(tr("清除校正"), this, [this] { m_pictures->clearCorrection(); });
    clear->setObjectName(QStringLiteral("mi_clearCorrection"));

    // Escape ends the clicks for a correction; it does nothing otherwise.
    auto *cancel = new QAction(this);
    cancel->setObjectName(QStringLiteral("mi_cancelCorrectionClicks"));
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    cancel->setEnabled(false);
    addAction(cancel);
    connect(cancel, &QAction::triggered, this, [this] { m_pictures->cancelCorrectionClicks(); });
}

void TForm_TintoraMain::applySampleSize(int size, bool store)
{
    const int index = m_sampleSizes->findData(size);
    if (index < 0)
        return; // not one of the choices (a damaged settings file): as it was
    m_sampleSizes->setCurrentIndex(index);
    for (QAction *action : m_sampleActions->actions())
        action->setChecked(action->data().toInt() == size);
    m_pictures->setSampleSize(size);
    if (!store || !m_config || m_readOnly)
        return;
    // One pixel, as without the item, stores nothing new.
    if (size != 1 || storedText(*m_config, settingkeys::kSampleSize))
        saveText(*m_config, settingkeys::kSampleSize, std::to_string(size));
}

int TForm_TintoraMain::sampleSize() const
{
    return m_pictures->sampleSize();
}

} // namespace pigmora::ui
