#pragma once
// Records the game as it is played: after every tick, the commands the tick
// applied, a state hash at every turn end and every 60th tick of a battle,
// and the end of the game. The file is made with the first command, so that a
// program closed on the title leaves nothing behind.
#include <cstdint>
#include <string>

#include "game/TickObserver.h"
#include "record/Record.h"
#include "record/RecordWriter.h"

class Recorder final : public TickObserver {
public:
    static constexpr int kBattleHashPeriod = 60;  // battle ticks between hashes
    static constexpr int kNameCopies = 100;       // games begun in one second from one seed

    // A new record in `folder`, made when the first command comes.
    Recorder(std::string folder, const RecordHeader& header);
    // Goes on with an existing record, which the Model has been brought up to.
    Recorder(const std::string& path, const Record& record);

    // Writes a new record's file at once with every entry of `record`, which
    // the Model has been brought up to: a resumed network game's joiner keeps
    // its own copy of the host's record this way.
    void copy(const Record& record);
    void afterTick(const TickReport& report) override;
    // A network game stopped because the machines' states differ from tick
    // `mismatchTick` on: the record ends with this machine's state and the
    // mark, so that verifying it tells whose rules went astray.
    void markDesync(std::uint64_t mismatchTick);
    bool writing() const { return writer_.writing(); }
    const std::string& path() const { return writer_.path(); }

private:
    void append(RecordEntry entry);
    bool start();

    std::string folder_;
    RecordHeader header_;
    RecordWriter writer_;
    bool started_ = false;  // the file was made, or making it failed
    long battleTicks_ = 0;  // ticks of the battle going on
};
