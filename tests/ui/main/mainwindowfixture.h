#pragma once

#include "main/mainwindow.h"
#include "main/picturecontroller.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <filesystem>
#include <initializer_list>
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

    // Until a picture that is being read is on show (or refused); false
    // when it takes longer than ten seconds.
    static bool waitForPicture(ui::TForm_TintoraMain &window)
    {
        QCoreApplication::processEvents(); // an open the window queued starts
        QElapsedTimer waited;
        waited.start();
        while (window.pictures().loading() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !window.pictures().loading();
    }

    // A picture file of one colour per band of ten pixel rows, 40 wide.
    std::filesystem::path pictureFile(std::initializer_list<QRgb> colours, const char *name = "colours.png")
    {
        QImage image(40, static_cast<int>(colours.size()) * 10, QImage::Format_RGB32);
        int band = 0;
        for (QRgb colour : colours) {
            for (int y = band * 10; y < band * 10 + 10; ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, colour);
            ++band;
        }
        const std::filesystem::path path = dir.path() / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path;
    }

    TempDir dir;
    RecordingNotifier notifier;
};

} // namespace pigmora::test
