#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine parse(const std::vector<const char*>& arguments) {
    std::vector<const char*> argv{"karvossa"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return CommandLine::parse(static_cast<int>(argv.size()), argv.data());
}

using Request = CommandLine::Request;

TEST(CommandLine, ReadsEveryOptionInBothFormsAndStepsOverGlutsOwn) {
    const CommandLine none = parse({});
    EXPECT_EQ(none.request, Request::Play);
    EXPECT_FALSE(none.computer[0] || none.computer[1] || none.seeded || none.windowed ||
                 none.muted);
    EXPECT_EQ(none.volume, 70);

    const CommandLine all =
        parse({"-display", ":3", "--computer", "1", "--seed=4294967295", "-iconic", "--windowed",
               "--computer=0", "--mute", "--volume", "0"});
    EXPECT_EQ(all.request, Request::Play) << all.mistake;
    EXPECT_TRUE(all.computer[0] && all.computer[1] && all.windowed && all.seeded);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_TRUE(all.muted);
    EXPECT_EQ(all.volume, 0);
    EXPECT_EQ(parse({"--volume=100"}).volume, 100);

    const CommandLine replay = parse({"--no-record", "--replay=games/a.kvr", "--windowed"});
    EXPECT_EQ(replay.request, Request::Play) << replay.mistake;
    EXPECT_TRUE(replay.game == CommandLine::Game::Replay && replay.file == "games/a.kvr");
    EXPECT_FALSE(replay.record);
    EXPECT_EQ(parse({"--continue"}).game, CommandLine::Game::Continue);
    EXPECT_EQ(parse({"--verify", "x"}).game, CommandLine::Game::Verify);

    const CommandLine host = parse({"--host", "--port=40000", "--continue"});
    EXPECT_EQ(host.request, Request::Play) << host.mistake;
    EXPECT_TRUE(host.network == CommandLine::Network::Host && host.port == 40000);
    const CommandLine join = parse({"--join", "game.example:123", "--computer=1"});
    EXPECT_TRUE(join.network == CommandLine::Network::Join && join.address == "game.example");
    EXPECT_EQ(join.port, 123);
    EXPECT_EQ(parse({"--join=10.0.0.2"}).port, 29500);

    EXPECT_EQ(parse({"--version"}).request, Request::Version);
    EXPECT_EQ(parse({"--version", "--help", "--version"}).request, Request::Help);
}

TEST(CommandLine, AnUnknownOptionOrABadValueIsAMistakeNamedInOneLine) {
    for (const auto& arguments : {std::vector<const char*>{"--computer", "2"},
                                  {"--computer", "x"},
                                  {"--computer"},
                                  {"--computer="},
                                  {"--seed", "-1"},
                                  {"--seed", "4294967296"},
                                  {"--seed", "12abc"},
                                  {"--seed", " 5"},
                                  {"--volume", "101"},
                                  {"--volume", "-1"},
                                  {"--volume"},
                                  {"--help", "--fullscreen"},
                                  {"seed"},
                                  {"-w"},
                                  {"--resume"},
                                  {"--verify="},
                                  {"--continue", "--replay", "a.kvr"},
                                  {"--resume", "a.kvr", "--seed", "3"},
                                  {"--computer", "1", "--continue"},
                                  {"--host", "--join", "a"},
                                  {"--host", "--computer", "1"},
                                  {"--join", "a", "--computer", "0"},
                                  {"--join", "a", "--seed", "3"},
                                  {"--join", "a", "--resume", "b.kvr"},
                                  {"--host", "--replay", "b.kvr"},
                                  {"--join", ":5"},
                                  {"--join", "a:0"},
                                  {"--join", "a:65536"},
                                  {"--port", "5"},
                                  {"--host", "--port", "x"}}) {
        const CommandLine command = parse(arguments);
        EXPECT_EQ(command.request, Request::Mistake) << arguments[0];
        EXPECT_FALSE(command.mistake.empty());
        EXPECT_EQ(command.mistake.find('\n'), std::string::npos);
    }
}

}  // namespace
