#include "record/RecordDecoder.h"

#include <cstring>

#include "game/RulesVersion.h"
#include "record/RecordCheck.h"

namespace {

std::string at(std::size_t byte) {
    return " at byte " + std::to_string(byte);
}

}  // namespace

RecordCodec::Decoded RecordDecoder::read() {
    readHeader();
    while (failure_.empty() && in_.at() < in_.size() && !cutOff_) {
        readEntry();
    }
    RecordCodec::Decoded decoded;
    decoded.ok = failure_.empty();
    decoded.error = failure_;
    if (cutOff_ && decoded.ok) {
        decoded.note = "its last entry was cut off and is dropped";
    }
    record_.cutOff = cutOff_;
    decoded.record = std::move(record_);
    return decoded;
}

// The magic and the versions, which say how the rest is read.
bool RecordDecoder::readVersions(std::uint64_t& rules) {
    const std::uint8_t* magic = nullptr;
    if (!in_.span(sizeof RecordCodec::kMagic, magic) ||
        std::memcmp(magic, RecordCodec::kMagic, sizeof RecordCodec::kMagic) != 0) {
        fail("not a game record");
        return false;
    }
    std::uint64_t format = 0;
    if (!in_.fixed(1, format)) {
        failHeader();
        return false;
    }
    if (format != RecordCodec::kFormatVersion && format != RecordCodec::kUnruledFormat) {
        fail("a record of format version " + std::to_string(format) +
             ", and this program reads versions " + std::to_string(RecordCodec::kUnruledFormat) +
             " and " + std::to_string(RecordCodec::kFormatVersion));
        return false;
    }
    rules = RecordCodec::kUnruledFormatRules;
    if (format != RecordCodec::kUnruledFormat && !in_.fixed(2, rules)) {
        failHeader();
        return false;
    }
    return true;
}

void RecordDecoder::readHeader() {
    std::uint64_t rules = 0;
    if (!readVersions(rules)) {
        return;
    }
    RecordHeader& header = record_.header;
    const std::size_t lengthAt = in_.at();
    std::uint64_t seed = 0;
    std::uint64_t sides = 0;
    if (!in_.text(RecordCodec::kMaxVersionLength, header.gameVersion) || !in_.fixed(4, seed) ||
        !in_.fixed(1, sides) || !in_.fixed(8, header.startTime) || !check(0)) {
        if (in_.ranOut()) {
            failHeader();
        }
        fail("corrupted" + at(lengthAt));  // a version too long, unless the check said first
        return;
    }
    // Told only once the check holds: a changed byte is a corruption.
    if (rules != kRulesVersion) {
        fail("a game of rules version " + std::to_string(rules) +
             ", and this program plays rules version " + std::to_string(kRulesVersion));
        return;
    }
    if (sides > 3) {
        fail("corrupted" + at(0));
        return;
    }
    header.seed = static_cast<std::uint32_t>(seed);
    for (int side = 0; side < kPlayerCount; ++side) {
        header.computer[side] = (sides >> side & 1u) != 0;
    }
    record_.completeBytes = in_.at();
    record_.checkState = state_;
}

void RecordDecoder::readEntry() {
    const std::size_t start = in_.at();
    if (finished_) {
        fail("entries after the end of the game" + at(start));
        return;
    }
    std::uint64_t tag = 0;
    std::int64_t difference = 0;
    RecordEntry entry;
    if (in_.fixed(1, tag) && in_.signedVarint(difference)) {
        readBody(CommandCodec::untag(static_cast<std::uint8_t>(tag)), entry);
    }
    if (in_.lost()) {
        cutOff_ = in_.ranOut();
        if (!cutOff_) {
            fail("corrupted" + at(start));
        }
        return;
    }
    if (!check(start)) {
        cutOff_ = in_.ranOut();
        return;
    }
    if (!in_.sound()) {
        fail(in_.problem() + at(start));
        return;
    }
    if (!takeTick(start, difference, entry)) {
        return;
    }
    finished_ = entry.kind == RecordEntry::Kind::Finished;
    record_.entries.push_back(entry);
    record_.completeBytes = in_.at();
    record_.checkState = state_;
}

void RecordDecoder::readBody(const CommandCodec::Tag& tag, RecordEntry& entry) {
    const bool plain = tag.side == 0 && tag.detail == 0;
    back_ = 0;
    switch (tag.kind) {
        case RecordCodec::kHashTag:
            entry.kind = RecordEntry::Kind::Hash;
            in_.fixed(4, entry.hash);
            return expect(plain);
        case RecordCodec::kDesyncTag:
            entry.kind = RecordEntry::Kind::Desync;
            in_.varint(back_);
            return expect(plain);
        case RecordCodec::kFinishedTag:
            entry.kind = RecordEntry::Kind::Finished;
            entry.loser = tag.detail;
            return expect(tag.side == 0 && tag.detail < kPlayerCount);
        default:
            CommandCodec::readBody(in_, tag, entry.command);
    }
}

// True when the check holds; a file cut inside the check lost the entry.
bool RecordDecoder::check(std::size_t from) {
    const std::size_t end = in_.at();
    std::uint64_t stored = 0;
    if (!in_.fixed(RecordCheck::kBytes, stored)) {
        return false;
    }
    state_ = RecordCheck::over(state_, in_.data() + from, end - from);
    if (stored != RecordCheck::stored(state_)) {
        fail("corrupted" + at(from));
        return false;
    }
    state_ = RecordCheck::over(state_, in_.data() + end, RecordCheck::kBytes);
    return true;
}

bool RecordDecoder::takeTick(std::size_t start, std::int64_t difference, RecordEntry& entry) {
    if (difference < 0 || static_cast<std::uint64_t>(difference) > UINT64_MAX - tick_) {
        fail("the ticks go backwards" + at(start));
        return false;
    }
    tick_ += static_cast<std::uint64_t>(difference);
    entry.tick = tick_;
    if (entry.kind == RecordEntry::Kind::Desync && back_ > tick_) {
        fail("a mismatch before the game's start" + at(start));
        return false;
    }
    entry.mismatchTick = entry.kind == RecordEntry::Kind::Desync ? tick_ - back_ : 0;
    return true;
}

void RecordDecoder::expect(bool wellFormed) {
    if (!wellFormed) {
        in_.refuse("an unknown entry");
    }
}

void RecordDecoder::fail(const std::string& why) {
    if (failure_.empty()) {
        failure_ = why;
    }
}

// Whatever was wrong inside the header, the file never was a record.
void RecordDecoder::failHeader() {
    fail("not a game record (too short)");
}
