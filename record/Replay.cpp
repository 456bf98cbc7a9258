#include "record/Replay.h"

#include <cinttypes>
#include <cstdio>

#include "game/Model.h"
#include "game/Random.h"
#include "game/Tick.h"
#include "record/RecordPlayer.h"

namespace {

const char* kCommandNames[kCommandKinds] = {"leave the title", "click",         "buy a ship",
                                            "end the turn",    "move a cursor", "send a unit"};

std::string refusal(const Command& command, std::uint64_t tick) {
    return "a command the rules refuse at tick " + std::to_string(tick) + " (player " +
           std::to_string(command.side) + ": " + kCommandNames[static_cast<int>(command.kind)] +
           ")";
}

// Runs the ticks up to the record's last; stops at the first refused command
// or differing hash.
void playThrough(const Record& record, ReplayOutcome& outcome) {
    Model* model = Model::getSelf();
    RecordPlayer player(record);
    model->sources.push_back(&player);
    std::size_t entry = 0;
    const std::uint64_t end = record.entries.empty() ? 0 : record.lastTick() + 1;
    while (outcome.error.empty() && model->tick < end) {
        runTick();
        const TickReport& report = model->report;
        const std::uint64_t tick = report.tick();
        for (const AppliedCommand& applied : report.commands()) {
            if (!applied.accepted && outcome.error.empty()) {
                outcome.error = refusal(applied.command, tick);
            }
        }
        for (; entry < record.entries.size() && record.entries[entry].tick <= tick; ++entry) {
            const RecordEntry& recorded = record.entries[entry];
            if (recorded.kind == RecordEntry::Kind::Desync) {
                outcome.desynced = true;
                outcome.mismatchTick = recorded.mismatchTick;
            }
            if (recorded.kind != RecordEntry::Kind::Hash || !outcome.error.empty()) {
                continue;
            }
            ++outcome.hashesChecked;
            if (recorded.hash != (model->stateHash() & kRecordedHashMask)) {
                outcome.error = "the state differs from the record at tick " + std::to_string(tick);
            }
        }
    }
    model->sources.pop_back();
    outcome.ok = outcome.error.empty();
    outcome.turns = model->turn;
    outcome.ticks = model->tick;
    outcome.hash = model->stateHash();
    outcome.finished = model->screen == EndScreen;
    outcome.loser = model->loser;
}

}  // namespace

ReplayOutcome Replay::headless(const Record& record) {
    Model* model = Model::getSelf();
    Random::seed(record.header.seed);
    model->createNodes(model->nodeCount);
    model->createPlayers(model->playerCount);
    model->createSelector();
    model->createNodeMap();
    return onto(record);
}

ReplayOutcome Replay::onto(const Record& record) {
    ReplayOutcome outcome;
    playThrough(record, outcome);
    return outcome;
}
