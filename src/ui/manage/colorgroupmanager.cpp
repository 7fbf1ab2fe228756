#include "manage/colorgroupmanager.h"

#include "data/colormanager.h"
#include "main/mixtexts.h"
#include "main/uitext.h"
#include "main/language.h"
#include "main/messagetext.h"
#include "main/recordedmixesdialog.h"
#include "manage/addgroupcolor.h"
#include "manage/managesupport.h"
#include "manage/paintlistwidget.h"
#include "store/csv.h"
#include "store/paintimport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pigmora::ui {

namespace {

// A refused row, worded for the window.
QString refusalText(const PaintListRow &row)
{
    switch (row.problem) {
    case PaintRowProblem::FieldCount:
        return QObject::tr("应有 4 项 (名称,r,g,b)，实有 %1 项").arg(row.fieldCount);
    case PaintRowProblem::Channel:
        return QObject::tr("r、g、b 须为 0 到 255 的整数");
    case PaintRowProblem::EmptyName:
        return QObject::tr("颜色名称不能为空!");
    case PaintRowProblem::ControlCharacter:
        return QObject::tr("名称中含有控制字符 (U+%1)!")
            .arg(QString::number(row.control, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    case PaintRowProblem::NotStorable:
        return coreText(kNameNotStorable);
    case PaintRowProblem::Duplicate:
    case PaintRowProblem::None:
        break;
    }
    return QObject::tr("色谱中同名颜色存在!");
}

// The summary lists at most this many lines of each kind.
constexpr int kSummaryLines = 12;

} // namespace

TForm_colorGroupManager::TForm_colorGroupManager(CColorManager &colors, const CStandardColorCard *cards,
                                                 Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_cards(cards)
    , m_notifier(notifier)
    , m_groups(new QComboBox)
    , m_list(new PaintListWidget(true))
    , m_delete(namedButton("bbtn_deleteColorItem", tr("删除")))
    , m_modify(namedButton("bbtn_modifyColorItem", tr("修改")))
    , m_strength(new QLabel)
    , m_viewMixes(namedButton("Button_viewMixes", tr("查看…"), tr("这种颜料的记录的混色：查看，删除记错的。")))
{
    // A damaged file of recorded mixes teaches nothing here; the record
    // dialog and the command line say why.
    if (auto observations = ObservationStore(m_colors.programFolder()).load())
        m_strengths = StoredStrengths::fit(*observations);
    m_strength->setObjectName(QStringLiteral("Label_paintStrength"));
    m_strength->setToolTip(tr("从记录的实际混色学到的着色力 (颜料混色模式用它)；1 为未学到。"));
    setObjectName(QStringLiteral("TForm_colorGroupManager"));
    setWindowTitle(tr("色谱设置"));
    m_groups->setObjectName(QStringLiteral("ComboBox_groupName"));
    m_list->setObjectName(QStringLiteral("ListBox_color"));
    auto *add = namedButton("bbtn_addColorItem", tr("增加"));
    auto *import = namedButton("bbtn_importColors", tr("导入..."));
    import->setToolTip(tr("从 CSV 文件 (name,r,g,b) 导入颜料到当前色谱"));
    auto *close = namedButton("bbtn_close", tr("关闭"));
    close->setDefault(true);

    auto *groupRow = new QHBoxLayout;
    groupRow->addWidget(new QLabel(tr("色谱类别：")));
    groupRow->addWidget(m_groups, 1);
    auto *frame = new QGroupBox(tr("色谱颜色"));
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_list);
    auto *strengthRow = new QHBoxLayout;
    strengthRow->addWidget(m_strength, 1);
    strengthRow->addWidget(m_viewMixes);
    frameLayout->addLayout(strengthRow);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_delete);
    buttons->addWidget(add);
    buttons->addWidget(m_modify);
    buttons->addWidget(import);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groupRow);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    std::vector<std::string> groups;
    if (CColorManager::listColorGroups(groups)) {
        for (const std::string &group : groups)
            m_groups->addItem(fromUtf8(group));
        m_groups->setCurrentIndex(0);
    }
    ComboBox_groupNameChange();

    connect(m_groups, &QComboBox::currentIndexChanged, this, &TForm_colorGroupManager::ComboBox_groupNameChange);
    connect(m_list, &QListWidget::itemClicked, this, &TForm_colorGroupManager::ListBox_colorClick);
    connect(m_list, &PaintListWidget::keyReleased, this, &TForm_colorGroupManager::ListBox_colorClick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this]() {
        if (m_modify->isEnabled())
            bbtn_modifyColorItemClick();
    });
    connect(add, &QPushButton::clicked, this, &TForm_colorGroupManager::bbtn_addColorItemClick);
    connect(m_modify, &QPushButton::clicked, this, &TForm_colorGroupManager::bbtn_modifyColorItemClick);
    connect(m_delete, &QPushButton::clicked, this, &TForm_colorGroupManager::bbtn_deleteColorItemClick);
    connect(import, &QPushButton::clicked, this, &TForm_colorGroupManager::bbtn_importColorsClick);
    connect(m_viewMixes, &QPushButton::clicked, this, &TForm_colorGroupManager::Button_viewMixesClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    fixDialogSize(this, 400, 415);
}

QString TForm_colorGroupManager::selectedGroup() const
{
    return m_groups->currentIndex() < 0 ? QString() : m_groups->currentText();
}

void TForm_colorGroupManager::ComboBox_groupNameChange()
{
    const QString group = selectedGroup();
    const int index = group.isEmpty() ? -1 : CColorManager::colorGroupIndex(toUtf8(group));
    if (index < 0)
        return;
    std::vector<PaintColorRecord> paints;
    PaintColorRecord paint;
    for (int at = 0; at < m_colors.catalogueCount(); ++at) {
        if (m_colors.catalogueColorAt(at, paint) && paint.group() == index)
            paints.push_back(paint);
    }
    m_list->setPaints(std::move(paints));
    m_list->selectRow(0);
    showStrength();
}

void TForm_colorGroupManager::showStrength()
{
    const int row = m_list->selectedRow();
    m_viewMixes->setEnabled(row >= 0);
    if (row < 0) {
        m_strength->clear();
        return;
    }
    const PaintColorRecord paint = m_list->paintAt(row);
    m_strength->setText(strengthText(m_strengths.of(paint.group(), platform::gbkToUtf8(paint.code()))));
}

void TForm_colorGroupManager::ListBox_colorClick()
{
    showStrength();
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const std::uint8_t origin = m_list->paintAt(row).origin();
    m_modify->setEnabled(origin != PaintColorRecord::kOriginLocked);
    m_delete->setEnabled(origin == PaintColorRecord::kOriginUser);
}

void TForm_colorGroupManager::runColorDialog(bool modify)
{
    const QString group = selectedGroup();
    const int row = m_list->selectedRow();
    if (group.isEmpty() || (modify && row < 0))
        return;
    TForm_addGroupColor dialog(m_colors, m_cards, m_notifier, this);
    if (modify)
        dialog.setModifyRecord(m_list->paintAt(row));
    dialog.setGroupName(group);
    dialog.exec();
    if (dialog.changed()) {
        m_changed = true;
        ComboBox_groupNameChange();
    }
}

void TForm_colorGroupManager::bbtn_addColorItemClick()
{
    runColorDialog(false);
}

void TForm_colorGroupManager::bbtn_modifyColorItemClick()
{
    runColorDialog(true);
}

void TForm_colorGroupManager::bbtn_deleteColorItemClick()
{
    const QString group = selectedGroup();
    const int row = m_list->selectedRow();
    if (group.isEmpty() || row < 0)
        return;
    const QString name = m_list->item(row)->text();
    if (!askQuestion(m_notifier, deleteQuestion(tr("色谱颜色", "what is deleted"), name)))
        return;
    if (!m_colors.deleteGroupColor(toUtf8(group), toUtf8(name))) {
        infoMessage(m_notifier, tr("删除色谱颜色失败!"));
        return;
    }
    infoMessage(m_notifier, tr("删除色谱颜色成功!"));
    m_changed = true;
    ComboBox_groupNameChange();
}

void TForm_colorGroupManager::bbtn_importColorsClick()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("导入颜料表"), QString(),
                                                      tr("CSV 文件 (*.csv);;所有文件 (*)"));
    if (!path.isEmpty())
        importPaintList(path);
}

void TForm_colorGroupManager::importPaintList(const QString &path)
{
    const QString group = selectedGroup();
    if (group.isEmpty())
        return;
    const auto table = readCsvFile(toUtf8(path));
    if (!table) {
        stopMessage(m_notifier, tr("不能读入颜料表: %1").arg(coreText(table.message())));
        return;
    }
    if (const Status header = expectHeader(*table, {"name", "r", "g", "b"}); !header) {
        stopMessage(m_notifier, tr("颜料表格式不对: %1").arg(coreText(header.message())));
        return;
    }
    const auto rows = checkPaintList(*table, m_colors, toUtf8(group));
    if (!rows) {
        stopMessage(m_notifier, coreText(rows.message()));
        return;
    }
    // The accepted rows go in as one change: all of them or none.
    QStringList added;
    QStringList refused;
    auto line = [](const PaintListRow &row) { return tr("第 %1 行").arg(row.line); };
    for (const PaintListRow &row : *rows) {
        if (row.accepted())
            added << line(row) + QStringLiteral(": ") + fromUtf8(row.storedName);
        else
            refused << line(row) + (row.name.empty() ? QString() : QLatin1Char(' ') + fromUtf8(row.name))
                    + QStringLiteral(": ") + refusalText(row);
    }
    QString summary;
    const Status done = addPaintListRows(m_colors, toUtf8(group), *rows);
    if (!done) {
        summary = tr("增加色谱颜色失败!: %1\n\n").arg(coreText(done.message()));
        added.clear();
    }
    if (!added.isEmpty()) {
        m_changed = true;
        ComboBox_groupNameChange();
    }
    auto shortList = [](QStringList lines) {
        const qsizetype more = lines.size() - kSummaryLines;
        if (more > 0) {
            lines = lines.mid(0, kSummaryLines);
            lines << tr("…… 另有 %1 行").arg(more);
        }
        return lines.join(QLatin1Char('\n'));
    };
    summary += tr("已增加 %1 种颜料到 %2，%3 行被拒绝。").arg(added.size()).arg(group).arg(refused.size());
    if (!added.isEmpty())
        summary += tr("\n\n已增加:\n") + shortList(added);
    if (!refused.isEmpty())
        summary += tr("\n\n被拒绝:\n") + shortList(refused);
    // All added: information; some refused: a warning; nothing added or a failed write: an error.
    const MessageIcon icon = !done ? MessageIcon::Error
        : refused.isEmpty()        ? MessageIcon::Information
        : added.isEmpty()          ? MessageIcon::Error
                                   : MessageIcon::Warning;
    m_notifier->showMessage(toUtf8(summary), icon);
}

RecordedMixesDialog *TForm_colorGroupManager::recordedMixesDialog() const
{
    return m_recordedMixes;
}

void TForm_colorGroupManager::Button_viewMixesClick()
{
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const PaintColorRecord paint = m_list->paintAt(row);
    if (!m_recordedMixes) {
        // A window of this one's, so that it can be used while this one is
        // modal; closed with it.
        m_recordedMixes = new RecordedMixesDialog(m_colors.programFolder(), m_match, m_notifier, this);
        m_recordedMixes->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_recordedMixes, &RecordedMixesDialog::forgotten, this, [this] {
            auto observations = ObservationStore(m_colors.programFolder()).load();
            m_strengths = observations ? StoredStrengths::fit(*observations) : StoredStrengths();
            showStrength();
        });
    }
    m_recordedMixes->setFilter({paint.group(), platform::gbkToUtf8(paint.code()), paintName(paint)});
    m_recordedMixes->show();
    m_recordedMixes->raise();
    m_recordedMixes->activateWindow();
}

} // namespace pigmora::ui
