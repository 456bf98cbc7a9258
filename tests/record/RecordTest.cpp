#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RecordedGame.h"
#include "game/Model.h"
#include "game/RulesVersion.h"
#include "game/Tick.h"
#include "record/GameFiles.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "record/Replay.h"
#include "support/RecordedGames.h"

namespace {

Record decodeFile(const std::string& path, std::string* error = nullptr) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    RecordCodec::Decoded decoded = RecordCodec::decode(bytes.data(), bytes.size());
    if (error != nullptr) {
        *error = decoded.error;
    }
    return decoded.record;
}

ReplayOutcome verifyFile(const std::string& path) {
    const Record record = decodeFile(path);
    Model::resetSelf();
    const ReplayOutcome outcome = Replay::headless(record);
    Model::resetSelf();
    return outcome;
}

class RecordTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
    ScratchFolder folder;
};

// The program against itself, recorded in a child killed at a random moment:
// whatever byte the kill fell on, the file verifies, and resumes to go on.
TEST_F(RecordTest, AGameKilledAtAnyMomentVerifiesAndResumes) {
    std::mt19937 dice(2026);
    long hashes = 0;
    for (int round = 0; round < 20; ++round) {
        const std::string games = folder.file("kill" + std::to_string(round));
        std::filesystem::create_directory(games);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            recordComputerGame(games, 300 + round, 2000000);
            _exit(0);
        }
        // From the first entry on, so that every kill falls inside the record.
        for (int waited = 0; GameFiles::records(games).empty() && waited < 10000; ++waited) {
            usleep(1000);
        }
        usleep(1000 * (dice() % 150));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::vector<std::string> files = GameFiles::records(games);
        ASSERT_EQ(files.size(), 1u) << "kill " << round;
        std::string error;
        const Record record = decodeFile(files[0], &error);
        ASSERT_EQ(error, "") << "kill " << round;
        const ReplayOutcome played = verifyFile(files[0]);
        ASSERT_TRUE(played.ok) << "kill " << round << ": " << played.error;
        hashes += played.hashesChecked;

        resumeComputerGame(files[0], 300);
        const ReplayOutcome resumed = verifyFile(files[0]);
        EXPECT_TRUE(resumed.ok) << "kill " << round << ": " << resumed.error;
        EXPECT_GE(resumed.ticks, played.ticks) << "kill " << round;
    }
    EXPECT_GT(hashes, 0) << "the kills fell before any hash was written";
}

TEST_F(RecordTest, AResumedGamesHashesContinueTheRecordedOnes) {
    const std::string path = recordComputerGame(folder.path(), 91, 3000);
    const std::string again = recordComputerGame(folder.path(), 91, 400);
    EXPECT_NE(again, path) << "a game begun in the same second from the same seed";
    EXPECT_FALSE(again.empty());
    const ReplayOutcome first = verifyFile(path);
    ASSERT_TRUE(first.ok) << first.error;
    resumeComputerGame(path, 3000);
    const ReplayOutcome both = verifyFile(path);
    ASSERT_TRUE(both.ok) << both.error;
    EXPECT_GT(both.hashesChecked, first.hashesChecked);
    EXPECT_GT(both.ticks, first.ticks + 2000);
}

// What the three ways to a recorded game answer for one file: each status,
// and everything said on standard error.
struct Answers {
    int verify = 0;
    bool resumed = false;
    bool replayed = false;
    std::string said;
};

Answers answersFor(const std::string& file) {
    Answers answers;
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    answers.verify = RecordedGame::verify(file);
    ::testing::internal::GetCapturedStdout();
    for (const CommandLine::Game game : {CommandLine::Game::Resume, CommandLine::Game::Replay}) {
        CommandLine command;
        command.game = game;
        command.file = file;
        Record record;
        std::string path;
        const bool loaded = RecordedGame::load(command, record, path);
        (game == CommandLine::Game::Resume ? answers.resumed : answers.replayed) = loaded;
    }
    answers.said = ::testing::internal::GetCapturedStderr();
    return answers;
}

TEST_F(RecordTest, BadFilesAreAnsweredInOneLineEachAndNeverTrusted) {
    const std::vector<std::uint8_t> game = readBytes(recordComputerGame(folder.path(), 5, 4000));
    Model::resetSelf();
    auto changed = [&game](std::size_t at) {
        std::vector<std::uint8_t> bytes = game;
        bytes[at] ^= 0x24;
        return bytes;
    };
    std::vector<std::uint8_t> otherFormat = game;
    otherFormat[8] = 3;
    const RecordEntry start = commandEntry(0, CommandKind::LeaveTitle, 0);
    RecordEntry farCell = commandEntry(3, CommandKind::ClickCell, 0);
    farCell.command.cellZ = 4000000;
    RecordEntry unknown = commandEntry(4, CommandKind::BuyShip, 0);
    unknown.command.kind = static_cast<CommandKind>(9);
    RecordEntry noSuchUnit = commandEntry(4, CommandKind::SendUnit, 0);
    noSuchUnit.command.unitKind = 7;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string answer;
    } cases[] = {
        {"text", {'h', 'e', 'l', 'l', 'o', '\n'}, "not a game record"},
        {"empty", {}, "not a game record"},
        {"format", otherFormat, "format version 3"},
        {"rules", headerUnderRules(kRulesVersion + 1),
         "rules version " + std::to_string(kRulesVersion + 1) +
             ", and this program plays rules version " + std::to_string(kRulesVersion)},
        {"rules byte", changed(9), "corrupted"},
        {"header", changed(12), "corrupted"},
        {"middle", changed(game.size() / 2), "corrupted"},
        {"end", changed(game.size() - 3), "corrupted"},
        {"turn", encodeRecord(5, {start, commandEntry(9, CommandKind::EndTurn, 1)}),
         "rules refuse at tick 9"},
        {"cell", encodeRecord(5, {start, farCell}), "rules refuse at tick 3"},
        {"backwards", encodeRecord(5, {commandEntry(8, CommandKind::LeaveTitle, 0), farCell}),
         "ticks go backwards"},
        {"unknown", encodeRecord(5, {start, unknown}), "unknown command"},
        {"unit", encodeRecord(5, {start, noSuchUnit}), "unknown unit kind"},
    };
    for (const auto& c : cases) {
        const std::string file = folder.file(std::string(c.name) + ".kvr");
        writeBytes(file, c.bytes);
        const Answers answers = answersFor(file);
        EXPECT_EQ(answers.verify, 1) << c.name;
        EXPECT_FALSE(answers.resumed) << c.name;
        EXPECT_FALSE(answers.replayed) << c.name;
        std::istringstream lines(answers.said);
        int count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            EXPECT_NE(line.find(file), std::string::npos) << c.name << ": " << line;
            EXPECT_NE(line.find(c.answer), std::string::npos) << c.name << ": " << line;
        }
        EXPECT_EQ(count, 3) << c.name << ": one line for each way in";
    }

    const std::string cut = folder.file("cut.kvr");
    writeBytes(cut, std::vector<std::uint8_t>(game.begin(), game.end() - 1));
    const Answers answers = answersFor(cut);
    EXPECT_EQ(answers.verify, 0) << answers.said;
    EXPECT_TRUE(answers.resumed && answers.replayed) << answers.said;
    EXPECT_NE(answers.said.find("cut off and is dropped"), std::string::npos) << answers.said;
}

// The records of every earlier program: those that decode verify by their own
// hashes, and the first format's go on in this one's entries.
TEST_F(RecordTest, EveryDecodableCorpusRecordVerifiesAndOldOnesResume) {
    const std::filesystem::path corpus =
        std::filesystem::path(__FILE__).parent_path() / "../fuzz/corpus/record";
    int verified = 0;
    for (const auto& file : std::filesystem::directory_iterator(corpus)) {
        std::string error;
        decodeFile(file.path().string(), &error);
        if (error.empty()) {
            const ReplayOutcome outcome = verifyFile(file.path().string());
            EXPECT_TRUE(outcome.ok) << file.path() << ": " << outcome.error;
            verified += outcome.ok ? 1 : 0;
        }
    }
    EXPECT_GE(verified, 50);

    const std::string old = folder.file("old.kvr");
    std::filesystem::copy_file(corpus / "seed-game-2.kvr", old);
    const ReplayOutcome before = verifyFile(old);
    resumeComputerGame(old, 2000);
    const ReplayOutcome after = verifyFile(old);
    ASSERT_TRUE(after.ok) << after.error;
    EXPECT_GT(after.hashesChecked, before.hashesChecked);
    EXPECT_EQ(readBytes(old)[8], 1) << "an old record stays in its format";
}

TEST_F(RecordTest, AnUnwritableFolderWarnsOnceAndTheGamePlaysOn) {
    const std::string blocker = folder.file("a-file");
    writeBytes(blocker, {'x'});
    ::testing::internal::CaptureStderr();
    const std::string path = recordComputerGame(blocker + "/games", 8, 3000);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(path, "");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("goes on unrecorded"), std::string::npos) << said;
    EXPECT_GT(Model::getSelf()->turn, 3) << "the game was played all the same";
}

TEST_F(RecordTest, TheFolderKeepsTheNewestHundredAndContinueSkipsFinishedGames) {
    for (int i = 0; i < 103; ++i) {
        writeBytes(folder.file(GameFiles::fileName(1000000 + i * 60, 1)), {});
    }
    GameFiles::prune(folder.path());
    const std::vector<std::string> kept = GameFiles::records(folder.path());
    ASSERT_EQ(kept.size(), GameFiles::kKept);
    EXPECT_EQ(kept.front(), folder.file(GameFiles::fileName(1000000 + 3 * 60, 1)));

    const std::string unfinished = folder.file("unfinished.kvr");
    writeBytes(unfinished, encodeRecord(3, {commandEntry(0, CommandKind::LeaveTitle, 0)}));
    RecordEntry end;
    end.kind = RecordEntry::Kind::Finished;
    const std::string finished = folder.file("later-but-finished.kvr");
    writeBytes(finished, encodeRecord(3, {commandEntry(0, CommandKind::LeaveTitle, 0), end}));
    EXPECT_EQ(GameFiles::lastUnfinished(folder.path()), unfinished);
}

}  // namespace
