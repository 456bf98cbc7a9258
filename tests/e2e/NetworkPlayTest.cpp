// Two real programs on one screen, playing one game over ENet on the loopback
// address, each with the program on its own side: their records must agree,
// and killing one must be noticed by the other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/Model.h"
#include "game/RulesVersion.h"
#include "net/EnetLink.h"
#include "net/NetCodec.h"
#include "record/RecordCodec.h"
#include "support/E2eProcess.h"
#include "support/RecordedGames.h"

namespace {

constexpr Millis kPlayTime{40000};  // at most, on a loaded machine
constexpr Millis kPlayStep{500};
constexpr std::size_t kCompared = 10;  // commands both machines must have recorded
// ENet is told to give up on a peer after 20 s of silence.
constexpr Millis kNoticeLimit{35000};

std::string textOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Record recordAt(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    return RecordCodec::decode(bytes.data(), bytes.size()).record;
}

// The one record a machine wrote in its data folder, decoded; none yet, empty.
Record recordIn(const ScratchFolder& data) {
    const std::filesystem::path games = std::filesystem::path(data.path()) / "karvossa" / "games";
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(games, missing)) {
        return recordAt(entry.path().string());
    }
    return {};
}

std::vector<RecordEntry> commandsUpTo(const Record& record, std::uint64_t tick) {
    std::vector<RecordEntry> commands;
    for (const RecordEntry& entry : record.entries) {
        if (entry.kind == RecordEntry::Kind::Command && entry.tick <= tick) {
            commands.push_back(entry);
        }
    }
    return commands;
}

// Both hold at least `least` commands up to the last tick both recorded, and
// the same ones at the same ticks.
void expectSameCommands(const Record& a, const Record& b, std::size_t least) {
    const std::uint64_t both = std::min(a.lastTick(), b.lastTick());
    const std::vector<RecordEntry> first = commandsUpTo(a, both);
    const std::vector<RecordEntry> second = commandsUpTo(b, both);
    EXPECT_GE(first.size(), least) << "too short a game to compare";
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].tick, second[i].tick) << i;
        EXPECT_TRUE(first[i].command == second[i].command) << i;
    }
}

TEST(NetworkPlay, TwoProgramsRecordTheSameGameAndTheSurvivorNoticesAKill) {
    XServer server;
    ScratchFolder hostData;
    ScratchFolder joinerData;
    ASSERT_TRUE(server.start(1280, 1024, hostData.file("xvfb.log"), Millis{10000}))
        << server.error();
    const std::string port = std::to_string(freeUdpPort());
    const auto options = [&](const ScratchFolder& data) {
        ChildOptions child;
        child.environment = {"DISPLAY=" + server.display(), "XDG_DATA_HOME=" + data.path()};
        child.outputFile = data.file("output.txt");
        return child;
    };
    ChildProcess host;
    ChildProcess joiner;
    ASSERT_TRUE(host.start({KARVOSSA_BINARY, "--host", "--port", port, "--computer", "0", "--seed",
                            "9", "--windowed", "--mute"},
                           options(hostData)));
    ASSERT_TRUE(joiner.start(
        {KARVOSSA_BINARY, "--join", "127.0.0.1:" + port, "--computer", "1", "--windowed", "--mute"},
        options(joinerData)));
    // Played until both have recorded enough to compare: a loaded machine
    // starts the programs and runs their frames more slowly.
    const auto enough = [&] {
        return commandsUpTo(recordIn(hostData), UINT64_MAX).size() >= kCompared &&
               commandsUpTo(recordIn(joinerData), UINT64_MAX).size() >= kCompared;
    };
    for (auto waited = Millis{0}; waited < kPlayTime && !enough(); waited += kPlayStep) {
        std::this_thread::sleep_for(kPlayStep);
    }
    ASSERT_FALSE(host.hasExited()) << textOf(hostData.file("output.txt"));
    ASSERT_FALSE(joiner.hasExited()) << textOf(joinerData.file("output.txt"));
    joiner.stop();
    ASSERT_TRUE(host.waitForExit(kNoticeLimit));
    EXPECT_EQ(host.exitStatus(), 1);
    const std::string told = textOf(hostData.file("output.txt"));
    EXPECT_NE(told.find("the other player is gone"), std::string::npos) << told;

    expectSameCommands(recordIn(hostData), recordIn(joinerData), kCompared);
}

// A game the host kept goes on over the network: the joiner, with no file of
// its own, plays on from the host's record and keeps a copy that grows with it.
TEST(NetworkPlay, AResumedGameGoesOnAtBothMachinesFromTheHostsRecord) {
    XServer server;
    ScratchFolder hostData;
    ScratchFolder joinerData;
    ASSERT_TRUE(server.start(1280, 1024, hostData.file("xvfb.log"), Millis{10000}))
        << server.error();
    const std::string kept = recordComputerGame(hostData.path(), 9, 1200);
    Model::resetSelf();
    const Record before = recordAt(kept);
    const std::size_t keptCommands = commandsUpTo(before, UINT64_MAX).size();
    const std::string port = std::to_string(freeUdpPort());
    ChildOptions options;
    options.environment = {"DISPLAY=" + server.display(), "XDG_DATA_HOME=" + joinerData.path()};
    ChildProcess host;
    ChildProcess joiner;
    ASSERT_TRUE(host.start(
        {KARVOSSA_BINARY, "--host", "--port", port, "--resume", kept, "--windowed", "--mute"},
        options));
    ASSERT_TRUE(joiner.start(
        {KARVOSSA_BINARY, "--join", "127.0.0.1:" + port, "--computer", "1", "--windowed", "--mute"},
        options));
    EXPECT_TRUE(
        waitUntil([&] { return recordIn(joinerData).entries.size() > before.entries.size() + 10; },
                  Millis{20000}));
    joiner.stop();
    host.stop();
    expectSameCommands(recordAt(kept), recordIn(joinerData), keptCommands + 1);
}

// What the host answers a Hello from a machine of this version and rules;
// empty when nothing came within the limit.
NetMessage answerTo(const std::string& port, const std::string& version,
                    int rules = kRulesVersion) {
    std::string why;
    std::unique_ptr<EnetLink> link = EnetLink::join("127.0.0.1", std::stoi(port), why);
    NetMessage answer;
    answer.kind = NetMessageKind::Hello;
    waitUntil(
        [&] {
            LinkEvent event;
            while (link != nullptr && link->poll(event)) {
                if (event.kind == LinkEvent::Kind::Joined) {
                    NetMessage hello;
                    hello.text = version;
                    hello.rulesVersion = rules;
                    link->send(Channel::Reliable, NetCodec::encode(hello));
                    link->flush();
                } else if (event.kind == LinkEvent::Kind::Message) {
                    answer = NetCodec::decode(event.bytes.data(), event.bytes.size()).message;
                }
            }
            return answer.kind != NetMessageKind::Hello;
        },
        Millis{10000});
    return answer;
}

TEST(NetworkPlay, TheHostRefusesAnotherVersionAndASecondJoiner) {
    XServer server;
    ScratchFolder data;
    ASSERT_TRUE(server.start(1280, 1024, data.file("xvfb.log"), Millis{10000})) << server.error();
    const std::string port = std::to_string(freeUdpPort());
    ChildOptions options;
    options.environment = {"DISPLAY=" + server.display(), "XDG_DATA_HOME=" + data.path()};
    ChildOptions hostOptions = options;
    hostOptions.outputFile = data.file("host.txt");
    ChildProcess host;
    ASSERT_TRUE(host.start({KARVOSSA_BINARY, "--host", "--port", port, "--windowed", "--mute"},
                           hostOptions));
    const NetMessage refusal = answerTo(port, "0.1");
    EXPECT_EQ(refusal.kind, NetMessageKind::Refusal);
    EXPECT_NE(refusal.text.find("version"), std::string::npos) << refusal.text;
    const NetMessage otherRules = answerTo(port, "0.1", kRulesVersion + 1);
    EXPECT_NE(otherRules.text.find("rules version " + std::to_string(kRulesVersion) + ", not " +
                                   std::to_string(kRulesVersion + 1)),
              std::string::npos)
        << otherRules.text;

    ChildProcess joiner;
    ASSERT_TRUE(joiner.start(
        {KARVOSSA_BINARY, "--join", "127.0.0.1:" + port, "--windowed", "--mute"}, options));
    ASSERT_TRUE(waitUntil(
        [&] { return textOf(data.file("host.txt")).find("playing player 0") != std::string::npos; },
        Millis{15000}));
    ChildOptions second = options;
    second.outputFile = data.file("second.txt");
    ChildProcess late;
    ASSERT_TRUE(late.start({KARVOSSA_BINARY, "--join", "127.0.0.1:" + port}, second));
    ASSERT_TRUE(late.waitForExit(Millis{15000}));
    EXPECT_EQ(late.exitStatus(), 1);
    const std::string told = textOf(data.file("second.txt"));
    EXPECT_NE(told.find("the game is already full"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_FALSE(joiner.hasExited());
}

}  // namespace
