#include "record/Recorder.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <utility>

#include "game/CommandQueue.h"
#include "game/Model.h"
#include "record/GameFiles.h"

Recorder::Recorder(std::string folder, const RecordHeader& header)
    : folder_(std::move(folder)), header_(header) {
    lastTurn_ = Model::getSelf()->turn;
}

Recorder::Recorder(const std::string& path, const Record& record) : header_(record.header) {
    started_ = true;
    writer_.reopen(path, record);
    const Model* model = Model::getSelf();
    lastTurn_ = model->turn;
    finished_ = model->screen == EndScreen;
}

bool Recorder::start() {
    if (started_) {
        return writer_.writing();
    }
    started_ = true;
    std::string why;
    if (!GameFiles::makeFolder(folder_, why)) {
        std::cerr << "karvossa: cannot make the folder for game records " << folder_ << ": " << why
                  << "; the game goes on unrecorded\n";
        return false;
    }
    const auto start = static_cast<std::time_t>(header_.startTime);
    for (int copy = 1; copy <= kNameCopies && !writer_.writing(); ++copy) {
        const std::string name = folder_ + "/" + GameFiles::fileName(start, header_.seed, copy);
        if (!writer_.create(name, header_) && errno != EEXIST) {
            return false;  // told already
        }
    }
    if (!writer_.writing()) {
        std::cerr << "karvossa: every name for the game's record in " << folder_
                  << " is taken; the game goes on unrecorded\n";
        return false;
    }
    GameFiles::prune(folder_);
    return true;
}

void Recorder::append(RecordEntry entry) {
    if (start()) {
        writer_.append(entry);
    }
}

void Recorder::copy(const Record& record) {
    for (const RecordEntry& entry : record.entries) {
        append(entry);
    }
    const Model* model = Model::getSelf();
    lastTurn_ = model->turn;
    finished_ = model->screen == EndScreen;
    writer_.sync();
}

void Recorder::afterTick() {
    const Model* model = Model::getSelf();
    const std::uint64_t tick = model->tick - 1;  // the tick that has just run
    for (const AppliedCommand& applied : model->commands.lastApplied()) {
        if (applied.accepted) {
            RecordEntry entry;
            entry.tick = tick;
            entry.command = applied.command;
            append(entry);
        }
    }
    if (!started_) {
        return;  // nothing was played yet
    }
    battleTicks_ = model->screen == BattleScreen ? battleTicks_ + 1 : 0;
    const bool turnEnded = model->turn != lastTurn_;
    lastTurn_ = model->turn;
    if (turnEnded || (battleTicks_ > 0 && battleTicks_ % kBattleHashPeriod == 0)) {
        RecordEntry entry;
        entry.kind = RecordEntry::Kind::Hash;
        entry.tick = tick;
        entry.hash = model->stateHash() & kRecordedHashMask;
        append(entry);
    }
    if (model->screen == EndScreen && !finished_) {
        finished_ = true;
        RecordEntry entry;
        entry.kind = RecordEntry::Kind::Finished;
        entry.tick = tick;
        entry.loser = model->loser;
        append(entry);
    }
    if (turnEnded || model->screen == EndScreen) {
        writer_.sync();
    }
}

void Recorder::markDesync(std::uint64_t mismatchTick) {
    const Model* model = Model::getSelf();
    RecordEntry entry;
    entry.kind = RecordEntry::Kind::Hash;
    entry.tick = model->tick == 0 ? 0 : model->tick - 1;
    entry.hash = model->stateHash() & kRecordedHashMask;
    append(entry);
    entry.kind = RecordEntry::Kind::Desync;
    entry.mismatchTick = std::min(mismatchTick, entry.tick);
    append(entry);
    writer_.sync();
}
