#include "data/buildinfo.h"
#include "main/aboutwindow.h"
#include "support/uitestsupport.h"

#include <QLabel>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

TEST(AboutWindow, ShowsTheVersionTheBuildConfiguredAndTheZipLibrarysLicence)
{
    TForm_About about(nullptr);
    const QString title = test::findControl<QLabel>(&about, "Label_title")->text();
    EXPECT_TRUE(title.contains(QStringLiteral("版本 ") + QString::fromUtf8(buildinfo::kVersion.data())))
        << title.toStdString();
    EXPECT_TRUE(test::findControl<QTextBrowser>(&about, "Memo_licences")->toPlainText().contains("libzip"));
}

} // namespace
} // namespace pigmora::ui
