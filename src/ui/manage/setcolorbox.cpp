#include "manage/setcolorbox.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "manage/managesupport.h"
#include "main/messagetext.h"
#include "manage/paintlistwidget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pigmora::ui {

namespace {

QGroupBox *framed(const QString &caption, QWidget *inside)
{
    auto *frame = new QGroupBox(caption);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(inside);
    return frame;
}

} // namespace

TForm_setColorBox::TForm_setColorBox(CColorManager &colors, Notifier *notifier, QWidget *parent)
    : QDialog(parent)
    , m_colors(colors)
    , m_notifier(notifier)
    , m_boxes(new QComboBox)
    , m_src(new PaintListWidget(false))
    , m_dst(new PaintListWidget(false))
    , m_save(namedButton("bbtn_save", tr("保存")))
{
    setObjectName(QStringLiteral("TForm_setColorBox"));
    setWindowTitle(tr("设置颜料盒"));
    m_boxes->setObjectName(QStringLiteral("ComboBox_GroupName"));
    m_src->setObjectName(QStringLiteral("ListBox_src"));
    m_dst->setObjectName(QStringLiteral("ListBox_dst"));
    auto *select = namedButton("bbtn_select", QStringLiteral(">"), tr("选取"));
    auto *unselect = namedButton("bbtn_unselect", QStringLiteral("<"), tr("不选"));
    auto *unselectAll = namedButton("bbtn_unselectAll", QStringLiteral("<<"), tr("全部不选"));
    auto *selectAll = namedButton("bbtn_selectAll", QStringLiteral(">>"), tr("全部选择"));
    auto *ok = namedButton("bbtn_ok", tr("确认"));
    ok->setDefault(true);
    auto *cancel = namedButton("bbtn_cancel", tr("取消"));
    m_save->setEnabled(false);

    auto *boxRow = new QHBoxLayout;
    boxRow->addWidget(new QLabel(tr("颜色群名称：")));
    boxRow->addWidget(m_boxes, 1);
    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *b : {select, unselect, unselectAll, selectAll}) {
        b->setFixedWidth(44);
        moves->addWidget(b);
    }
    moves->addStretch();
    auto *lists = new QHBoxLayout;
    lists->addWidget(framed(tr("待选颜色"), m_src), 1);
    lists->addLayout(moves);
    lists->addWidget(framed(tr("已选颜色"), m_dst), 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(boxRow);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(m_boxes, &QComboBox::currentIndexChanged, this, &TForm_setColorBox::ComboBox_GroupNameChange);
    connect(select, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_selectClick);
    connect(unselect, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_unselectClick);
    connect(selectAll, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_selectAllClick);
    connect(unselectAll, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_unselectAllClick);
    connect(m_src, &QListWidget::itemDoubleClicked, this, &TForm_setColorBox::bbtn_selectClick);
    connect(m_dst, &QListWidget::itemDoubleClicked, this, &TForm_setColorBox::bbtn_unselectClick);
    connect(m_save, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_saveClick);
    connect(ok, &QPushButton::clicked, this, &TForm_setColorBox::bbtn_okClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    fixDialogSize(this, 510, 349);
}

void TForm_setColorBox::setBoxNames(const std::vector<std::string> &names)
{
    const QSignalBlocker quiet(m_boxes);
    m_boxes->clear();
    for (const std::string &name : names)
        m_boxes->addItem(fromUtf8(name));
    m_boxes->setCurrentIndex(-1);
}

void TForm_setColorBox::openOnBox(const QString &boxName)
{
    std::vector<std::string> names;
    m_colors.listColorBoxes(names);
    setBoxNames(names);
    const int index = m_boxes->findText(boxName);
    setLoadedBoxIndex(index);
    {
        const QSignalBlocker quiet(m_boxes);
        m_boxes->setCurrentIndex(index);
    }
    ComboBox_GroupNameChange();
}

void TForm_setColorBox::setDirty(bool dirty)
{
    m_dirty = dirty;
    m_save->setEnabled(dirty);
}

void TForm_setColorBox::ComboBox_GroupNameChange()
{
    const int index = m_boxes->currentIndex();
    if (index < 0)
        return;
    if (index != m_loadedIndex) {
        // The store's current box is still the loaded one, so a save here
        // writes the moves to the box they were made in.
        if (m_dirty && m_loadedIndex >= 0 && askQuestion(m_notifier, tr("颜色盒已做了修改，是否保存?"))
            && !bbtn_saveClick()) {
            // The moves stay on screen with the box they were made in, as
            // after a failed "确认": the user may try again or cancel.
            const QSignalBlocker quiet(m_boxes);
            m_boxes->setCurrentIndex(m_loadedIndex);
            return;
        }
        setDirty(false);
    }
    if (!m_colors.loadColorBox(toUtf8(m_boxes->currentText()))) {
        // The lists keep showing the box that is loaded; so does the combo.
        const QSignalBlocker quiet(m_boxes);
        m_boxes->setCurrentIndex(m_loadedIndex);
        return;
    }
    refillLists();
    m_loadedIndex = index;
}

void TForm_setColorBox::refillLists()
{
    const std::uint8_t group = m_colors.currentColorBoxGroup();
    std::vector<PaintColorRecord> candidates;
    std::vector<PaintColorRecord> members;
    PaintColorRecord paint;
    for (int at = 0; at < m_colors.catalogueCount(); ++at) {
        if (!m_colors.catalogueColorAt(at, paint) || paint.group() != group)
            continue;
        (m_colors.isInCurrentBox(platform::gbkToUtf8(paint.code()), platform::gbkToUtf8(paint.name())) ? members
                                                                                                       : candidates)
            .push_back(paint);
    }
    m_src->setPaints(std::move(candidates));
    m_dst->setPaints(std::move(members));
    m_src->selectRow(0);
    m_dst->selectRow(0);
}

void TForm_setColorBox::moveOne(PaintListWidget *from, PaintListWidget *to)
{
    const int row = from->selectedRow();
    if (row < 0)
        return;
    to->addPaint(from->takePaint(row));
    from->selectRow(std::min(row, from->count() - 1)); // the next one is ready to move
    setDirty(true);
}

void TForm_setColorBox::moveAll(PaintListWidget *from, PaintListWidget *to)
{
    std::vector<PaintColorRecord> all = to->paints();
    const std::vector<PaintColorRecord> moved = from->paints();
    all.insert(all.end(), moved.begin(), moved.end());
    to->setPaints(std::move(all));
    from->clear();
    to->selectRow(0);
    setDirty(true);
}

void TForm_setColorBox::bbtn_selectClick()
{
    moveOne(m_src, m_dst);
}

void TForm_setColorBox::bbtn_unselectClick()
{
    moveOne(m_dst, m_src);
}

void TForm_setColorBox::bbtn_selectAllClick()
{
    moveAll(m_src, m_dst);
}

void TForm_setColorBox::bbtn_unselectAllClick()
{
    moveAll(m_dst, m_src);
}

bool TForm_setColorBox::bbtn_saveClick()
{
    m_colors.clearCurrentBox();
    for (const PaintColorRecord &paint : m_dst->paints())
        m_colors.addToCurrentBox(platform::gbkToUtf8(paint.code()), platform::gbkToUtf8(paint.name()));
    // From the file as it is now: another program's save of this box is
    // never overwritten unasked.
    CColorManager::StoredVersion expected = m_colors.currentColorBoxVersion();
    for (;;) {
        const CColorManager::SaveResult saved = m_colors.saveCurrentColorBoxIfUnchanged(expected);
        switch (saved.outcome) {
        case CColorManager::SaveResult::Outcome::Saved:
            m_savedAny = true;
            setDirty(false);
            return true;
        case CColorManager::SaveResult::Outcome::Failed:
            stopMessage(m_notifier,
                        saved.message.empty() ? tr("保存颜色盒设置失败!")
                                              : tr("保存颜色盒设置失败!") + u'\n' + coreText(saved.message));
            return false;
        case CColorManager::SaveResult::Outcome::ChangedOnDisk:
            break;
        }
        const QString name = m_boxes->itemText(m_loadedIndex);
        switch (askChangedElsewhere(m_notifier, tr("颜色盒“%1”").arg(name))) {
        case ChangedElsewhere::KeepMine:
            expected = saved.version;
            continue;
        case ChangedElsewhere::TakeTheirs:
            // The stored box on show; the dialog stays open with it.
            m_colors.loadColorBox(toUtf8(name));
            refillLists();
            m_savedAny = true; // the main window reloads the box too
            setDirty(false);
            return false;
        case ChangedElsewhere::Cancel:
            return false;
        }
    }
}

void TForm_setColorBox::bbtn_okClick()
{
    if (m_dirty && m_boxes->currentIndex() >= 0) {
        m_changed = true;
        if (!bbtn_saveClick())
            return; // the moves stay on screen: the user may try again or cancel
    }
    accept();
}

} // namespace pigmora::ui
