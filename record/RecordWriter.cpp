#include "record/RecordWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "record/RecordCodec.h"

RecordWriter::~RecordWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

// The header is written under a passing name and the file then linked to its
// own, so that a kill at any byte never leaves a record without its header.
bool RecordWriter::create(const std::string& path, const RecordHeader& header) {
    path_ = path;
    const std::string passing = path + ".part";
    ::unlink(passing.c_str());
    fd_ = ::open(passing.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        giveUp("cannot make");
        return false;
    }
    bytes_.clear();
    state_ = 0;
    RecordCodec::encodeHeader(header, bytes_, state_);
    if (!writeOut()) {
        ::unlink(passing.c_str());
        return false;
    }
    const bool linked = ::link(passing.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    ::unlink(passing.c_str());
    if (!linked) {
        ::close(fd_);
        fd_ = -1;
        errno = linkError;
        if (linkError != EEXIST) {
            giveUp("cannot make");
        }
        return false;
    }
    return true;
}

bool RecordWriter::reopen(const std::string& path, const Record& record) {
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    // A cut-off entry at the end goes, or the next one would follow garbage.
    if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(record.completeBytes)) != 0 ||
        ::lseek(fd_, 0, SEEK_END) < 0) {
        giveUp("cannot go on writing");
        return false;
    }
    state_ = record.checkState;
    lastTick_ = record.lastTick();
    return true;
}

void RecordWriter::append(const RecordEntry& entry) {
    if (fd_ < 0) {
        return;
    }
    bytes_.clear();
    RecordCodec::encodeEntry(entry, lastTick_, bytes_, state_);
    lastTick_ = entry.tick;
    writeOut();
}

void RecordWriter::sync() {
    if (fd_ >= 0 && ::fdatasync(fd_) != 0) {
        giveUp("cannot write");
    }
}

bool RecordWriter::writeOut() {
    std::size_t done = 0;
    while (done < bytes_.size()) {
        const ssize_t written = ::write(fd_, bytes_.data() + done, bytes_.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            giveUp("cannot write");
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

void RecordWriter::giveUp(const char* what) {
    std::cerr << "karvossa: " << what << " the game's record " << path_ << ": "
              << std::strerror(errno) << "; the game goes on unrecorded\n";
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = -1;
}
