#include "record/Recorder.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <utility>

#include "game/Model.h"
#include "game/TickReport.h"
#include "record/GameFiles.h"

Recorder::Recorder(std::string folder, const RecordHeader& header)
    : folder_(std::move(folder)), header_(header) {}

Recorder::Recorder(const std::string& path, const Record& record) : header_(record.header) {
    started_ = true;
    writer_.reopen(path, record);
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
    writer_.sync();
}

void Recorder::afterTick(const TickReport& report) {
    for (const AppliedCommand& applied : report.commands()) {
        if (applied.accepted) {
            RecordEntry entry;
            entry.tick = report.tick();
            entry.command = applied.command;
            append(entry);
        }
    }
    if (!started_) {
        return;  // nothing was played yet
    }
    const Model* model = Model::getSelf();
    battleTicks_ = model->screen == BattleScreen ? battleTicks_ + 1 : 0;
    const bool turnEnded = report.has(TickEventKind::TurnEnded);
    if (turnEnded || (battleTicks_ > 0 && battleTicks_ % kBattleHashPeriod == 0)) {
        RecordEntry entry;
        entry.kind = RecordEntry::Kind::Hash;
        entry.tick = report.tick();
        entry.hash = model->stateHash() & kRecordedHashMask;
        append(entry);
    }
    if (const TickEvent* over = report.find(TickEventKind::GameOver)) {
        RecordEntry entry;
        entry.kind = RecordEntry::Kind::Finished;
        entry.tick = report.tick();
        entry.loser = over->side;
        append(entry);
    }
    // The game's end comes with its last turn's.
    if (turnEnded) {
        writer_.sync();
    }
}

void Recorder::markDesync(std::uint64_t mismatchTick) {
    const Model* model = Model::getSelf();
    RecordEntry entry;
    entry.kind = RecordEntry::Kind::Hash;
    entry.tick = model->report.tick();  // the last tick run
    entry.hash = model->stateHash() & kRecordedHashMask;
    append(entry);
    entry.kind = RecordEntry::Kind::Desync;
    entry.mismatchTick = std::min(mismatchTick, entry.tick);
    append(entry);
    writer_.sync();
}
