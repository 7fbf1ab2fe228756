// Looking through the recorded mixes and forgetting one recorded by mistake:
// the rows, the paint filter, the refit that follows, refusals, the file
// changed by someone else, and the dialog in the main window.
#include "data/colormanager.h"
#include "data/platform.h"
#include "engine/colorpick.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/mixtexts.h"
#include "main/recordedmixesdialog.h"
#include "main/resultpanel.h"
#include "main/uitext.h"
#include "mainwindowfixture.h"
#include "uimaintestsupport.h"
#include "store/datafolder.h"
#include "support/uitestsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

// Answers the confirmation with Yes or No.
test::ModalAnswer answerForget(QMessageBox::StandardButton button)
{
    return test::whenModalShown([button](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->objectName(), QStringLiteral("MessageBox_confirmForget"));
        box->button(button)->click();
    });
}

// Ultramarine (340) and titanium white (710) of the start box with a third
// paint: mixes 1 and 3 have ultramarine in them, 2 has not.
class RecordedMixesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        paints = test::openStartBox(colors, notifier, {"340", "710"});
        ASSERT_EQ(paints.size(), 2u);
        for (const PaintColorRecord &paint : colors.currentBoxRecords())
            if (paints.size() == 2 && !paint.samePaint(paints[0]) && !paint.samePaint(paints[1]))
                paints.push_back(paint);
        ASSERT_EQ(paints.size(), 3u);
        mixes = {mix({40, 60, 160}, {{0, 2}, {1, 1}}), mix({150, 120, 90}, {{1, 1}, {2, 1.5}}),
                 mix({200, 205, 230}, {{0, 1}, {1, 8}})};
        for (const Observation &observation : mixes)
            ASSERT_TRUE(store.add(observation));
        context.reloadObservations();
    }

    Observation mix(RgbColor got, std::vector<std::pair<int, double>> parts)
    {
        Observation observation{got, {}, 1700000000};
        for (const auto &[paint, amount] : parts)
            observation.paints.push_back(observedPaint(paints[static_cast<std::size_t>(paint)], amount));
        return observation;
    }

    static QTableWidget *table(QWidget &dialog) { return findControl<QTableWidget>(&dialog, "Table_mixes"); }

    static void forgetRow(RecordedMixesDialog &dialog, int row, QMessageBox::StandardButton answer)
    {
        table(dialog)->selectRow(row);
        const test::ModalAnswer confirm = answerForget(answer);
        findControl<QPushButton>(&dialog, "Button_forget")->click();
        EXPECT_TRUE(confirm.answered());
    }

    std::optional<double> ultramarineStrength() const
    {
        const auto learnt = context.strengths().of(paints[0].group(), platform::gbkToUtf8(paints[0].code()));
        return learnt ? std::optional(learnt->strength) : std::nullopt;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager colors{dir.path(), &notifier};
    MatchContext context{&colors, nullptr};
    ObservationStore store{dir.path()};
    std::vector<PaintColorRecord> paints;
    std::vector<Observation> mixes;
};

TEST_F(RecordedMixesTest, ListsTheMixesInStoredOrderAndNarrowsToAPaint)
{
    RecordedMixesDialog dialog(dir.path(), &context, &notifier);
    QTableWidget *rows = table(dialog);
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_FALSE(findControl<QLabel>(&dialog, "Label_empty")->isVisibleTo(&dialog));
    const StoredStrengths strengths = StoredStrengths::fit(mixes);
    const QString third = fromGbk(paints[2].name());
    const QString recipes[] = {QStringLiteral("群青 2 份 + 钛白 1 份"), QStringLiteral("钛白 1 份 + %1 1.5 份").arg(third),
                               QStringLiteral("群青 1 份 + 钛白 8 份")};
    for (int row = 0; row < 3; ++row) {
        const Observation &observation = mixes[static_cast<std::size_t>(row)];
        EXPECT_EQ(rows->verticalHeaderItem(row)->text(), QString::number(row + 1));
        EXPECT_EQ(rows->item(row, 0)->text(), hexCopyText(observation.measured));
        EXPECT_EQ(rows->item(row, 1)->text(), recipes[row]);
        EXPECT_EQ(rows->item(row, 2)->text(), fromUtf8(twoDecimals(strengths.differenceOf(observation))));
    }

    dialog.setFilter({paints[0].group(), "340", QStringLiteral("群青")});
    auto *only = findControl<QCheckBox>(&dialog, "CheckBox_onlyPaint");
    EXPECT_TRUE(only->isVisibleTo(&dialog) && only->isChecked());
    EXPECT_EQ(dialog.shownNumbers(), (std::vector<int>{1, 3}));
    EXPECT_EQ(rows->verticalHeaderItem(1)->text(), QStringLiteral("3"));
    only->setChecked(false);
    EXPECT_EQ(dialog.shownNumbers(), (std::vector<int>{1, 2, 3}));
    dialog.setFilter({paints[0].group(), "no such paint", QStringLiteral("某色")});
    EXPECT_TRUE(dialog.shownNumbers().empty());
    EXPECT_EQ(findControl<QLabel>(&dialog, "Label_empty")->text(), QStringLiteral("还没有含某色的记录的混色"));

    std::filesystem::remove(store.path());
    RecordedMixesDialog none(dir.path(), nullptr, &notifier);
    EXPECT_EQ(table(none)->rowCount(), 0);
    EXPECT_TRUE(findControl<QLabel>(&none, "Label_empty")->isVisibleTo(&none));
    EXPECT_EQ(findControl<QLabel>(&none, "Label_empty")->text(), QStringLiteral("还没有记录的混色"));
}

// The shown row is stored mix 3; "No" keeps it, "Yes" forgets exactly it,
// and the strengths every answer uses are refitted.
TEST_F(RecordedMixesTest, ForgetsExactlyTheChosenMixAndRefits)
{
    RecordedMixesDialog dialog(dir.path(), &context, &notifier);
    dialog.setFilter({paints[0].group(), "340", QStringLiteral("群青")});
    const std::optional<double> before = ultramarineStrength();
    QSignalSpy changed(&context, &MatchContext::changed);
    QSignalSpy forgotten(&dialog, &RecordedMixesDialog::forgotten);

    forgetRow(dialog, 1, QMessageBox::No);
    EXPECT_EQ(store.load()->size(), 3u);
    EXPECT_EQ(changed.count(), 0);

    forgetRow(dialog, 1, QMessageBox::Yes);
    EXPECT_TRUE(notifier.messages().empty());
    EXPECT_EQ(*store.load(), (std::vector<Observation>{mixes[0], mixes[1]}));
    EXPECT_EQ(dialog.shownNumbers(), (std::vector<int>{1}));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(forgotten.count(), 1);
    ASSERT_TRUE(before && ultramarineStrength());
    EXPECT_NE(*ultramarineStrength(), *before);
}

// Refused: the dialog keeps what it lists, says why, and the file is left
// as it is (damaged) or as the other program left it (changed since).
TEST_F(RecordedMixesTest, ARefusedForgetKeepsTheListAndSaysWhy)
{
    const std::vector<unsigned char> damaged{'n', 'o', 't', ' ', 'm', 'i', 'x', 'e', 's'};
    const struct {
        const char *name;
        std::function<void()> meanwhile;
        const char *reason;
        int rowsAfter;
        bool problemShown;
    } cases[] = {
        {"damaged", [&] { test::writeFileBytes(store.path(), damaged); }, "QorObservation.bin", 3, true},
        {"changed", [&] { ASSERT_TRUE(store.add(mixes[0])); }, "已被另一个程序修改", 4, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(store.path());
        for (const Observation &observation : mixes)
            ASSERT_TRUE(store.add(observation));
        notifier.clear();
        RecordedMixesDialog dialog(dir.path(), nullptr, &notifier);
        c.meanwhile();
        const auto bytes = test::readFileBytes(store.path());
        forgetRow(dialog, 0, QMessageBox::Yes);
        ASSERT_EQ(notifier.messages().size(), 1u);
        const std::string &shown = notifier.messages().front().text;
        EXPECT_NE(shown.find("不能删除记录的混色："), std::string::npos) << shown;
        EXPECT_NE(shown.find(c.reason), std::string::npos) << shown;
        EXPECT_EQ(test::readFileBytes(store.path()), bytes);
        EXPECT_EQ(table(dialog)->rowCount(), c.rowsAfter);
        EXPECT_EQ(findControl<QLabel>(&dialog, "Label_problem")->isVisibleTo(&dialog), c.problemShown);
    }
}

TEST_F(RecordedMixesTest, FollowsTheFileWhenAnotherProgramChangesIt)
{
    RecordedMixesDialog dialog(dir.path(), &context, &notifier);
    ASSERT_TRUE(store.add(mixes[1]));
    EXPECT_EQ(table(dialog)->rowCount(), 3);
    context.syncWithFiles(); // the main window, activated again
    EXPECT_EQ(table(dialog)->rowCount(), 4);
    ASSERT_TRUE(store.remove(1));
    dialog.syncWithFile(); // the dialog, activated again
    EXPECT_EQ(table(dialog)->item(0, 1)->text().left(2), QStringLiteral("钛白"));

    test::writeFileBytes(store.path(), std::vector<unsigned char>{'x'});
    dialog.syncWithFile();
    auto *problem = findControl<QLabel>(&dialog, "Label_problem");
    EXPECT_TRUE(problem->isVisibleTo(&dialog));
    EXPECT_TRUE(problem->text().startsWith(QStringLiteral("读不出记录的混色：QorObservation.bin"))) << problem->text().toStdString();
    EXPECT_EQ(table(dialog)->rowCount(), 3) << "what was read stays on show";
    table(dialog)->selectRow(0);
    EXPECT_FALSE(findControl<QPushButton>(&dialog, "Button_forget")->isEnabled());

    RecordedMixesDialog unread(dir.path(), nullptr, &notifier);
    EXPECT_TRUE(findControl<QLabel>(&unread, "Label_problem")->isVisibleTo(&unread));
    EXPECT_FALSE(findControl<QLabel>(&unread, "Label_empty")->isVisibleTo(&unread)) << "not read is not none";
}

class RecordedMixesWindowTest : public test::MainWindowFixture
{ };

// From the 工具 menu: forgetting the only mix leaves the answer on show
// computed without learnt strengths, as if none had been recorded.
TEST_F(RecordedMixesWindowTest, TheAnswerOnShowFollowsAForgottenMix)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(150, 90, 60)})));
    window->matching().setMixingMode(2);
    const auto box = window->colors()->currentBoxRecords();
    Observation observation{{120, 80, 70}, {observedPaint(box[0], 1), observedPaint(box[1], 3)}, 1700000000};
    ASSERT_TRUE(ObservationStore(dir.path()).add(observation));
    window->matching().syncWithFiles();
    window->pickColor({5, 5});
    const auto before = window->resultPanel()->answer();

    findControl<QAction>(window.get(), "mi_recordedMixes")->trigger();
    RecordedMixesDialog *dialog = window->recordedMixesDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    QTableWidget *rows = findControl<QTableWidget>(dialog, "Table_mixes");
    ASSERT_EQ(rows->rowCount(), 1);
    rows->selectRow(0);
    const test::ModalAnswer confirm = answerForget(QMessageBox::Yes);
    findControl<QPushButton>(dialog, "Button_forget")->click();
    EXPECT_TRUE(confirm.answered());
    EXPECT_TRUE(window->matching().strengths().empty());
    const ColorPick expected = pickColor(box, {150, 90, 60}, MixModel::Pigment, nullptr, std::nullopt,
                                         PickOptions{{}, kDefaultMaxParts});
    ASSERT_TRUE(window->resultPanel()->answer());
    EXPECT_EQ(window->resultPanel()->answer()->mix.proportions, expected.mix.proportions);
    ASSERT_TRUE(before);
    EXPECT_NE(before->mix.proportions, expected.mix.proportions) << "the mix taught something";
    EXPECT_TRUE(findControl<QLabel>(dialog, "Label_empty")->isVisible());
}

} // namespace
} // namespace pigmora::ui
