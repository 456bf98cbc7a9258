// What a displayed frame of each screen costs in the window the game opens
// (1280x1024, RGBA, double-buffered, depth, multisampled), set against a bare
// frame that only clears and swaps in the same window. Each measured frame is
// playFrame(1) followed by glFinish(), so that whatever the driver queued is
// paid for inside the frame that queued it. The screens are those of a game in
// progress (tests/support/PerFrameScenes.h): the map with all its nodes, six
// ships, a selection and both arrows; a battle with 40 units a side, all in the
// fight and healed after every frame so that it never ends. Each game frame
// runs one tick before it draws, as a frame of the game does on a display that
// keeps up, so that the rules' share of a frame is paid for too.
//
// With KARVOSSA_BENCH_RECORD=1 the game is recorded as it is played, into a
// scratch folder, and every tick's recorder runs as in the game.
//
// Run under a virtual display, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_FrameCostBench
// Every run of a screen is preceded by bare frames timed the same way, and its
// ratio is taken against those: on a shared machine the load changes from one
// minute to the next, and a bare frame measured once at the start would be
// compared with screens drawn under another load. The counters give wall and
// process CPU time (the rasteriser's threads included) per frame and both
// ratios; a table at the end repeats the medians over the repetitions and
// marks every screen over 1.35 times its bare frame. The game's sound is on
// throughout, as in the game: played into /dev/null through OpenAL Soft's
// wave backend, which mixes in real time as a sound card would, unless the
// environment names a device (ALSOFT_CONF or ALSOFT_DRIVERS).
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Entry.h"
#include "app/Input.h"
#include "app/Screens.h"
#include "app/Window.h"
#include "game/Model.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "sound/TickSounds.h"
#include "support/PerFrameScenes.h"
#include "support/RecordedGames.h"
#include "support/WaveCapture.h"

namespace {

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 1024;
constexpr int kFramesPerRun = 300;
constexpr int kBareFramesPerRun = 100;  // the bare reference timed just before each run
constexpr int kWarmUpFrames = 30;  // first frames of a screen pay for the driver's shader variants
constexpr int kRuns = 3;           // repetitions; the table shows their median
constexpr double kTargetRatio = 1.35;

// Milliseconds per frame: wall time, and the CPU time of the whole process,
// which other loads on the machine disturb far less.
struct FrameCost {
    double wallMs = 0;
    double cpuMs = 0;
};

// Every repetition of a screen with the bare frames timed just before it.
struct Run {
    FrameCost screen;
    FrameCost bare;
};

std::vector<std::string> screenOrder;  // as first run
std::map<std::string, std::vector<Run>> runs;

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Times whatever runs between its construction and perFrame().
class FrameClock {
public:
    FrameClock() : cpuStart(processCpuMs()), wallStart(std::chrono::steady_clock::now()) {}

    FrameCost perFrame(double frames) const {
        const std::chrono::duration<double, std::milli> wall =
            std::chrono::steady_clock::now() - wallStart;
        return {wall.count() / frames, (processCpuMs() - cpuStart) / frames};
    }

private:
    double cpuStart;
    std::chrono::steady_clock::time_point wallStart;
};

void bareFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
}

void gameFrame() {
    playFrame(1);
    glFinish();
    // Nothing may fall in battle while it is measured; elsewhere this does nothing.
    perframe::keepBattleAlive();
}

FrameCost timeBareFrames() {
    const FrameClock clock;
    for (int i = 0; i < kBareFramesPerRun; ++i) {
        bareFrame();
    }
    return clock.perFrame(kBareFramesPerRun);
}

void measure(benchmark::State& state, const std::string& screen, void (*frame)()) {
    for (int i = 0; i < kWarmUpFrames; ++i) {
        frame();
    }
    Run run;
    run.bare = timeBareFrames();
    const FrameClock clock;
    for (auto _ : state) {
        frame();
    }
    run.screen = clock.perFrame(static_cast<double>(state.iterations()));

    if (runs.find(screen) == runs.end()) {
        screenOrder.push_back(screen);
    }
    runs[screen].push_back(run);
    state.counters["ms_per_frame"] = run.screen.wallMs;
    state.counters["bare_ms"] = run.bare.wallMs;
    state.counters["vs_bare"] = run.screen.wallMs / run.bare.wallMs;
    state.counters["cpu_ms_per_frame"] = run.screen.cpuMs;
    state.counters["cpu_vs_bare"] = run.screen.cpuMs / run.bare.cpuMs;
}

// The reference itself, measured like a screen: its ratio shows how far two
// consecutive measurements of the same frame can differ on this machine.
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
    b->Iterations(kFramesPerRun)->Repetitions(kRuns)->UseRealTime()->Unit(benchmark::kMillisecond);
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

void openSound() {
    if (std::getenv("ALSOFT_CONF") == nullptr && std::getenv("ALSOFT_DRIVERS") == nullptr) {
        WaveCapture::useWaveOutput("/dev/null");
    }
    Sound& sound = gameSounds().sound;
    if (!sound.open(kDefaultVolume, false)) {
        benchmark::AddCustomContext("sound", "off: no device");
        return;
    }
    benchmark::AddCustomContext("sound",
                                "on; effects made in " + std::to_string(sound.makingMs()) + " ms");
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median over a screen's runs of one figure of a run.
template <typename Figure>
double medianOf(const std::vector<Run>& screenRuns, Figure figure) {
    std::vector<double> values;
    for (const Run& run : screenRuns) {
        values.push_back(figure(run));
    }
    return median(values);
}

void printSummary() {
    std::printf("\n%-7s %9s %9s %7s %13s %7s  %s\n", "screen", "ms/frame", "bare ms", "x bare",
                "cpu ms/frame", "x bare", "target: wall within 1.35x bare");
    for (const std::string& screen : screenOrder) {
        const std::vector<Run>& screenRuns = runs[screen];
        const double wall = medianOf(screenRuns, [](const Run& r) { return r.screen.wallMs; });
        const double bare = medianOf(screenRuns, [](const Run& r) { return r.bare.wallMs; });
        const double ratio =
            medianOf(screenRuns, [](const Run& r) { return r.screen.wallMs / r.bare.wallMs; });
        const double cpu = medianOf(screenRuns, [](const Run& r) { return r.screen.cpuMs; });
        const double cpuRatio =
            medianOf(screenRuns, [](const Run& r) { return r.screen.cpuMs / r.bare.cpuMs; });
        std::printf("%-7s %9.2f %9.2f %7.2f %13.2f %7.2f  %s\n", screen.c_str(), wall, bare, ratio,
                    cpu, cpuRatio, ratio <= kTargetRatio ? "met" : "MISSED");
    }
    std::printf(
        "(medians of %d runs of %d frames; each run after %d warm-up frames and %d bare "
        "frames)\n",
        kRuns, kFramesPerRun, kWarmUpFrames, kBareFramesPerRun);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tuneAllocator();  // as the game does at start-up
    openWindow(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    perframe::buildWorld(width, height);
    const ScratchFolder records;
    std::unique_ptr<Recorder> recorder;
    if (const char* record = std::getenv("KARVOSSA_BENCH_RECORD"); record && record[0] == '1') {
        RecordHeader header;
        recorder = std::make_unique<Recorder>(records.path(), header);
        Model::getSelf()->observers.push_back(recorder.get());
        onKeyboard(' ', 0, 0);  // the first command makes the record's file
        playFrame(1);
    }
    benchmark::AddCustomContext("recording", recorder ? recorder->path() : "off");
    describeWindow();
    openSound();
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
