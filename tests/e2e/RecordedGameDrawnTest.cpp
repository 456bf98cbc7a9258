// Games that begin from a record: the program plays the record through before
// its window opens, and must then draw the map as a live game does. The record
// is of a computer game played here, handed on with people on both sides, so
// that the game stands still where the record ends.
#include <gtest/gtest.h>

#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "record/RecordCodec.h"
#include "support/BattlePlan.h"
#include "support/E2eGame.h"
#include "support/RecordedGames.h"

namespace {

constexpr std::uint32_t kSeed = 9;
constexpr long kTicks = 1200;  // some turns in, on the map screen

class RecordedGameOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        kept = recordComputerGame(data.path() + "/karvossa/games", kSeed, kTicks);
        const Model* model = Model::getSelf();
        ASSERT_EQ(model->screen, MapScreen) << "the record must end on the map";
        for (int side = 0; side < kPlayerCount; ++side) {
            for (int i = 0; i < model->players[side]->shipCount; ++i) {
                const Node* at = model->players[side]->ships[i]->location;
                ships.push_back({at->gridX, at->gridZ});
            }
        }
        // The same commands, under a header that gives the program no side.
        const std::vector<std::uint8_t> bytes = readBytes(kept);
        const Record record = RecordCodec::decode(bytes.data(), bytes.size()).record;
        writeBytes(kept, encodeRecord(kSeed, record.entries));
        Model::resetSelf();
        map = growMap(kSeed);
    }

    // A screen of its own, the pointer in its middle, and the program on it.
    ::testing::AssertionResult start(GameOnScreen& screen, const std::vector<std::string>& args) {
        if (!screen.startServer() ||
            !screen.screen().movePointer(kScreenWidth / 2, kScreenHeight / 2)) {
            return ::testing::AssertionFailure() << "no screen to play on";
        }
        return screen.startProgram(KARVOSSA_BINARY, args, {"XDG_DATA_HOME=" + data.path()});
    }

    // Once the window fills the screen, and after the key if one is given.
    void expectMapDrawn(GameOnScreen& screen, const char* key = nullptr) {
        WindowInfo window;
        ASSERT_TRUE(screen.waitForFullScreen(&window));
        ASSERT_TRUE(key == nullptr || screen.screen().pressKey(key));
        Picture picture;
        EXPECT_TRUE(screen.snapUntil(
            "map", [&](const Picture& p) { return showsDrawnMap(p, map, ships); }, kStartLimit,
            &picture));
    }

    ScratchFolder data;
    std::string kept;
    std::vector<Cell> ships;  // where the record leaves them
    GrownMap map;
    GameOnScreen game{KARVOSSA_ARTEFACTS};
};

TEST_F(RecordedGameOnScreen, AContinuedGameIsDrawn) {
    ASSERT_TRUE(start(game, {"--continue", "--mute"}));
    expectMapDrawn(game);
}

TEST_F(RecordedGameOnScreen, AReplayIsDrawnToItsEnd) {
    ASSERT_TRUE(start(game, {"--replay", kept, "--mute"}));
    expectMapDrawn(game, "f");
}

TEST_F(RecordedGameOnScreen, AJoinerThatResumesANetworkGameDrawsIt) {
    const std::string port = std::to_string(freeUdpPort());
    ASSERT_TRUE(start(game, {"--host", "--port", port, "--resume", kept, "--mute"}));
    GameOnScreen joiner{KARVOSSA_ARTEFACTS};
    ASSERT_TRUE(start(joiner, {"--join", "127.0.0.1:" + port, "--mute"}));
    expectMapDrawn(joiner);
}

}  // namespace
