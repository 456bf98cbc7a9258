#pragma once
// The command line's ways to a recorded game: verifying a file, and loading
// one to resume or show. Every file is read through the record's decoder and
// played through headless before a window opens, so that a bad file is
// answered in one line on standard error, with status 1 and no window.
#include <string>

#include "app/CommandLine.h"
#include "record/Record.h"

class Recorder;

class RecordedGame {
public:
    // --verify: one line on standard output when the file plays through
    // with every hash as recorded (status 0), one on standard error if not (1).
    static int verify(const std::string& file);
    // --continue, --resume, --replay: the record and its file, checked;
    // false once the reason has been told.
    static bool load(const CommandLine& command, Record& record, std::string& path);
    // A record that came as bytes, named `name` in what is told, checked as
    // load() checks a file's.
    static bool load(const std::string& name, const std::vector<std::uint8_t>& bytes,
                     Record& record);
    // Brings the world the game has just created up to the record's end, to
    // go on appending to its file, unless recording is off. The caller gives
    // the program its sides again.
    static void resume(const Record& record, const std::string& path, bool keepRecording);
    // Shows the record in the window from its start; input cannot change it.
    static void show(const Record& record);
    // Records a new game, unless recording is off.
    static void record(const CommandLine& command, std::uint32_t seed);
    // The header of a new game's record, begun now.
    static RecordHeader newHeader(std::uint32_t seed, const bool (&computer)[kPlayerCount]);
    // Records a game with this header in a new file, holding `copied`'s
    // entries first when given.
    static void record(const RecordHeader& header, const Record* copied = nullptr);
    // The game's recorder; null when nothing is recorded.
    static Recorder* recorder();
};
