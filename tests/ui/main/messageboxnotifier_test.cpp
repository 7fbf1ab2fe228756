#include "main/messageboxnotifier.h"
#include "support/uitestsupport.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::whenModalShown;

TEST(MessageBoxNotifier, MessageCarriesCaptionTextAndIcon)
{
    MessageBoxNotifier notifier;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const auto answered = whenModalShown([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    notifier.showMessage("颜色盒已经存在!", MessageIcon::Error);
    EXPECT_EQ(caption, QStringLiteral("提示"));
    EXPECT_EQ(text, QStringLiteral("颜色盒已经存在!"));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(MessageBoxNotifier, QuestionDefaultsToNo)
{
    MessageBoxNotifier notifier;
    bool noIsDefault = false;
    QString captions;
    const auto answered = whenModalShown([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(box, nullptr);
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        captions = box->button(QMessageBox::Yes)->text() + box->button(QMessageBox::No)->text();
        box->defaultButton()->click();
    });
    EXPECT_FALSE(notifier.askYesNo("是否保存?"));
    EXPECT_TRUE(noIsDefault);
    EXPECT_EQ(captions, QStringLiteral("是(&Y)否(&N)")); // Chinese whatever the system's language

    const auto answered2
        = whenModalShown([](QWidget *modal) { qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(notifier.askYesNo("是否保存?"));
}

// A question with its own answers: the last one cancels and is the default,
// also for Escape; the answer is the index of the button clicked.
TEST(MessageBoxNotifier, ChoiceAnswersTheButtonClickedAndCancelsByDefault)
{
    MessageBoxNotifier notifier;
    const std::string answers[] = {"保留我的", "采用对方的", "取消"};
    for (const std::size_t clicked : {0u, 1u, 2u, 3u}) { // 3: Escape
        QStringList captions;
        bool lastIsDefault = false;
        const auto answered = whenModalShown([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton *button : box->buttons())
                captions << button->text();
            lastIsDefault = box->defaultButton() && box->defaultButton()->text() == QStringLiteral("取消");
            if (clicked == 3) {
                box->reject();
                return;
            }
            for (QAbstractButton *button : box->buttons())
                if (button->text() == QString::fromStdString(answers[clicked]))
                    button->click();
        });
        EXPECT_EQ(notifier.askChoice("色板已被另一个程序修改", answers), std::min<std::size_t>(clicked, 2)) << clicked;
        EXPECT_TRUE(lastIsDefault);
        captions.sort();
        EXPECT_EQ(captions,
                  (QStringList{QStringLiteral("保留我的"), QStringLiteral("取消"), QStringLiteral("采用对方的")}));
    }
}

} // namespace
} // namespace pigmora::ui
