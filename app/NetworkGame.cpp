#include "app/NetworkGame.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
#include "game/RulesVersion.h"
#include "game/Tick.h"
#include "net/EnetLink.h"
#include "net/Lockstep.h"
#include "net/NetCodec.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "record/Replay.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWaitShownAfter = std::chrono::seconds(1);
constexpr auto kHandshakePoll = std::chrono::milliseconds(5);
constexpr int kTitleTicks = 2 * kTicksPerSecond;  // a computer host's title, once joined
constexpr double kMsPerTick = 1000.0 / kTicksPerSecond;
// Past half the round trip, a frame to send at one end and to take at the
// other, and a tick for a lost packet's next copy.
constexpr int kDelayMargin = 3;

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
struct Session {
    CommandLine command;
    std::uint32_t seed = 0;           // host: the game's
    const Record* resumed = nullptr;  // host: the record of a resumed game
    std::unique_ptr<EnetLink> link;
    std::unique_ptr<Lockstep> lockstep;
    std::unique_ptr<TitleLeaver> titleLeaver;
    Discard discard;
    NetMessage welcome;                  // joiner: as the host sent it
    std::optional<Record> joinedRecord;  // joiner: the host's record of a resumed game
    std::optional<Clock::time_point> blockedSince;
    bool hello = false;  // host: the joiner's computer flag has come
    bool joinerComputer = false;
    int status = 0;
} session;

bool host() {
    return session.command.network == CommandLine::Network::Host;
}

int localSide() {
    return host() ? 0 : 1;
}

void tell(const std::string& what) {
    std::cerr << "karvossa: " << what << '\n';
}

std::vector<std::uint8_t> encoded(NetMessageKind kind, const std::string& text) {
    NetMessage message;
    message.kind = kind;
    message.text = text;
    return NetCodec::encode(message);
}

int delayFor(std::uint32_t roundTripMs) {
    const int ticks = static_cast<int>(std::ceil(roundTripMs / 2.0 / kMsPerTick)) + kDelayMargin;
    return std::clamp(ticks, NetMessage::kMinInputDelay, NetMessage::kMaxInputDelay);
}

enum class Answer { Awaited, Welcome, Refused };

// The joiner's side of the handshake: Hello once connected, then the host's
// answer; Refused once the reason has been told. The host's first commands
// may overtake a Welcome that was lost and sent again; they are sent again
// too, so they can go.
Answer takeAnswer(const LinkEvent& event) {
    const NetCodec::Decoded decoded = NetCodec::decode(event.bytes.data(), event.bytes.size());
    if (!decoded.ok) {
        tell("the host sent a malformed message (" + decoded.error + ")");
        return Answer::Refused;
    }
    if (decoded.message.kind == NetMessageKind::Inputs) {
        return Answer::Awaited;
    }
    if (decoded.message.kind == NetMessageKind::Refusal) {
        tell("the host refused to play: " + decoded.message.text);
        return Answer::Refused;
    }
    if (decoded.message.kind != NetMessageKind::Welcome) {
        tell("the host sent a message out of turn");
        return Answer::Refused;
    }
    session.welcome = decoded.message;
    if (session.welcome.record.empty()) {
        return Answer::Welcome;
    }
    Record record;
    if (!RecordedGame::load("the host's record", session.welcome.record, record)) {
        return Answer::Refused;
    }
    session.joinedRecord = std::move(record);
    return Answer::Welcome;
}

bool shakeHands() {
    EnetLink& link = *session.link;
    bool joined = false;
    for (;;) {
        LinkEvent event;
        while (link.poll(event)) {
            if (event.kind == LinkEvent::Kind::Joined) {
                joined = true;
                NetMessage hello;
                hello.kind = NetMessageKind::Hello;
                hello.text = KARVOSSA_VERSION;
                hello.computer[1] = session.command.computer[1];
                link.send(Channel::Reliable, NetCodec::encode(hello));
                link.flush();
            } else if (event.kind == LinkEvent::Kind::Message) {
                const Answer answer = takeAnswer(event);
                if (answer != Answer::Awaited) {
                    return answer == Answer::Welcome;
                }
            } else {
                const std::string where =
                    session.command.address + ":" + std::to_string(session.command.port);
                tell(event.otherProtocol != 0
                         ? "the host plays another version of the network game (protocol " +
                               std::to_string(event.otherProtocol) + ")"
                     : joined ? "the host at " + where + " closed the connection"
                              : "nobody answered at " + where);
                return false;
            }
        }
        std::this_thread::sleep_for(kHandshakePoll);
    }
}

void stopGame() {
    Lockstep& lockstep = *session.lockstep;
    Recorder* recorder = RecordedGame::recorder();
    const std::string kept = recorder != nullptr && recorder->writing()
                                 ? "; the game is kept in " + recorder->path()
                                 : "";
    switch (lockstep.state()) {
        case Lockstep::State::Desynced:
            if (recorder != nullptr) {
                recorder->markDesync(lockstep.mismatchTick());
            }
            tell(lockstep.problem() + " from tick " + std::to_string(lockstep.mismatchTick()) +
                 " on, and both stop" + kept + " (--verify tells whose rules went astray)");
            break;
        case Lockstep::State::Gone:
            tell(lockstep.problem() + kept + " (--host --resume goes on with it)");
            break;
        default:
            tell(lockstep.problem() + "; the connection is closed" + kept);
            break;
    }
    session.status = 1;
    session.link.reset();
    glutLeaveMainLoop();
}

void awaitJoiner();

// The host's frames wait for the joiner until the lockstep begins.
void beforeTicks() {
    Model* model = Model::getSelf();
    if (session.lockstep == nullptr) {
        awaitJoiner();
        return;
    }
    session.lockstep->exchange();
    if (session.lockstep->state() != Lockstep::State::Playing) {
        stopGame();
        return;
    }
    const Clock::time_point now = Clock::now();
    if (tickReady()) {
        session.blockedSince.reset();
    } else if (!session.blockedSince) {
        session.blockedSince = now;
    }
    model->waitingForPeer = session.blockedSince && now - *session.blockedSince >= kWaitShownAfter;
}

void afterTicks() {
    static const bool reporting = std::getenv("KARVOSSA_NET_REPORT") != nullptr;
    static NetReport report;
    if (session.lockstep == nullptr || session.link == nullptr) {
        return;
    }
    session.lockstep->send();
    if (reporting) {
        report.afterTicks(*session.link);
    }
}

// Both machines from here on: the lockstep becomes the Model's one source of
// commands, with this machine's program player (if any) behind it.
void beginLockstep(int delay, const bool (&computer)[kPlayerCount]) {
    Model* model = Model::getSelf();
    const int side = localSide();
    session.lockstep = std::make_unique<Lockstep>(*session.link, side, delay, model->tick);
    Lockstep& lockstep = *session.lockstep;
    lockstep.attach(computer[side]);
    if (computer[side] && host() && model->screen == TitleScreen) {
        session.titleLeaver = std::make_unique<TitleLeaver>(model->tick + kTitleTicks - delay);
        lockstep.addLocalSource(session.titleLeaver.get());
    }
    model->pace.paused = false;
    model->waitingForPeer = false;
    std::cout << "karvossa: playing player " << side << " over the network, input delay " << delay
              << " ticks, round trip " << session.link->roundTrip() << " ms\n"
              << std::flush;
}

// The host's answer to a Hello: the game, or why not.
void welcome(const NetMessage& hello) {
    EnetLink& link = *session.link;
    if (hello.rulesVersion != kRulesVersion) {
        const std::string ours = std::to_string(kRulesVersion);
        const std::string theirs = std::to_string(hello.rulesVersion);
        link.send(Channel::Reliable,
                  encoded(NetMessageKind::Refusal,
                          "the host plays rules version " + ours + ", not " + theirs));
        link.flush();
        link.release();
        tell("a machine of rules version " + theirs + " was refused, this one plays " + ours +
             "; waiting for another");
        return;
    }
    if (hello.text != KARVOSSA_VERSION) {
        link.send(Channel::Reliable,
                  encoded(NetMessageKind::Refusal, "the host plays version " +
                                                       std::string(KARVOSSA_VERSION) + ", not " +
                                                       hello.text));
        link.flush();
        link.release();
        tell("a machine of version " + hello.text + " was refused; waiting for another");
        return;
    }
    const CommandLine& command = session.command;
    const Record* resumed = session.resumed;
    NetMessage answer;
    answer.kind = NetMessageKind::Welcome;
    answer.seed = session.seed;
    answer.computer[0] = resumed != nullptr ? resumed->header.computer[0] : command.computer[0];
    answer.computer[1] = hello.computer[1];
    answer.inputDelay = delayFor(link.roundTrip());
    if (resumed != nullptr) {
        answer.record = RecordCodec::encode(*resumed);
    }
    link.send(Channel::Reliable, NetCodec::encode(answer));
    link.flush();
    if (resumed == nullptr && command.record) {
        RecordedGame::record(RecordedGame::newHeader(answer.seed, answer.computer));
    }
    beginLockstep(answer.inputDelay, answer.computer);
}

// The host on its title, until a machine joins and says hello.
void awaitJoiner() {
    EnetLink& link = *session.link;
    LinkEvent event;
    while (session.lockstep == nullptr && link.poll(event)) {
        if (event.kind == LinkEvent::Kind::Gone) {
            link.release();
            continue;
        }
        if (event.kind != LinkEvent::Kind::Message) {
            continue;
        }
        const NetCodec::Decoded decoded = NetCodec::decode(event.bytes.data(), event.bytes.size());
        if (!decoded.ok || decoded.message.kind != NetMessageKind::Hello) {
            tell("a machine that joined sent " +
                 (decoded.ok ? std::string("a message out of turn") : decoded.error) +
                 "; waiting for another");
            link.release();
            continue;
        }
        welcome(decoded.message);
    }
}

}  // namespace

bool NetworkGame::open(const CommandLine& command) {
    session.command = command;
    std::string why;
    if (host()) {
        session.link = EnetLink::host(command.port, why);
        if (session.link == nullptr) {
            tell(why);
            return false;
        }
        session.link->refuseOthersWith(
            encoded(NetMessageKind::Refusal, "the game is already full"));
        std::cout << "karvossa: waiting for the other player on UDP port " << command.port << '\n'
                  << std::flush;
        return true;
    }
    session.link = EnetLink::join(command.address, command.port, why);
    if (session.link == nullptr) {
        tell(why);
        return false;
    }
    return shakeHands();
}

std::uint32_t NetworkGame::joinedSeed() {
    return session.welcome.seed;
}

const Record* NetworkGame::joinedRecord() {
    return session.joinedRecord ? &*session.joinedRecord : nullptr;
}

void NetworkGame::start(std::uint32_t seed, const Record* resumed) {
    Model* model = Model::getSelf();
    const CommandLine& command = session.command;
    session.seed = seed;
    session.resumed = resumed;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    frameWork().beforeTicks = beforeTicks;
    frameWork().afterTicks = afterTicks;
    model->inputSink = &session.discard;
    model->remote[1 - localSide()] = true;
    if (command.network == CommandLine::Network::Join) {
        if (session.joinedRecord) {
            Replay::onto(*session.joinedRecord);
        }
        if (session.joinedRecord && command.record) {
            RecordedGame::record(session.joinedRecord->header, &*session.joinedRecord);
        } else if (command.record) {
            RecordedGame::record(
                RecordedGame::newHeader(session.welcome.seed, session.welcome.computer));
        }
        beginLockstep(session.welcome.inputDelay, session.welcome.computer);
        return;
    }
    model->pace.paused = true;
    model->waitingForPeer = true;
}

int NetworkGame::status() {
    return session.status;
}
