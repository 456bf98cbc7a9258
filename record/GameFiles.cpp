#include "record/GameFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "record/RecordCodec.h"

namespace fs = std::filesystem;

namespace {

bool isRecordName(const fs::path& path) {
    return path.extension() == GameFiles::kExtension;
}

}  // namespace

std::string GameFiles::folder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    // XDG_DATA_HOME counts only when it is an absolute path.
    if (data != nullptr && data[0] == '/') {
        return std::string(data) + "/karvossa/games";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return "";
    }
    return std::string(home) + "/.local/share/karvossa/games";
}

bool GameFiles::makeFolder(const std::string& path, std::string& why) {
    if (path.empty()) {
        why = "neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    std::error_code error;
    fs::create_directories(path, error);
    if (error || !fs::is_directory(path, error)) {
        why = error ? error.message() : "not a folder";
        return false;
    }
    return true;
}

std::string GameFiles::fileName(std::time_t start, std::uint32_t seed, int copy) {
    std::tm local{};
    localtime_r(&start, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d-%H%M%S", &local);
    const std::string copied = copy > 1 ? "-" + std::to_string(copy) : "";
    return std::string(when) + "-seed-" + std::to_string(seed) + copied + kExtension;
}

std::vector<std::string> GameFiles::records(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && isRecordName(it->path())) {
            names.push_back(it->path().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

void GameFiles::prune(const std::string& path) {
    const std::vector<std::string> names = records(path);
    for (std::size_t i = 0; i + kKept < names.size(); ++i) {
        std::error_code ignored;
        fs::remove(names[i], ignored);
    }
}

std::optional<std::vector<std::uint8_t>> GameFiles::read(const std::string& path,
                                                         std::string& why) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        why = "is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kLargestRecord) {
            why = "too large to be a game record";
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<std::string> GameFiles::lastUnfinished(const std::string& path) {
    std::vector<std::pair<fs::file_time_type, std::string>> byTime;
    for (const std::string& name : records(path)) {
        std::error_code error;
        const fs::file_time_type written = fs::last_write_time(name, error);
        if (!error) {
            byTime.emplace_back(written, name);
        }
    }
    std::sort(byTime.rbegin(), byTime.rend());
    for (const auto& [written, name] : byTime) {
        std::string why;
        const std::optional<std::vector<std::uint8_t>> bytes = read(name, why);
        if (!bytes) {
            continue;
        }
        const RecordCodec::Decoded decoded = RecordCodec::decode(bytes->data(), bytes->size());
        if (decoded.ok && !decoded.record.finished()) {
            return name;
        }
    }
    return std::nullopt;
}
