// The desktop program's speed: start-up to a usable main window (splash
// excluded), a click to an updated result panel on the largest default colour
// box, and on a 24 MP photograph with a 1600 x 1000 screen and the magnifier
// on: a zoom step to its first screen, scrolling a screen and a magnifier
// update at "800%".
// Opening a 24 MP JPEG: the time from the file chosen to the first screen
// painted (the 1/8 preview) and to the exact picture, and the longest time
// the window thread did not turn its event loop meanwhile.
// A click on a box of 30,000 paints: the longest the window thread is blocked.
// Runs on the offscreen platform; peak memory is the process's maximum
// resident set size so far.
#include "data/colormanager.h"
#include "image/viewbuilder.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/pickcontroller.h"
#include "main/picturecontroller.h"
#include "main/pictureview.h"
#include "main/viewstate.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <random>
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
        window.picks().waitForAnswer();
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

// A 24 MP JPEG with a photograph's grain (noise on the gradients), as large
// a file as a camera's (about 10 MB): decoding time follows the data.
const QString &grainy24mpFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("grainy24mp.jpg"));
        QImage image(6000, 4000, QImage::Format_RGB32);
        std::uint32_t seed = 12345;
        for (int y = 0; y < image.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = static_cast<int>(seed >> 27) - 16;
                row[x] = qRgb(std::clamp((x / 24) % 256 + grain, 0, 255), std::clamp((y / 16) % 256 + grain, 0, 255),
                              std::clamp(((x + y) / 40) % 256 - grain, 0, 255));
            }
        }
        image.save(file, "JPEG", 92);
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

// From the file chosen (beginOpen, as the open dialog's OK runs it) to the
// first screen painted and to the exact picture on show, with the window
// 1600 x 1000 of picture, as a painter opens one photo after another; and
// the longest time the window thread was busy in one turn of its loop.
void BM_OpenJpeg24MP(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    const std::string photo = grainy24mpFile().toStdString(); // written before the clock runs
    pigmora::ui::PictureView *view = window->pictureView();
    double firstScreen = 0;
    double exact = 0;
    double longestStall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window->pictures().showSample();
        QApplication::processEvents();
        state.ResumeTiming();
        QElapsedTimer clock;
        qint64 shown = -1;
        const QMetaObject::Connection painted = QObject::connect(view, &pigmora::ui::PictureView::repainted, [&] {
            if (shown < 0 && (view->showsPreview() || !window->pictures().loading()))
                shown = clock.nsecsElapsed();
        });
        // Each turn of the window thread's loop handles what is pending,
        // timed, then sleeps a millisecond: the longest turn bounds the
        // longest time the window could not answer.
        qint64 stall = 0;
        const auto turn = [&](const std::function<void()> &work) {
            const qint64 start = clock.nsecsElapsed();
            work();
            stall = std::max(stall, clock.nsecsElapsed() - start);
        };
        clock.start();
        turn([&] { window->pictures().beginOpen(photo); });
        while (window->pictures().loading() || shown < 0) {
            turn([] { QApplication::processEvents(QEventLoop::AllEvents); });
            QThread::msleep(1);
        }
        const qint64 done = clock.nsecsElapsed();
        turn([&] { view->repaint(); }); // the exact picture's first paint
        QObject::disconnect(painted);
        firstScreen += static_cast<double>(shown) / 1e6;
        exact += static_cast<double>(done) / 1e6;
        longestStall = std::max(longestStall, static_cast<double>(stall) / 1e6);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["first_screen_ms"] = firstScreen / runs;
    state.counters["exact_ms"] = exact / runs;
    state.counters["longest_block_ms"] = longestStall;
    state.counters["file_MB"] = static_cast<double>(QFileInfo(grainy24mpFile()).size()) / 1e6;
    state.counters["zoom_index"] = window->viewState().zoomIndex();
}
BENCHMARK(BM_OpenJpeg24MP)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same picture read, decoded and its first screen computed in one call,
// as the window thread did before loading moved off it: the time it froze.
void BM_OpenJpeg24MPInOneCall(benchmark::State &state)
{
    const std::string photo = grainy24mpFile().toStdString();
    for (auto _ : state) {
        pigmora::ui::ViewState view;
        view.open(photo);
        view.view()->prepare(QRect(0, 0, 1600, 1000));
    }
}
BENCHMARK(BM_OpenJpeg24MPInOneCall)->Unit(benchmark::kMillisecond)->Iterations(3);

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

// A white balance taken by a click to its first screen painted, at "25%"
// (range 0: 1) or "100%" (4), the whole screen of the 24 MP photo corrected
// (range 1: 1), or the correction cleared again to its first screen (0).
void BM_CorrectionToFirstScreen24MP(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = windowWith24mp(dir);
    const int index = static_cast<int>(state.range(0));
    const bool on = state.range(1) != 0;
    zoomToIndex(*window, index);
    paintScreen(*window);
    // A grayish place of the picture: (140, 140, 120) at (980, 700).
    const QSize view = window->viewState().view()->size();
    const QSize base = window->viewState().baseSize();
    const QPoint reference(980 * view.width() / base.width() + 18, 700 * view.height() / base.height() + 18);
    const auto balance = [&] {
        window->findChild<QAction *>(QStringLiteral("mi_whiteBalance"))->trigger();
        window->paintBoxMouseDown(reference, Qt::LeftButton);
        paintScreen(*window);
        return window->viewState().correction().isOn();
    };
    const auto clear = [&] {
        window->findChild<QAction *>(QStringLiteral("mi_clearCorrection"))->trigger();
        paintScreen(*window);
    };
    for (auto _ : state) {
        state.PauseTiming();
        const bool balanced = on || balance();
        state.ResumeTiming();
        if (!(on ? balance() : balanced)) {
            state.SkipWithError("the white balance was refused");
            break;
        }
        if (!on)
            clear();
        state.PauseTiming();
        if (on)
            clear();
        state.ResumeTiming();
    }
    state.SetLabel(std::string(pigmora::kZoomSteps[static_cast<std::size_t>(index)]) + (on ? " on" : " off"));
}
BENCHMARK(BM_CorrectionToFirstScreen24MP)->ArgsProduct({{1, 4}, {1, 0}})->Unit(benchmark::kMillisecond)->Iterations(4);

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

// A maker's whole catalogue in one box: the longest time the window thread
// did not turn its event loop from a click to its answer (gap_ms), the
// longest click itself (pick_call_ms) and the
// time to the answer. The search runs on a worker; the window waits for it
// only its short quick-answer moment.
void BM_PickOnHugeBoxEventLoopGap(benchmark::State &state, int mixingMode)
{
    QTemporaryDir dir;
    pigmora::ui::TForm_TintoraMain window(optionsFor(dir));
    window.show();
    QApplication::processEvents();
    const int n = static_cast<int>(state.range(0));
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> colour(0, 255);
    std::vector<pigmora::CColorManager::NewGroupColor> list;
    for (int i = 0; i < n; ++i)
        list.push_back({"cat" + std::to_string(i), "", {colour(rng), colour(rng), colour(rng)}});
    std::vector<std::string> codes;
    pigmora::CColorManager &colors = *window.colors();
    if (!colors.addGroupColors("油画颜色", list, &codes).isOk()) {
        state.SkipWithError("could not import the paints");
        return;
    }
    window.matching().syncWithFiles();
    colors.clearCurrentBox();
    for (int i = 0; i < n; ++i)
        colors.addToCurrentBox(codes[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(i)].name);
    window.matching().setMixingMode(mixingMode);
    window.picks().waitForAnswer();
    double worstGap = 0.0;
    double longestPickCall = 0.0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 last = 0;
        double gap = 0.0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = std::max(gap, static_cast<double>(now - last) / 1e6);
            last = now;
        });
        ticker.start();
        clock.start();
        window.picks().pick({colour(rng), colour(rng), colour(rng)});
        longestPickCall = std::max(longestPickCall, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        while (window.picks().searching())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        gap = std::max(gap, static_cast<double>(clock.nsecsElapsed() - last) / 1e6);
        worstGap = std::max(worstGap, gap);
    }
    state.counters["paints"] = static_cast<double>(window.colors()->currentBoxRecords().size());
    state.counters["gap_ms"] = worstGap;
    state.counters["pick_call_ms"] = longestPickCall;
}
BENCHMARK_CAPTURE(BM_PickOnHugeBoxEventLoopGap, subtractive, 0)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_PickOnHugeBoxEventLoopGap, pigment, 2)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(3);

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
