#include "app/Entry.h"

#include <GL/glut.h>

#include <malloc.h>

#include <ctime>
#include <iostream>
#include <string>

#include "ai/ComputerPlayer.h"
#include "app/CommandLine.h"
#include "app/NetworkGame.h"
#include "app/RecordedGame.h"
#include "app/Screens.h"
#include "app/Window.h"
#include "app/WindowIdentity.h"
#include "game/Model.h"
#include "game/Random.h"
#include "sound/TickSounds.h"

namespace {

constexpr int kWindowedWidth = 1280;
constexpr int kWindowedHeight = 720;

// Answers what the command line asks short of a game; -1 when a game is wanted.
int answerWithoutPlaying(const CommandLine& command) {
    switch (command.request) {
        case CommandLine::Request::Help:
            std::cout << CommandLine::usage();
            return 0;
        case CommandLine::Request::Version:
            std::cout << "karvossa " << KARVOSSA_VERSION << '\n';
            return 0;
        case CommandLine::Request::Mistake:
            std::cerr << "karvossa: " << command.mistake << '\n' << CommandLine::usage();
            return 2;
        case CommandLine::Request::Play:
            break;
    }
    return -1;
}

}  // namespace

Menu* createWorld(int playerCount, int nodeCount) {
    if (nodeCount < playerCount + 1) {
        raiseFatal("LESS NODES THAN PLAYERS");
    }
    Model* model = Model::getSelf();
    model->createNodes(nodeCount);
    model->createPlayers(playerCount);
    model->createSelector();
    model->createHud();
    model->createNodeMap();
    return model->createMenu();
}

void initWindow(int* argc, char** argv, bool windowed) {
    const Model* model = Model::getSelf();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowPosition(0, 0);
    if (windowed) {
        glutInitWindowSize(kWindowedWidth, kWindowedHeight);
    } else {
        glutInitWindowSize(model->windowWidth, model->windowHeight);
    }
    glutCreateWindow("Karvossa!");
    identifyWindow();
    if (!windowed) {
        glutFullScreen();
    }
    glutSetCursor(GLUT_CURSOR_NONE);
    initGlState();
    registerCallbacks();
}

int runGuarded(int (*body)(int, char**), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::string* message) {
        std::cerr << "karvossa: " << *message << '\n';
        delete message;
        return 1;
    }
}

void tuneAllocator() {
    // The software rasteriser allocates and frees large buffers in every frame
    // in which lighting-free geometry changes colour (the battle's units); with
    // the default thresholds each frame returns them to the system and faults
    // them back in, which triples the cost of a battle frame.
    constexpr int kKeepBytes = 256 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kKeepBytes);
    mallopt(M_TRIM_THRESHOLD, kKeepBytes);
}

namespace {

// Every game has its seed in the open, so that its record can grow it again.
std::uint32_t seedOf(const CommandLine& command, const Record* resumed) {
    if (command.network == CommandLine::Network::Join) {
        return NetworkGame::joinedSeed();
    }
    if (resumed != nullptr) {
        return resumed->header.seed;
    }
    return command.seeded ? command.seed : static_cast<std::uint32_t>(std::time(nullptr));
}

// On the world just made: a replay, a network game, a resumed or a new one.
void startGame(const CommandLine& command, const Record* resumed, const std::string& path,
               std::uint32_t seed) {
    Model* model = Model::getSelf();
    if (command.game == CommandLine::Game::Replay) {
        RecordedGame::show(*resumed);
        return;
    }
    if (resumed != nullptr && command.network != CommandLine::Network::Join) {
        RecordedGame::resume(*resumed, path, command.record);
    }
    if (command.network != CommandLine::Network::None) {
        NetworkGame::start(seed, resumed);
        return;
    }
    for (int side = 0; side < kPlayerCount; ++side) {
        if (resumed != nullptr ? resumed->header.computer[side] : command.computer[side]) {
            model->addComputer(side);
        }
    }
    if (resumed == nullptr) {
        RecordedGame::record(command, seed);
    }
}

}  // namespace

int runGame(int argc, char** argv) {
    const CommandLine command = CommandLine::parse(argc, argv);
    const int answered = answerWithoutPlaying(command);
    if (answered >= 0) {
        return answered;
    }
    if (command.game == CommandLine::Game::Verify) {
        return RecordedGame::verify(command.file);
    }
    Record record;
    std::string path;
    const bool recorded = command.game != CommandLine::Game::New;
    if (recorded && !RecordedGame::load(command, record, path)) {
        return 1;
    }
    if (command.network != CommandLine::Network::None && !NetworkGame::open(command)) {
        return 1;
    }
    const Record* resumed = recorded ? &record : NetworkGame::joinedRecord();
    tuneAllocator();
    Model* model = Model::getSelf();
    const std::uint32_t seed = seedOf(command, resumed);
    Random::seed(seed);
    initWindow(&argc, argv, command.windowed);
    createWorld(model->playerCount, model->nodeCount);
    // After the window, so that a start without a display still says one thing only.
    gameSounds().sound.open(command.volume, command.muted);
    startGame(command, resumed, path, seed);
    glutMainLoop();
    return NetworkGame::status();
}
