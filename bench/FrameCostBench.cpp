// What a displayed frame of each screen costs in the window the game opens
// (1280x1024, RGBA, double-buffered, depth, multisampled), set against a bare
// frame that only clears and swaps in the same window. Each measured frame is
// onDisplay() followed by glFinish(), so that whatever the driver queued is
// paid for inside the frame that queued it. The screens are those of a game in
// progress (tests/support/PerFrameScenes.h): the map with all its nodes, six
// ships, a selection and both arrows; a battle with 40 units a side, all in the
// fight and healed after every frame so that it never ends.
//
// Run under a virtual display, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_FrameCostBench
// Each benchmark reports ms_per_frame and vs_bare; a table at the end repeats
// the medians over the repetitions and marks screens over 1.5 times the bare
// frame.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/Screens.h"
#include "app/Window.h"
#include "game/Model.h"
#include "tests/support/PerFrameScenes.h"

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 1024;
constexpr int kFramesPerRun = 300;
constexpr int kWarmUpFrames = 30;  // first frames of a screen pay for the driver's shader variants
constexpr int kRuns = 3;           // repetitions; the table shows their median
constexpr double kTargetRatio = 1.5;

// Milliseconds per frame of every repetition, by screen, in the order first run.
std::vector<std::string> screenOrder;
std::map<std::string, std::vector<double>> timings;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void record(const std::string& screen, double msPerFrame) {
    if (timings.find(screen) == timings.end()) {
        screenOrder.push_back(screen);
    }
    timings[screen].push_back(msPerFrame);
}

// The bare frame's cost so far; 0 while it has not been measured in this run.
double bareMs() {
    const auto bare = timings.find("bare");
    return bare == timings.end() ? 0 : median(bare->second);
}

void bareFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
}

void gameFrame() {
    onDisplay();
    glFinish();
    // Nothing may fall in battle while it is measured; elsewhere this does nothing.
    perframe::keepBattleAlive();
}

void measure(benchmark::State& state, const std::string& screen, void (*frame)()) {
    for (int i = 0; i < kWarmUpFrames; ++i) {
        frame();
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        frame();
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    const double msPerFrame = elapsed.count() / static_cast<double>(state.iterations());
    record(screen, msPerFrame);
    state.counters["ms_per_frame"] = msPerFrame;
    if (bareMs() > 0) {
        state.counters["vs_bare"] = msPerFrame / bareMs();
    }
}

void BM_BareFrame(benchmark::State& state) {
    perframe::restoreStartState();
    measure(state, "bare", bareFrame);
}

void BM_TitleFrame(benchmark::State& state) {
    perframe::restoreStartState();
    perframe::showTitle();
    measure(state, "title", gameFrame);
}

void BM_MapFrame(benchmark::State& state) {
    static bool inPlay = false;
    perframe::restoreStartState();
    if (!inPlay) {
        perframe::showMapInPlay();
        inPlay = true;
    }
    Model::getSelf()->screen = MapScreen;
    measure(state, "map", gameFrame);
}

void BM_BattleFrame(benchmark::State& state) {
    perframe::restoreStartState();
    if (Model::getSelf()->battle == nullptr) {
        perframe::showBattle();
    }
    measure(state, "battle", gameFrame);
}

void BM_EndFrame(benchmark::State& state) {
    perframe::restoreStartState();
    perframe::showEnd();
    measure(state, "end", gameFrame);
}

// Fixed frame counts, so that every screen is measured over the same number of
// frames; wall time, because the rasteriser works in threads of its own.
void asFrames(benchmark::internal::Benchmark* b) {
    b->Iterations(kFramesPerRun)->Repetitions(kRuns)->UseRealTime()->Unit(
        benchmark::kMillisecond);
}

BENCHMARK(BM_BareFrame)->Apply(asFrames);
BENCHMARK(BM_TitleFrame)->Apply(asFrames);
BENCHMARK(BM_MapFrame)->Apply(asFrames);
BENCHMARK(BM_BattleFrame)->Apply(asFrames);
BENCHMARK(BM_EndFrame)->Apply(asFrames);

void openWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    glutCreateWindow("Karvossa!");
    glutDisplayFunc([] {});
    // Let the window be mapped before anything is drawn into it.
    for (int i = 0; i < 10; ++i) {
        glutMainLoopEvent();
    }
    initGlState();
}

void describeWindow() {
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    benchmark::AddCustomContext("gl_renderer",
                                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    benchmark::AddCustomContext("window", std::to_string(width) + "x" + std::to_string(height) +
                                              ", " + std::to_string(samples) + " samples");
}

void printSummary() {
    const double bare = bareMs();
    std::printf("\n%-8s %12s %10s  %s\n", "screen", "ms/frame", "x bare", "target");
    for (const std::string& screen : screenOrder) {
        const double ms = median(timings[screen]);
        if (bare <= 0) {
            std::printf("%-8s %12.3f %10s  %s\n", screen.c_str(), ms, "-", "no bare frame run");
            continue;
        }
        const double ratio = ms / bare;
        std::printf("%-8s %12.3f %10.2f  %s\n", screen.c_str(), ms, ratio,
                    ratio <= kTargetRatio ? "within 1.5x" : "OVER 1.5x");
    }
    std::printf("(median of %d runs of %d frames each, after %d warm-up frames)\n", kRuns,
                kFramesPerRun, kWarmUpFrames);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    openWindow(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    perframe::buildWorld(width, height);
    describeWindow();
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
