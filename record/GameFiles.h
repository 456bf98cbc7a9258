#pragma once
// Where the records of games live: one file per game in
// $XDG_DATA_HOME/karvossa/games (~/.local/share/karvossa/games by default),
// named after the game's start time and seed, the newest 100 kept.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

class GameFiles {
public:
    static constexpr std::size_t kKept = 100;
    static constexpr const char* kExtension = ".kvr";
    static constexpr std::size_t kLargestRecord = 64u << 20;  // far beyond any game

    // The folder's path, from the environment; empty when neither
    // XDG_DATA_HOME nor HOME says where it is.
    static std::string folder();
    // Makes the folder and its parents; false with the reason when it cannot.
    static bool makeFolder(const std::string& path, std::string& why);
    // The name of a game's record; copy 2 and on tell apart games begun in the
    // same second from the same seed.
    static std::string fileName(std::time_t start, std::uint32_t seed, int copy = 1);
    // The records in the folder, oldest first by name, which is by start time.
    static std::vector<std::string> records(const std::string& path);
    // Removes the oldest records beyond the newest kKept.
    static void prune(const std::string& path);
    // The whole file, when it can be read and is not larger than a record can
    // be; otherwise nothing, with the reason.
    static std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::string& why);
    // The record last written to that did not reach the end of its game.
    static std::optional<std::string> lastUnfinished(const std::string& path);
};
