#include "support/RecordedGames.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/Model.h"
#include "game/Tick.h"
#include "record/GameFiles.h"
#include "record/RecordCheck.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "record/Replay.h"
#include "support/World.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "karvossa-records-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string recordComputerGame(const std::string& folder, std::uint32_t seed, long ticks,
                               int turnCap) {
    Model::resetSelf();
    Model* model = buildWorld(seed);
    RecordHeader header;
    header.seed = seed;
    header.computer[0] = header.computer[1] = true;
    Recorder recorder(folder, header);
    model->observers.push_back(&recorder);
    model->addComputer(0);
    model->addComputer(1);
    for (long i = 0; i < ticks && model->screen != EndScreen && model->turn < turnCap; ++i) {
        runTick();
    }
    model->observers.clear();
    return recorder.path();
}

void resumeComputerGame(const std::string& path, long ticks) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    const Record record = RecordCodec::decode(bytes.data(), bytes.size()).record;
    Model::resetSelf();
    Replay::headless(record);
    Model* model = Model::getSelf();
    Recorder recorder(path, record);
    model->observers.push_back(&recorder);
    model->addComputer(0);
    model->addComputer(1);
    for (long i = 0; i < ticks && model->screen != EndScreen; ++i) {
        runTick();
    }
    model->observers.clear();
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> encodeRecord(std::uint32_t seed,
                                       const std::vector<RecordEntry>& entries) {
    RecordHeader header;
    header.seed = seed;
    std::vector<std::uint8_t> bytes;
    std::uint32_t state = 0;
    RecordCodec::encodeHeader(header, bytes, state);
    std::uint64_t tick = 0;
    for (const RecordEntry& entry : entries) {
        RecordCodec::encodeEntry(entry, tick, bytes, state);
        tick = entry.tick;
    }
    return bytes;
}

RecordEntry commandEntry(std::uint64_t tick, CommandKind kind, int side) {
    RecordEntry entry;
    entry.tick = tick;
    entry.command.kind = kind;
    entry.command.side = side;
    return entry;
}

std::vector<std::uint8_t> headerUnderRules(int rulesVersion) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t state = 0;
    RecordCodec::encodeHeader(RecordHeader(), bytes, state);
    constexpr std::size_t kRulesAt = sizeof RecordCodec::kMagic + 1;
    bytes[kRulesAt] = static_cast<std::uint8_t>(rulesVersion);
    bytes[kRulesAt + 1] = static_cast<std::uint8_t>(rulesVersion >> 8);
    bytes.resize(bytes.size() - RecordCheck::kBytes);
    state = 0;
    RecordCheck::close(bytes, 0, state);
    return bytes;
}
