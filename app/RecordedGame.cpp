#include "app/RecordedGame.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>

#include "game/Model.h"
#include "record/GameFiles.h"
#include "record/RecordCodec.h"
#include "record/RecordPlayer.h"
#include "record/Recorder.h"
#include "record/Replay.h"

namespace {

// Live until the process ends: the Model's lists point at them.
std::unique_ptr<Recorder> gameRecorder;
std::unique_ptr<RecordPlayer> player;

void tell(const std::string& file, const std::string& what) {
    std::cerr << "karvossa: " << file << ": " << what << '\n';
}

std::optional<Record> decodeBytes(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    RecordCodec::Decoded decoded = RecordCodec::decode(bytes.data(), bytes.size());
    if (!decoded.ok) {
        tell(file, decoded.error);
        return std::nullopt;
    }
    if (!decoded.note.empty()) {
        tell(file, decoded.note);
    }
    return std::move(decoded.record);
}

// The file as a record; nothing, once the reason has been told.
std::optional<Record> decodeFile(const std::string& file) {
    std::string why;
    const std::optional<std::vector<std::uint8_t>> bytes = GameFiles::read(file, why);
    if (!bytes) {
        tell(file, why);
        return std::nullopt;
    }
    return decodeBytes(file, *bytes);
}

// Played through in a fresh Model, which is reset afterwards.
ReplayOutcome playHeadless(const Record& record) {
    Model::resetSelf();
    const ReplayOutcome outcome = Replay::headless(record);
    Model::resetSelf();
    return outcome;
}

// A record is trusted only once it has played through.
bool takeIfPlayable(const std::string& name, Record& decoded, Record& record) {
    const ReplayOutcome outcome = playHeadless(decoded);
    if (!outcome.ok) {
        tell(name, outcome.error);
        return false;
    }
    record = std::move(decoded);
    return true;
}

const char* winnerOf(const ReplayOutcome& outcome) {
    return outcome.loser == 0 ? "blue won" : "red won";
}

}  // namespace

int RecordedGame::verify(const std::string& file) {
    const std::optional<Record> record = decodeFile(file);
    if (!record) {
        return 1;
    }
    const ReplayOutcome outcome = playHeadless(*record);
    if (!outcome.ok) {
        tell(file, outcome.error);
        return 1;
    }
    std::printf("%s: verified: %d turns, %" PRIu64 " ticks, state %016" PRIx64 ", %s\n",
                file.c_str(), outcome.turns, outcome.ticks, outcome.hash,
                outcome.finished ? winnerOf(outcome) : "not finished");
    // The record's own hash at the stop held, so the other machine went astray.
    if (outcome.desynced) {
        std::printf("%s: the machines disagreed at tick %" PRIu64
                    "; this one kept to the rules, the other did not\n",
                    file.c_str(), outcome.mismatchTick);
    }
    return 0;
}

bool RecordedGame::load(const CommandLine& command, Record& record, std::string& path) {
    path = command.file;
    if (command.game == CommandLine::Game::Continue) {
        const std::optional<std::string> last = GameFiles::lastUnfinished(GameFiles::folder());
        if (!last) {
            std::cerr << "karvossa: there is no unfinished game to continue\n";
            return false;
        }
        path = *last;
    }
    std::optional<Record> decoded = decodeFile(path);
    if (!decoded) {
        return false;
    }
    if (decoded->finished() && command.game != CommandLine::Game::Replay) {
        tell(path, "the game is finished; --replay shows it");
        return false;
    }
    return takeIfPlayable(path, *decoded, record);
}

bool RecordedGame::load(const std::string& name, const std::vector<std::uint8_t>& bytes,
                        Record& record) {
    std::optional<Record> decoded = decodeBytes(name, bytes);
    return decoded && takeIfPlayable(name, *decoded, record);
}

void RecordedGame::resume(const Record& record, const std::string& path, bool keepRecording) {
    Model* model = Model::getSelf();
    Replay::onto(record);
    if (keepRecording) {
        gameRecorder = std::make_unique<Recorder>(path, record);
        model->observers.push_back(gameRecorder.get());
    }
}

void RecordedGame::show(const Record& record) {
    Model* model = Model::getSelf();
    player = std::make_unique<RecordPlayer>(record);
    model->sources.push_back(player.get());
    model->pace.replay = true;
    model->pace.endTick = record.entries.empty() ? 0 : record.lastTick() + 1;
}

void RecordedGame::record(const CommandLine& command, std::uint32_t seed) {
    if (command.record) {
        record(newHeader(seed, command.computer));
    }
}

RecordHeader RecordedGame::newHeader(std::uint32_t seed, const bool (&computer)[kPlayerCount]) {
    RecordHeader header;
    header.gameVersion = KARVOSSA_VERSION;
    header.seed = seed;
    header.startTime = static_cast<std::uint64_t>(std::time(nullptr));
    for (int side = 0; side < kPlayerCount; ++side) {
        header.computer[side] = computer[side];
    }
    return header;
}

void RecordedGame::record(const RecordHeader& header, const Record* copied) {
    gameRecorder = std::make_unique<Recorder>(GameFiles::folder(), header);
    if (copied != nullptr) {
        gameRecorder->copy(*copied);
    }
    Model::getSelf()->observers.push_back(gameRecorder.get());
}

Recorder* RecordedGame::recorder() {
    return gameRecorder.get();
}
