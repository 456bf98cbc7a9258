#include "app/NetworkGame.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "app/NetReport.h"
#include "app/RecordedGame.h"
#include "app/Screens.h"
#include "game/CommandQueue.h"
#include "game/CommandSink.h"
#include "game/Model.h"
#include "net/EnetLink.h"
#include "net/Lockstep.h"
#include "net/NetCodec.h"
#include "net/NetworkSession.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "record/Replay.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kHandshakePoll = std::chrono::milliseconds(5);
constexpr int kTitleTicks = 2 * kTicksPerSecond;  // a computer host's title, once joined

// Input given before the other machine is in would reach one machine only.
class Discard final : public CommandSink {
public:
    void submit(const Command&) override {}
};

// A host the program plays leaves the title by itself, as a key would.
class TitleLeaver final : public CommandSource {
public:
    explicit TitleLeaver(std::uint64_t at) : at_(at) {}
    void give(std::uint64_t tick, CommandQueue& queue) override {
        if (done_ || tick < at_ || Model::getSelf()->screen != TitleScreen) {
            return;
        }
        done_ = true;
        Command command;
        command.kind = CommandKind::LeaveTitle;
        command.side = 0;
        queue.push(command);
    }

private:
    std::uint64_t at_;
    bool done_ = false;
};

// Live until the process ends: the Model's lists point at them.
struct Game {
    CommandLine command;
    std::unique_ptr<EnetLink> link;
    std::unique_ptr<NetworkSession> session;
    std::unique_ptr<TitleLeaver> titleLeaver;
    Discard discard;
    std::optional<Record> joinedRecord;  // joiner: the host's record of a resumed game
    int status = 0;
} game;

bool host() {
    return game.command.network == CommandLine::Network::Host;
}

void tell(const std::string& what) {
    std::cerr << "karvossa: " << what << '\n';
}

void tellNotices() {
    for (const std::string& notice : game.session->takeNotices()) {
        tell(notice);
    }
}

// The joiner's side of the greeting, before its window opens: false once
// the reason has been told.
bool shakeHands() {
    NetworkSession& session = *game.session;
    while (session.state() == NetworkSession::State::Connecting ||
           session.state() == NetworkSession::State::Greeting) {
        std::this_thread::sleep_for(kHandshakePoll);
        session.step(Clock::now());
    }
    if (session.state() != NetworkSession::State::Ready) {
        tell(session.problem());
        return false;
    }
    const std::vector<std::uint8_t>& bytes = session.agreed().record;
    if (bytes.empty()) {
        return true;
    }
    Record record;
    if (!RecordedGame::load("the host's record", bytes, record)) {
        return false;
    }
    game.joinedRecord = std::move(record);
    return true;
}

void stopGame() {
    const NetworkSession& session = *game.session;
    const Lockstep* lockstep = session.lockstep();
    Recorder* recorder = RecordedGame::recorder();
    const std::string kept = recorder != nullptr && recorder->writing()
                                 ? "; the game is kept in " + recorder->path()
                                 : "";
    if (session.state() == NetworkSession::State::Dropped) {
        tell(session.problem() + kept + " (--host --resume goes on with it)");
    } else if (lockstep != nullptr && lockstep->state() == Lockstep::State::Desynced) {
        if (recorder != nullptr) {
            recorder->markDesync(lockstep->mismatchTick());
        }
        tell(session.problem() + " from tick " + std::to_string(lockstep->mismatchTick()) +
             " on, and both stop" + kept + " (--verify tells whose rules went astray)");
    } else {
        tell(session.problem() + "; the connection is closed" + kept);
    }
    game.status = 1;
    // The other machine hears of it now, after whatever was queued for it.
    game.link->release();
    game.link->flush();
    glutLeaveMainLoop();
}

// Both machines from here on: the lockstep becomes the Model's one source of
// commands, with this machine's program player (if any) behind it.
void beginLockstep() {
    Model* model = Model::getSelf();
    NetworkSession& session = *game.session;
    session.begin(model->tick);
    const NetMessage& agreed = session.agreed();
    const int side = session.localSide();
    if (agreed.computer[side] && host() && model->screen == TitleScreen) {
        game.titleLeaver =
            std::make_unique<TitleLeaver>(model->tick + kTitleTicks - agreed.inputDelay);
        session.lockstep()->addLocalSource(game.titleLeaver.get());
    }
    model->pace.paused = false;
    std::cout << "karvossa: playing player " << side << " over the network, input delay "
              << agreed.inputDelay << " ticks, round trip " << game.link->roundTrip() << " ms\n"
              << std::flush;
}

// The host records a new game once a joiner has agreed to it.
void hostBegins() {
    const NetMessage& agreed = game.session->agreed();
    if (agreed.record.empty() && game.command.record) {
        RecordedGame::record(RecordedGame::newHeader(agreed.seed, agreed.computer));
    }
    beginLockstep();
}

void beforeTicks() {
    NetworkSession& session = *game.session;
    if (game.status != 0) {
        return;  // stopped; the loop is on its way out
    }
    session.step(Clock::now());
    tellNotices();
    if (session.state() == NetworkSession::State::Ready) {
        hostBegins();
    }
    if (session.state() == NetworkSession::State::Dropped ||
        session.state() == NetworkSession::State::Ended) {
        stopGame();
        return;
    }
    Model::getSelf()->waitingForPeer = session.waitingShown();
}

void afterTicks() {
    static const bool reporting = std::getenv("KARVOSSA_NET_REPORT") != nullptr;
    static NetReport report;
    if (game.session == nullptr || game.session->state() != NetworkSession::State::Playing) {
        return;
    }
    game.session->send();
    if (reporting) {
        report.afterTicks(*game.link);
    }
}

}  // namespace

bool NetworkGame::open(const CommandLine& command) {
    game.command = command;
    std::string why;
    if (host()) {
        game.link = EnetLink::host(command.port, why);
        if (game.link == nullptr) {
            tell(why);
            return false;
        }
        NetMessage full;
        full.kind = NetMessageKind::Refusal;
        full.text = "the game is already full";
        game.link->refuseOthersWith(NetCodec::encode(full));
        std::cout << "karvossa: waiting for the other player on UDP port " << command.port << '\n'
                  << std::flush;
        return true;
    }
    game.link = EnetLink::join(command.address, command.port, why);
    if (game.link == nullptr) {
        tell(why);
        return false;
    }
    game.session = NetworkSession::join(
        *game.link, command.address + ":" + std::to_string(command.port), command.computer[1]);
    return shakeHands();
}

std::uint32_t NetworkGame::joinedSeed() {
    return game.session->agreed().seed;
}

const Record* NetworkGame::joinedRecord() {
    return game.joinedRecord ? &*game.joinedRecord : nullptr;
}

void NetworkGame::start(std::uint32_t seed, const Record* resumed) {
    Model* model = Model::getSelf();
    const CommandLine& command = game.command;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    frameWork().beforeTicks = beforeTicks;
    frameWork().afterTicks = afterTicks;
    model->inputSink = &game.discard;
    if (!host()) {
        model->remote[0] = true;
        if (game.joinedRecord) {
            Replay::onto(*game.joinedRecord);
        }
        const NetMessage& agreed = game.session->agreed();
        if (game.joinedRecord && command.record) {
            RecordedGame::record(game.joinedRecord->header, &*game.joinedRecord);
        } else if (command.record) {
            RecordedGame::record(RecordedGame::newHeader(agreed.seed, agreed.computer));
        }
        beginLockstep();
        return;
    }
    model->remote[1] = true;
    NetworkSession::Offer offer;
    offer.seed = seed;
    offer.hostComputer = resumed != nullptr ? resumed->header.computer[0] : command.computer[0];
    if (resumed != nullptr) {
        offer.record = RecordCodec::encode(*resumed);
    }
    game.session = NetworkSession::host(*game.link, std::move(offer));
    model->pace.paused = true;
    model->waitingForPeer = true;
}

int NetworkGame::status() {
    return game.status;
}
