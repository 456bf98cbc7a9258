#include "app/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// GLUT's own options and whether each takes a value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
    {"-iconic", false}, {"-gldebug", false}, {"-sync", false}};

const GlutOption* glutOption(const char* argument) {
    for (const GlutOption& option : kGlutOptions) {
        if (std::strcmp(argument, option.name) == 0) {
            return &option;
        }
    }
    return nullptr;
}

// A whole decimal number from 0 to max, nothing before or after it.
bool readNumber(const char* text, unsigned long max, unsigned long* value) {
    if (text == nullptr || *text < '0' || *text > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    *value = std::strtoul(text, &end, 10);
    return errno == 0 && *end == '\0' && *value <= max;
}

// Reads the command line one argument at a time; the first mistake ends it.
class Reader {
public:
    Reader(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

    CommandLine read() {
        for (next_ = 1; next_ < argc_ && result_.request != CommandLine::Request::Mistake;) {
            take(argv_[next_++]);
        }
        checkRecordedGame();
        checkNetwork();
        return result_;
    }

private:
    void take(const char* argument) {
        if (const GlutOption* option = glutOption(argument)) {
            next_ += option->takesValue ? 1 : 0;
            return;
        }
        std::string name = argument;
        const char* value = nullptr;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = argument + equals + 1;
            name.resize(equals);
        }
        if (name == "--help" || name == "--version") {
            setRequest(name == "--help" ? CommandLine::Request::Help
                                        : CommandLine::Request::Version);
        } else if (name == "--windowed") {
            result_.windowed = true;
        } else if (name == "--computer") {
            takeComputer(valueOf(name, value));
        } else if (name == "--seed") {
            takeSeed(valueOf(name, value));
        } else if (name == "--no-record") {
            result_.record = false;
        } else if (name == "--continue") {
            takeGame(CommandLine::Game::Continue, name, "");
        } else if (name == "--resume" || name == "--replay" || name == "--verify") {
            const CommandLine::Game game = name == "--resume"   ? CommandLine::Game::Resume
                                           : name == "--replay" ? CommandLine::Game::Replay
                                                                : CommandLine::Game::Verify;
            const char* file = valueOf(name, value);
            takeGame(game, name, file == nullptr ? "" : file);
        } else if (name == "--host") {
            takeNetwork(CommandLine::Network::Host);
        } else if (name == "--join") {
            takeJoin(valueOf(name, value));
        } else if (name == "--port") {
            takePort(valueOf(name, value));
        } else if (name == "--mute") {
            result_.muted = true;
        } else if (name == "--volume") {
            takeVolume(valueOf(name, value));
        } else {
            fail("unknown option '" + std::string(argument) + "'");
        }
    }

    const char* valueOf(const std::string& name, const char* inlineValue) {
        if (inlineValue != nullptr) {
            return inlineValue;
        }
        if (next_ < argc_) {
            return argv_[next_++];
        }
        fail(name + " needs a value");
        return nullptr;
    }

    void takeComputer(const char* value) {
        unsigned long side = 0;
        if (value != nullptr && readNumber(value, kPlayerCount - 1, &side)) {
            result_.computer[side] = true;
        } else if (value != nullptr) {
            fail("--computer takes 0 or 1, not '" + std::string(value) + "'");
        }
    }

    void takeSeed(const char* value) {
        unsigned long seed = 0;
        if (value != nullptr && readNumber(value, UINT32_MAX, &seed)) {
            result_.seeded = true;
            result_.seed = static_cast<std::uint32_t>(seed);
        } else if (value != nullptr) {
            fail("--seed takes a whole number from 0 to 4294967295, not '" + std::string(value) +
                 "'");
        }
    }

    void takeGame(CommandLine::Game game, const std::string& name, const std::string& file) {
        if (result_.game != CommandLine::Game::New) {
            fail(name + " cannot be given with " + gameOption_);
            return;
        }
        if (file.empty() && game != CommandLine::Game::Continue) {
            fail(name + " needs a file");
            return;
        }
        result_.game = game;
        result_.file = file;
        gameOption_ = name;
    }

    // A recorded game brings its own seed and sides.
    void checkRecordedGame() {
        if (result_.request != CommandLine::Request::Play ||
            result_.game == CommandLine::Game::New) {
            return;
        }
        if (result_.seeded || result_.computer[0] || result_.computer[1]) {
            fail(gameOption_ + " plays the recorded game: its seed and sides come from the record");
        }
    }

    void takeNetwork(CommandLine::Network network) {
        if (result_.network != CommandLine::Network::None) {
            fail("--host and --join cannot be given together, nor either twice");
            return;
        }
        result_.network = network;
    }

    // ADDRESS or ADDRESS:PORT; an IPv4 address or a host name has no colon.
    void takeJoin(const char* value) {
        if (value == nullptr) {
            return;
        }
        takeNetwork(CommandLine::Network::Join);
        std::string address = value;
        const std::size_t colon = address.rfind(':');
        if (colon != std::string::npos) {
            if (!readPort(address.c_str() + colon + 1, "--join ADDRESS:PORT")) {
                return;
            }
            address.resize(colon);
        }
        if (address.empty()) {
            fail("--join needs the host's name or address");
            return;
        }
        result_.address = address;
    }

    void takePort(const char* value) {
        if (value != nullptr && readPort(value, "--port")) {
            portGiven_ = true;
        }
    }

    bool readPort(const char* value, const std::string& what) {
        unsigned long port = 0;
        if (!readNumber(value, UINT16_MAX, &port) || port == 0) {
            fail(what + " takes a port from 1 to 65535, not '" + std::string(value) + "'");
            return false;
        }
        result_.port = static_cast<std::uint16_t>(port);
        return true;
    }

    // Each machine plays its own side; the host brings the seed and any record.
    void checkNetwork() {
        const CommandLine::Network network = result_.network;
        if (result_.request != CommandLine::Request::Play) {
            return;
        }
        if (network == CommandLine::Network::None) {
            if (portGiven_) {
                fail("--port is for --host or --join");
            }
            return;
        }
        const bool host = network == CommandLine::Network::Host;
        if (result_.computer[host ? 1 : 0]) {
            fail(host ? "--computer 1 is the joining machine's side; the host plays player 0"
                      : "--computer 0 is the host's side; the joining machine plays player 1");
        } else if (!host && (result_.game != CommandLine::Game::New || result_.seeded)) {
            fail("--join plays the host's game: its seed and any record come from the host");
        } else if (host && (result_.game == CommandLine::Game::Replay ||
                            result_.game == CommandLine::Game::Verify)) {
            fail(gameOption_ + " cannot be given with --host");
        }
    }

    void takeVolume(const char* value) {
        unsigned long volume = 0;
        if (value != nullptr && readNumber(value, kLoudestVolume, &volume)) {
            result_.volume = static_cast<int>(volume);
        } else if (value != nullptr) {
            fail("--volume takes a whole number from 0 to 100, not '" + std::string(value) + "'");
        }
    }

    // Help wins over the version, and both over playing.
    void setRequest(CommandLine::Request request) {
        if (result_.request != CommandLine::Request::Help) {
            result_.request = request;
        }
    }

    void fail(const std::string& mistake) {
        result_.request = CommandLine::Request::Mistake;
        result_.mistake = mistake;
    }

    int argc_;
    const char* const* argv_;
    int next_ = 1;
    std::string gameOption_;  // the option that chose a recorded game
    bool portGiven_ = false;
    CommandLine result_;
};

}  // namespace

CommandLine CommandLine::parse(int argc, const char* const* argv) {
    return Reader(argc, argv).read();
}

const std::string& CommandLine::usage() {
    static const std::string text =
        std::string() +
        "Usage: karvossa [--computer N]... [--seed N] [--windowed] [--no-record] [--mute]\n"
        "                [--volume N]\n"
        "       karvossa --continue | --resume FILE | --replay FILE | --verify FILE\n"
        "       karvossa --host [--port N] [--computer 0] [--seed N | --continue | --resume "
        "FILE]\n"
        "       karvossa --join ADDRESS[:PORT] [--port N] [--computer 1]\n"
        "  --computer N    the program plays player N (0 or 1); given for both players,\n"
        "                  the program plays against itself\n"
        "  --seed N        grow the map and take every random draw from seed N\n"
        "                  (0 to 4294967295), so that the same seed gives the same game\n"
        "  --windowed      play in a 1280x720 window instead of full screen\n"
        "  --no-record     keep no record of the game\n"
        "  --mute          start without sound (m switches it on and off)\n"
        "  --volume N      loudness of the sound, 0 to 100 (" +
        std::to_string(kDefaultVolume) +
        " unless given)\n"
        "  --continue      go on with the last game that did not end\n"
        "  --resume FILE   go on with the game recorded in FILE\n"
        "  --replay FILE   show the recorded game (space pauses, f is four times as fast)\n"
        "  --verify FILE   play the record through without a display and check it\n"
        "  --host          open a game that one other machine joins over the network;\n"
        "                  this machine plays player 0 and picks the seed\n"
        "  --join ADDRESS  join the game of the host at ADDRESS (a name or IPv4\n"
        "                  address, :PORT after it optional) and play player 1\n"
        "  --port N        the host's UDP port (" +
        std::to_string(kDefaultPort) +
        " unless given)\n"
        "  --help          show this help and exit\n"
        "  --version       show the version and exit\n"
        "Games are recorded in $XDG_DATA_HOME/karvossa/games (~/.local/share/karvossa/games).\n"
        "GLUT's own options, such as -display NAME, are passed on to GLUT.\n";
    return text;
}
