#pragma once
// What the player asked for on the command line. It is read before GLUT sees
// the arguments, so that help, the version and mistakes are answered without
// a display; GLUT's own options (-display, -geometry, ...) are stepped over
// and left for glutInit.
#include <cstdint>
#include <string>

#include "game/Model.h"
#include "net/Link.h"
#include "sound/SoundBank.h"

struct CommandLine {
    enum class Request { Play, Help, Version, Mistake };

    static CommandLine parse(int argc, const char* const* argv);
    static const std::string& usage();

    // Which game is played: a new one, or one kept in a record.
    enum class Game { New, Continue, Resume, Replay, Verify };

    // Whether the game is played with another machine, and as which.
    enum class Network { None, Host, Join };

    Request request = Request::Play;
    Game game = Game::New;
    std::string file;                  // the record, for Resume, Replay and Verify
    bool record = true;                // keep a record of the game
    bool computer[kPlayerCount] = {};  // the sides the program plays
    bool seeded = false;               // seed was given
    std::uint32_t seed = 0;            // for the map and every random draw
    bool windowed = false;             // a window instead of the full screen
    bool muted = false;                // start without sound; the sound key turns it on
    int volume = kDefaultVolume;       // loudness, 0..kLoudestVolume
    Network network = Network::None;
    std::string address;                // Join: the host's name or IPv4 address
    std::uint16_t port = kDefaultPort;  // UDP, the host's
    std::string mistake;                // what was wrong, in one line, for Mistake
};
