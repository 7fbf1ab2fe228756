#pragma once

#include "main/mainwindow.h"
#include "support/testsupport.h"

#include <memory>

#include <gtest/gtest.h>

namespace pigmora::test {

// A main window on a fresh data folder, shown without the splash, whose
// messages are recorded instead of shown.
class MainWindowFixture : public ::testing::Test
{
protected:
    ui::MainWindowOptions options()
    {
        ui::MainWindowOptions options;
        options.showSplash = false;
        options.dataFolder = dir.path();
        options.notifier = &notifier;
        return options;
    }

    std::unique_ptr<ui::TForm_TintoraMain> start(ui::MainWindowOptions options)
    {
        auto window = std::make_unique<ui::TForm_TintoraMain>(std::move(options));
        window->show();
        return window;
    }

    std::unique_ptr<ui::TForm_TintoraMain> start() { return start(options()); }

    TempDir dir;
    RecordingNotifier notifier;
};

} // namespace pigmora::test
