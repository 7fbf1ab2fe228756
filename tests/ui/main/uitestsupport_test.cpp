// The modal-answer helper itself: a dialog that never opens fails the test.
#include "support/uitestsupport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace pigmora::test {
namespace {

TEST(ModalAnswer, AnswersTheDialogThatOpens)
{
    QDialog dialog;
    const auto answered = whenModalShown([](QWidget *modal) { static_cast<QDialog *>(modal)->accept(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(answered.answered());
}

TEST(ModalAnswer, FailsWhenTheDialogNeverOpens)
{
    EXPECT_NONFATAL_FAILURE({ const auto answered = whenModalShown([](QWidget *) {}); }, "never opened");
}

TEST(ModalAnswer, StopsLookingAtItsDeadline)
{
    EXPECT_NONFATAL_FAILURE(
        {
            const auto answered = whenModalShown([](QWidget *) {}, std::chrono::milliseconds(30));
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 200)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        },
        "no modal dialog opened within 30 ms");
}

} // namespace
} // namespace pigmora::test
