// What the game plays, read back from OpenAL Soft's wave backend: each event
// is heard within 100 ms of its tick, in silence before it, and battle sounds
// come from the side of their lane. The mixer runs in real time, so the tests
// wait between events for one sound to end before the next.
#include "sound/TickSounds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/Input.h"
#include "app/Keys.h"
#include "app/Screens.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "support/HandMap.h"
#include "support/WaveCapture.h"

namespace {

constexpr int kAudible = 500;  // of 32767: far above rounding, far below every effect
constexpr double kPromptMs = 100;

class TickSoundsTest : public HandMapTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaveCapture::useWaveOutput(file));
        build({{0, 0}, {8, 0}, {2, 0}, {4, 0}, {6, 0}});  // homes at the ends of a line
        model->screen = MapScreen;
    }
    void TearDown() override {
        gameSounds().sound.close();
        std::remove(file.c_str());
        std::remove((WaveCapture::processFile() + ".conf").c_str());  // read at the first open
        HandMapTest::TearDown();
    }

    static void wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // Runs one tick with the command; the device's time then.
    double tickWith(CommandKind kind, int node = -1, int side = 0) {
        Command command = HandMap::command(kind, side, node);
        command.move = CursorMove::Right;
        model->commands.push(command);
        runGameTick();
        return WaveCapture::deviceMs();
    }
    void capture() {
        gameSounds().sound.close();
        ASSERT_TRUE(wave.read(file));
    }
    void expectHeardAt(double ms, const char* what) {
        // Quiet, not silent: a mixer that fell behind under load and caught up
        // brings the last sound's tail nearer in device time.
        EXPECT_LT(wave.peakBetween(ms - 100, ms - 5), kAudible) << what << ": quiet before";
        EXPECT_GT(wave.peakBetween(ms, ms + kPromptMs), kAudible) << what;
    }

    const std::string file = WaveCapture::processFile();
    WaveCapture wave;
};

// The sound key mutes the turn's end and brings the next one back.
TEST_F(TickSoundsTest, ANodeTakenIsHeardWithinATenthOfASecondAndTheSoundKeyMutes) {
    ASSERT_TRUE(gameSounds().sound.open(kDefaultVolume, false));
    tickWith(CommandKind::ClickCell, 0);
    EXPECT_TRUE(gameSounds().heard(Effect::ShipSelected));
    wait(300);
    const double taken = tickWith(CommandKind::ClickCell, 2);
    EXPECT_TRUE(gameSounds().heard(Effect::NodeTakenBy0) && gameSounds().heard(Effect::ShipStep));
    wait(300);
    onKeyboard(kSoundKey, 0, 0);
    const double muted = tickWith(CommandKind::EndTurn);
    wait(300);
    onKeyboard(kSoundKey, 0, 0);
    const double unmuted = tickWith(CommandKind::EndTurn, -1, 1);
    EXPECT_TRUE(gameSounds().heard(Effect::TurnTo0));
    wait(300);
    capture();
    expectHeardAt(taken, "the node taken");
    EXPECT_EQ(wave.peakBetween(muted + 50, unmuted - 5), 0) << "the turn's end, muted";
    expectHeardAt(unmuted, "the next turn's end");
}

TEST_F(TickSoundsTest, ABattleIsHeardAtItsStartAndEachUnitFromItsLanesSide) {
    HandMap::placeShip(1, 2);
    first->ships[0]->unitStock[0] = kStockCap;
    ASSERT_TRUE(gameSounds().sound.open(kDefaultVolume, false));
    tickWith(CommandKind::ClickCell, 0);
    wait(300);
    const double start = tickWith(CommandKind::ClickCell, 2);
    ASSERT_TRUE(gameSounds().heard(Effect::BattleStart));
    wait(900);
    const double leftLane = tickWith(CommandKind::SendUnit);
    for (int lane = 1; lane < kLaneCount; ++lane) {
        tickWith(CommandKind::MoveCursor);
    }
    wait(300);
    const double rightLane = tickWith(CommandKind::SendUnit);
    wait(300);
    capture();
    expectHeardAt(start, "the battle's start");
    expectHeardAt(leftLane, "a unit into lane 0");
    expectHeardAt(rightLane, "a unit into the last lane");
    EXPECT_GT(wave.peakBetween(leftLane, leftLane + 80, 0),
              2 * wave.peakBetween(leftLane, leftLane + 80, 1));
    EXPECT_GT(wave.peakBetween(rightLane, rightLane + 80, 1),
              2 * wave.peakBetween(rightLane, rightLane + 80, 0));
}

// A click that changes nothing is refused; an attack by a ship too worn to
// fight a single step is heard lost in the tick it began.
TEST_F(TickSoundsTest, AnIdleClickIsRefusedAndABattleDecidedAtOnceIsHeardEnding) {
    HandMap::placeShip(1, 2);
    ASSERT_TRUE(gameSounds().sound.open(kDefaultVolume, false));
    tickWith(CommandKind::ClickCell, 0);
    tickWith(CommandKind::ClickCell, 0);
    EXPECT_TRUE(gameSounds().heard(Effect::Refused)) << "the ship was selected already";
    first->ships[0]->health = kExhaustionDamage;
    tickWith(CommandKind::ClickCell, 2);
    EXPECT_EQ(model->battle, nullptr);
    EXPECT_TRUE(gameSounds().heard(Effect::ShipDestroyed));
}

}  // namespace
