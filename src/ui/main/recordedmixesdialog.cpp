#include "main/recordedmixesdialog.h"

#include "data/notifier.h"
#include "engine/colorpick.h"
#include "main/matchcontext.h"
#include "main/messagetext.h"
#include "main/mixtexts.h"
#include "main/resultpanel.h"
#include "main/uitext.h"

#include <QCheckBox>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace pigmora::ui {

namespace {

enum Column { kGot, kRecipe, kDifference, kTime, kColumns };

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

// The colour as it is, also on a selected row (a plain colour decoration
// would be tinted with the selection).
QIcon swatchIcon(const RgbColor &color)
{
    QPixmap swatch(20, 14);
    swatch.fill(QColor(color.red, color.green, color.blue));
    QPainter frame(&swatch);
    frame.setPen(Qt::black);
    frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    frame.end();
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Active})
        icon.addPixmap(swatch, mode);
    return icon;
}

} // namespace

RecordedMixesDialog::RecordedMixesDialog(std::filesystem::path folder, MatchContext *context, Notifier *notifier,
                                         QWidget *parent)
    : QDialog(parent)
    , m_folder(std::move(folder))
    , m_context(context)
    , m_notifier(notifier)
    , m_empty(new QLabel(tr("还没有记录的混色"), this))
    , m_problem(new QLabel(this))
    , m_only(new QCheckBox(this))
    , m_table(new QTableWidget(0, kColumns, this))
    , m_forget(new QPushButton(tr("删除"), this))
{
    setObjectName(QStringLiteral("RecordedMixesDialog"));
    setWindowTitle(tr("记录的混色"));
    m_empty->setObjectName(QStringLiteral("Label_empty"));
    m_problem->setObjectName(QStringLiteral("Label_problem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_only->setObjectName(QStringLiteral("CheckBox_onlyPaint"));
    m_only->setChecked(true);
    m_only->hide();
    m_table->setObjectName(QStringLiteral("Table_mixes"));
    m_table->setHorizontalHeaderLabels({tr("混出的颜色"), tr("配方"), tr("ΔE00"), tr("记录时间")});
    m_table->horizontalHeaderItem(kDifference)
        ->setToolTip(tr("混出的颜色与按学到的着色力算出的这个配方之差：模型离这次混色还有多远。"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setIconSize(QSize(20, 14));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(kRecipe, QHeaderView::Stretch);
    m_forget->setObjectName(QStringLiteral("Button_forget"));
    m_forget->setToolTip(tr("忘掉选中的混色 (例如记错的)；着色力据其余的记录重新学习。"));
    auto *close = new QPushButton(tr("关闭"), this);
    close->setObjectName(QStringLiteral("Button_close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_forget);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_only);
    layout->addWidget(m_problem);
    layout->addWidget(m_empty);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_only, &QCheckBox::toggled, this, &RecordedMixesDialog::fillTable);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_forget->setEnabled(m_problem->isHidden() && !m_table->selectedItems().isEmpty()); });
    connect(m_forget, &QPushButton::clicked, this, &RecordedMixesDialog::forgetClick);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    if (m_context)
        connect(m_context, &MatchContext::changed, this, &RecordedMixesDialog::syncWithFile);
    resize(760, 380);
    reload();
}

void RecordedMixesDialog::setFilter(MixFilter filter)
{
    m_only->setText(tr("只显示含%1的混色").arg(filter.name));
    m_only->setChecked(true);
    m_only->show();
    m_filter = std::move(filter);
    fillTable();
}

void RecordedMixesDialog::syncWithFile()
{
    if (fileStampOf(ObservationStore(m_folder).path()) != m_stamp)
        reload();
}

void RecordedMixesDialog::reload()
{
    const ObservationStore store(m_folder);
    m_stamp = fileStampOf(store.path());
    auto observations = store.load();
    if (!observations) {
        // What was read before stays on show; nothing can be forgotten from
        // a file that cannot be read.
        m_problem->setText(tr("读不出记录的混色：%1").arg(coreText(observations.message())));
        m_problem->show();
        m_empty->hide(); // none read is not none recorded
        m_forget->setEnabled(false);
        return;
    }
    m_problem->hide();
    m_observations = std::move(*observations);
    m_strengths = StoredStrengths::fit(m_observations);
    fillTable();
}

void RecordedMixesDialog::fillTable()
{
    m_shown.clear();
    const bool filtered = m_filter && m_only->isChecked();
    for (std::size_t n = 0; n < m_observations.size(); ++n) {
        if (!filtered || observationUses(m_observations[n], m_filter->group, m_filter->code))
            m_shown.push_back(static_cast<int>(n + 1));
    }
    m_table->clearContents();
    m_table->setRowCount(static_cast<int>(m_shown.size()));
    QStringList numbers;
    for (int row = 0; row < static_cast<int>(m_shown.size()); ++row) {
        const int number = m_shown[static_cast<std::size_t>(row)];
        const Observation &observation = m_observations[static_cast<std::size_t>(number - 1)];
        auto *got = cell(hexCopyText(observation.measured));
        got->setIcon(swatchIcon(observation.measured));
        m_table->setItem(row, kGot, got);
        m_table->setItem(row, kRecipe, cell(observedRecipeText(observation)));
        auto *difference = cell(fromUtf8(twoDecimals(m_strengths.differenceOf(observation))));
        difference->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, kDifference, difference);
        m_table->setItem(row, kTime,
                         cell(QDateTime::fromSecsSinceEpoch(observation.time).toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        numbers << QString::number(number);
    }
    m_table->setVerticalHeaderLabels(numbers);
    if (m_observations.empty())
        m_empty->setText(tr("还没有记录的混色"));
    else if (filtered)
        m_empty->setText(tr("还没有含%1的记录的混色").arg(m_filter->name));
    m_empty->setVisible(m_shown.empty() && m_problem->isHidden());
    m_forget->setEnabled(m_problem->isHidden() && !m_table->selectedItems().isEmpty());
}

void RecordedMixesDialog::forgetClick()
{
    std::set<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<int> numbers;
    for (const int row : rows)
        numbers.push_back(m_shown[static_cast<std::size_t>(row)]);
    if (numbers.empty())
        return;
    QMessageBox ask(QMessageBox::Question, windowTitle(),
                    tr("删除选中的 %n 条混色记录？着色力将据其余的记录重新学习。", nullptr,
                       static_cast<int>(numbers.size())),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setObjectName(QStringLiteral("MessageBox_confirmForget"));
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() != QMessageBox::Yes)
        return;
    // Only the mixes on show: refused when another program changed the file
    // since, so that a number never forgets another mix.
    const Status removed = ObservationStore(m_folder).remove(numbers, m_observations);
    if (!removed) {
        if (m_notifier) {
            m_notifier->showMessage(toUtf8(tr("不能删除记录的混色：%1").arg(coreText(removed.message()))),
                                    MessageIcon::Error);
        }
        syncWithFile();
        return;
    }
    reload();
    // Every answer follows the refitted strengths, as after recording one.
    if (m_context)
        m_context->reloadObservations();
    Q_EMIT forgotten();
}

void RecordedMixesDialog::changeEvent(QEvent *event)
{
    // Back from another program, which may have recorded or forgotten mixes.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        if (m_context)
            m_context->syncWithFiles();
        syncWithFile();
    }
    QDialog::changeEvent(event);
}

} // namespace pigmora::ui
