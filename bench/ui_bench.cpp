// The desktop program's speed: start-up to a usable main window (splash
// excluded), a click to an updated result panel on the largest default colour
// box, and on a 24 MP photograph with a 1600 x 1000 screen and the magnifier
// on: a zoom step to its first screen, scrolling a screen and a magnifier
// update at "800%".
// Runs on the offscreen platform; peak memory is the process's maximum
// resident set size so far.
#include "data/colormanager.h"
#include "image/viewbuilder.h"
#include "main/mainwindow.h"
#include "main/pictureview.h"
#include "main/viewstate.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <chrono>
#include <sys/resource.h>

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

pigmora::ui::MainWindowOptions optionsFor(const QTemporaryDir &dir)
{
    pigmora::ui::MainWindowOptions options;
    options.showSplash = false;
    options.dataFolder = dir.path().toStdString();
    return options;
}

void BM_StartUp(benchmark::State &state)
{
    QTemporaryDir dir;
    {
        pigmora::ui::TForm_TintoraMain first(optionsFor(dir));
    } // the data files exist from here on
    for (auto _ : state) {
        auto window = std::make_unique<pigmora::ui::TForm_TintoraMain>(optionsFor(dir));
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PickOnLargestBox(benchmark::State &state)
{
    QTemporaryDir dir;
    pigmora::ui::TForm_TintoraMain window(optionsFor(dir));
    window.show();
    QApplication::processEvents();
    std::vector<std::string> names;
    window.colors()->listColorBoxes(names);
    std::string largest;
    std::size_t most = 0;
    for (const std::string &name : names) {
        window.colors()->loadColorBox(name);
        if (window.colors()->currentBoxRecords().size() > most) {
            most = window.colors()->currentBoxRecords().size();
            largest = name;
        }
    }
    window.colors()->loadColorBox(largest);
    int i = 0;
    for (auto _ : state) {
        window.pickColor(QPoint((i * 37) % 500, (i * 53) % 667));
        ++i;
    }
    state.counters["paints"] = static_cast<double>(most);
}
BENCHMARK(BM_PickOnLargestBox)->Unit(benchmark::kMicrosecond);

// A 24 MP photograph (6000 x 4000) as a JPEG file, written once.
const QString &photo24mpFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("photo24mp.jpg"));
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb((x / 7) & 255, (y / 5) & 255, ((x ^ y) / 3) & 255);
        }
        image.save(file, "JPEG", 90);
        return file;
    }();
    return path;
}

// The main window with a 1600 x 1000 screen of picture, the 24 MP photo open.
std::unique_ptr<pigmora::ui::TForm_TintoraMain> windowWith24mp(const QTemporaryDir &dir)
{
    const QString file = photo24mpFile();
    auto window = std::make_unique<pigmora::ui::TForm_TintoraMain>(optionsFor(dir));
    window->show();
    QScrollArea *scroll = window->findChild<QScrollArea *>();
    window->resize(window->size() + QSize(1600, 1000) - scroll->viewport()->size());
    QApplication::processEvents();
    window->openPicture(file.toStdString());
    QApplication::processEvents();
    return window;
}

void zoomToIndex(pigmora::ui::TForm_TintoraMain &window, int index)
{
    while (window.viewState().zoomIndex() > index)
        window.ToolButton_zoomoutClick();
    while (window.viewState().zoomIndex() < index)
        window.ToolButton_zoominClick();
}

// Until every tile on screen is painted.
void paintScreen(pigmora::ui::TForm_TintoraMain &window)
{
    pigmora::ui::PictureView *view = window.pictureView();
    view->repaint();
    while (!view->source()->isReady(view->visiblePicture()))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
}

// A zoom step to its first screen painted: from the step below to index
// ("10%": from "25%").
void BM_ZoomStepToFirstScreen24MP(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    window->ToolButton_MagnifierClick();
    const int index = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        zoomToIndex(*window, index == 0 ? 1 : index - 1);
        paintScreen(*window);
        state.ResumeTiming();
        if (index == 0)
            window->ToolButton_zoomoutClick();
        else
            window->ToolButton_zoominClick();
        paintScreen(*window);
    }
    state.SetLabel(pigmora::kZoomSteps[static_cast<std::size_t>(index)].data());
    const QRect visible = window->pictureView()->visiblePicture();
    state.counters["screen_w"] = visible.width();
    state.counters["screen_h"] = visible.height();
}
BENCHMARK(BM_ZoomStepToFirstScreen24MP)->DenseRange(0, 12)->Unit(benchmark::kMillisecond)->Iterations(3);

// The gray toggle to its first screen painted, at "10%" (every row of the
// photo converted) and at "800%".
void BM_GrayToggle24MP(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    window->ToolButton_MagnifierClick();
    zoomToIndex(*window, static_cast<int>(state.range(0)));
    paintScreen(*window);
    for (auto _ : state) {
        window->ToolButton_grayClick();
        paintScreen(*window);
    }
}
BENCHMARK(BM_GrayToggle24MP)->Arg(0)->Arg(pigmora::kHighestZoomIndex)->Unit(benchmark::kMillisecond)->Iterations(4);

// One screen down at "800%": the window thread's paint, and until the
// screen is complete.
void BM_ScrollScreen24MPAt800(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    window->ToolButton_MagnifierClick();
    zoomToIndex(*window, pigmora::kHighestZoomIndex);
    QScrollBar *bar = window->findChild<QScrollArea *>()->verticalScrollBar();
    double blocked = 0;
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep());
        const auto start = std::chrono::steady_clock::now();
        window->pictureView()->repaint();
        blocked += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        paintScreen(*window);
    }
    state.counters["paint_ms"] = blocked / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ScrollScreen24MPAt800)->Unit(benchmark::kMillisecond)->Iterations(10);

// A mouse move with the magnifier on at "800%": its copy and the lens.
void BM_MagnifierMove24MPAt800(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    window->ToolButton_MagnifierClick();
    zoomToIndex(*window, pigmora::kHighestZoomIndex);
    paintScreen(*window);
    int i = 0;
    for (auto _ : state) {
        window->paintBoxMouseMove(QPoint(200 + (i * 37) % 1200, 150 + (i * 53) % 700));
        QApplication::processEvents();
        ++i;
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_MagnifierMove24MPAt800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
