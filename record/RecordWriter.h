#pragma once
// Appends a game's record to its file, entry by entry, each written through
// to the system at once, so that a process killed at any moment leaves every
// entry it had finished. sync() makes the file safe from a power cut too; the
// recorder asks for it at turn ends. When the file cannot be made or written,
// one warning goes to standard error and the game goes on unrecorded.
#include <cstdint>
#include <string>
#include <vector>

#include "record/Record.h"

class RecordWriter {
public:
    RecordWriter() = default;
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // A new file holding the header. When the name is taken it returns false
    // without a word, for the caller to try another.
    bool create(const std::string& path, const RecordHeader& header);
    // The existing file of `record`, cut back to its complete entries, to go on.
    bool reopen(const std::string& path, const Record& record);
    void append(const RecordEntry& entry);
    void sync();
    bool writing() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

private:
    bool writeOut();
    void giveUp(const char* what);

    int fd_ = -1;
    std::string path_;
    std::uint32_t state_ = 0;          // the running check after the last entry
    std::uint64_t lastTick_ = 0;       // the tick of the last entry
    std::vector<std::uint8_t> bytes_;  // one entry's, reused
};
