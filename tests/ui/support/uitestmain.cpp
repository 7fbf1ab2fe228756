// GoogleTest entry for widget tests: one QApplication for the whole program.
#include "main/pickcontroller.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    // Headless unless a platform is asked for (CTest sets offscreen too).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A pick answers before it returns, however loaded the machine; the
    // tests of searches that outlast the wait set a short one themselves.
    pigmora::ui::PickController::setDefaultQuickWait(std::chrono::minutes(2));
    return RUN_ALL_TESTS();
}
