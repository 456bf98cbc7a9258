// Once a screen is showing, drawing it again creates nothing: no memory from
// operator new, no GLU quadric, no display-list id and no list compilation.
// Every list is built with the first object of its class and the coin quadric
// with the panels; a frame only replays them. The screens are those of a game
// in progress (support/PerFrameScenes.h), drawn through onDisplay() as GLUT
// would, many frames each.
//
// Allocations are counted by replacing the global operator new here (this
// executable has no other replacement); the GL and GLU calls are counted by
// wrapping them at link time (-Wl,--wrap on this executable). The first frame
// of a screen is left out of the memory count: the software GL driver compiles
// its shaders for the new state then, thousands of allocations that are not
// the game's.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <ostream>

#include "app/Menu.h"
#include "app/Screens.h"
#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "sound/TickSounds.h"
#include "support/GlContext.h"
#include "support/PerFrameScenes.h"
#include "support/WaveCapture.h"
#include "support/World.h"

namespace {

// What the watched code created while counting was on.
struct Created {
    long allocations = 0;    // operator new and new[], every form
    long quadrics = 0;       // gluNewQuadric
    long listIds = 0;        // glGenLists calls
    long compiles = 0;       // glNewList calls
    long lastSize = 0;       // bytes of the latest counted allocation, to tell what it was
    long ofWatchedSize = 0;  // allocations of exactly the watched size
};

std::ostream& operator<<(std::ostream& out, const Created& c) {
    return out << c.allocations << " allocations (" << c.ofWatchedSize
               << " of the watched size, last " << c.lastSize << " bytes), " << c.quadrics
               << " quadrics, " << c.listIds << " glGenLists, " << c.compiles << " glNewList";
}

// The rasteriser runs threads of its own; they may allocate while we count.
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
std::atomic<long> lastSize{0};
std::atomic<long> watchedSize{-1};
std::atomic<long> ofWatchedSize{0};
std::atomic<long> quadrics{0};
std::atomic<long> listIds{0};
std::atomic<long> compiles{0};

void count(std::size_t size) {
    if (!counting.load(std::memory_order_relaxed)) {
        return;
    }
    allocations.fetch_add(1, std::memory_order_relaxed);
    lastSize.store(static_cast<long>(size), std::memory_order_relaxed);
    if (static_cast<long>(size) == watchedSize.load(std::memory_order_relaxed)) {
        ofWatchedSize.fetch_add(1, std::memory_order_relaxed);
    }
}

void* countedAllocation(std::size_t size) {
    count(size);
    return std::malloc(size == 0 ? 1 : size);
}

void* countedAlignedAllocation(std::size_t size, std::align_val_t alignment) {
    count(size);
    const auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment
    const std::size_t rounded = (size + align - 1) / align * align;
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
}

void* orThrow(void* memory) {
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void startCounting() {
    allocations = 0;
    lastSize = 0;
    ofWatchedSize = 0;
    quadrics = 0;
    listIds = 0;
    compiles = 0;
    counting = true;
}

Created stopCounting() {
    counting = false;
    Created c;
    c.allocations = allocations;
    c.lastSize = lastSize;
    c.ofWatchedSize = ofWatchedSize;
    c.quadrics = quadrics;
    c.listIds = listIds;
    c.compiles = compiles;
    return c;
}

// malloc and aligned_alloc, with which OpenAL makes its objects, counted on
// the counting thread only (the mixer's and the driver's threads go their own
// way). A sanitizer build has its own malloc, which this would bypass, so
// only the plain build counts them.
#ifndef __SANITIZE_ADDRESS__
constexpr bool kCountsMalloc = true;
#else
constexpr bool kCountsMalloc = false;
#endif
thread_local bool countingMalloc = false;
long mallocs = 0;

}  // namespace

#ifndef __SANITIZE_ADDRESS__
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* malloc(std::size_t size) {
    mallocs += countingMalloc ? 1 : 0;
    return __libc_malloc(size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    mallocs += countingMalloc ? 1 : 0;
    return __libc_memalign(alignment, size);
}
}
#endif

void* operator new(std::size_t size) {
    return orThrow(countedAllocation(size));
}
void* operator new[](std::size_t size) {
    return orThrow(countedAllocation(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow(countedAlignedAllocation(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow(countedAlignedAllocation(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAlignedAllocation(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAlignedAllocation(size, alignment);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}

// The link wraps these three for the whole test executable, the game's library included.
extern "C" {
GLUquadric* __real_gluNewQuadric();
GLuint __real_glGenLists(GLsizei range);
void __real_glNewList(GLuint list, GLenum mode);

GLUquadric* __wrap_gluNewQuadric() {
    if (counting) {
        ++quadrics;
    }
    return __real_gluNewQuadric();
}

GLuint __wrap_glGenLists(GLsizei range) {
    if (counting) {
        ++listIds;
    }
    return __real_glGenLists(range);
}

void __wrap_glNewList(GLuint list, GLenum mode) {
    if (counting) {
        ++compiles;
    }
    __real_glNewList(list, mode);
}
}

namespace {

constexpr int kWarmUpFrames = 5;
constexpr int kCountedFrames = 200;
constexpr int kBattleFrames = 100;  // each draws 80 units; a battle frame costs the most

// Frames as GLUT would run them; the battle is healed after each, so that no
// unit is freed and no ship destroyed while counting.
void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        playFrame(1);
        perframe::keepBattleAlive();
    }
}

Created countFrames(int frames) {
    startCounting();
    runFrames(frames);
    return stopCounting();
}

void expectNothingCreated(const Created& c) {
    EXPECT_EQ(c.allocations, 0) << c;
    EXPECT_EQ(c.quadrics, 0) << c;
    EXPECT_EQ(c.listIds, 0) << c;
    EXPECT_EQ(c.compiles, 0) << c;
}

// Every frame is heard: the game's sound plays into a wave file no one reads.
class PerFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        perframe::restoreStartState();
        model = perframe::buildWorld(kTestWindowWidth, kTestWindowHeight);
        ASSERT_TRUE(WaveCapture::useWaveOutput("/dev/null"));
        ASSERT_TRUE(gameSounds().sound.open(kDefaultVolume, false));
    }
    void TearDown() override {
        watchedSize = -1;
        gameSounds().sound.close();
        std::remove((WaveCapture::processFile() + ".conf").c_str());  // read at the first open
        Model::resetSelf();
        perframe::restoreStartState();
    }

    Model* model = nullptr;
};

// Guards the rest: a counter that never moves would pass every other test.
TEST_F(PerFrameTest, CountersSeeAllocationsQuadricsAndLists) {
    startCounting();
    // Explicit calls: an optimiser may drop the allocation of a new-expression.
    void* single = ::operator new(sizeof(int));
    void* several = ::operator new[](3 * sizeof(int));
    GLUquadric* quadric = gluNewQuadric();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    const Created c = stopCounting();
    ::operator delete(single);
    ::operator delete[](several);
    gluDeleteQuadric(quadric);
    glDeleteLists(list, 1);

    EXPECT_EQ(c.allocations, 2) << c;
    EXPECT_EQ(c.quadrics, 1) << c;
    EXPECT_EQ(c.listIds, 1) << c;
    EXPECT_EQ(c.compiles, 1) << c;
}

void expectNoGlObjectsCreated(const Created& c) {
    EXPECT_EQ(c.quadrics, 0) << c;
    EXPECT_EQ(c.listIds, 0) << c;
    EXPECT_EQ(c.compiles, 0) << c;
}

// The first frame of every screen finds its lists and quadric already built.
TEST_F(PerFrameTest, FirstFrameOfEachScreenBuildsNoListAndNoQuadric) {
    perframe::showTitle();
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showMapInPlay();
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showBattle();  // deploying builds the unit lists; that is not a frame's doing
    expectNoGlObjectsCreated(countFrames(1));
    perframe::showEnd();
    expectNoGlObjectsCreated(countFrames(1));
}

TEST_F(PerFrameTest, TitleFramesCreateNothing) {
    perframe::showTitle();
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_TRUE(model->menu->visible) << "the title board was drawn";
}

TEST_F(PerFrameTest, EndFramesCreateNothing) {
    perframe::showEnd();
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_EQ(model->screen, EndScreen);
}

// The node under the selector, where the map frames just put it.
const Node* hoveredNode(const Model* model) {
    return model->nodeMap->findNode(model->selector->gridZ, model->selector->gridX);
}

// Nodes, six ships with stock bars, the panels, and the path arrow of the ship
// under the cursor; no ship selected, so no move arrow.
TEST_F(PerFrameTest, MapFramesWithShipsAndPathArrowCreateNothing) {
    perframe::showMapInPlay();
    model->selectedShip = nullptr;
    runFrames(kWarmUpFrames);
    expectNothingCreated(countFrames(kCountedFrames));
    EXPECT_EQ(model->screen, MapScreen);
    EXPECT_EQ(model->players[0]->shipCount + model->players[1]->shipCount,
              2 * perframe::kShipsPerPlayer);
    const Node* hovered = hoveredNode(model);
    ASSERT_NE(hovered, nullptr);
    ASSERT_NE(hovered->ship, nullptr);
    EXPECT_NE(hovered->ship->destination, nullptr) << "its path arrow was drawn";
}

// With a ship selected the move arrow is drawn to a stand-in node for the
// cursor cell, built with the default constructor and dropped again, which
// allocates the node's neighbour slots. That one allocation a frame is all a
// selection may add; nothing else, and nothing for the GL.
TEST_F(PerFrameTest, MapFramesWithSelectionAllocateAtMostTheCursorStandIn) {
    perframe::showMapInPlay();
    ASSERT_NE(model->selectedShip, nullptr);
    ASSERT_NE(model->selectedNode, nullptr);
    runFrames(kWarmUpFrames);
    watchedSize = static_cast<long>(kSlotCount * sizeof(Node*));
    const Created c = countFrames(kCountedFrames);
    EXPECT_NE(hoveredNode(model), model->selectedShip->location) << "the move arrow has a length";
    EXPECT_EQ(c.allocations, c.ofWatchedSize) << c;
    EXPECT_LE(c.allocations, kCountedFrames) << c;
    expectNoGlObjectsCreated(c);
}

bool anyUnitWounded(const Battle* battle) {
    for (const Lane* lane : battle->lanes) {
        for (int i = 0; i < lane->attackerCount; ++i) {
            if (lane->attackerUnits[i]->health < lane->attackerUnits[i]->maxHealth) {
                return true;
            }
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            if (lane->defenderUnits[i]->health < lane->defenderUnits[i]->maxHealth) {
                return true;
            }
        }
    }
    return false;
}

// All 80 units in reach of each other, striking as their cooldowns allow; they
// are healed after every frame, so none is freed, and nobody deploys.
TEST_F(PerFrameTest, BattleFramesWithUnitsFightingCreateNothing) {
    Battle* battle = perframe::showBattle();
    runFrames(kWarmUpFrames);
    int framesWithBlows = 0;
    startCounting();
    for (int i = 0; i < kBattleFrames; ++i) {
        playFrame(1);
        framesWithBlows += anyUnitWounded(battle) ? 1 : 0;
        perframe::keepBattleAlive();
    }
    const Created c = stopCounting();
    expectNothingCreated(c);

    ASSERT_EQ(model->battle, battle);
    EXPECT_EQ(unitsInLanes(battle), 2 * perframe::kUnitsPerSide);
    // The slowest kind strikes every seventh step.
    EXPECT_GE(framesWithBlows, kBattleFrames / 7) << "the units were not fighting";
}

// The ticks' sounds alone, C allocations included: a battle in full fight
// is the busiest they get, with blows to be heard in every lane. OpenAL
// keeps a store of the settings it hands its mixer, which grows while the
// first sounds play and is then reused, so a second of battle comes first.
TEST_F(PerFrameTest, TicksHeardInBattleAllocateNothing) {
    perframe::showBattle();
    runFrames(kTicksPerSecond);
    int cues = 0;
    startCounting();
    mallocs = 0;
    countingMalloc = kCountsMalloc;
    for (int i = 0; i < kBattleFrames; ++i) {
        runGameTick();
        cues += gameSounds().cueCount();
        perframe::keepBattleAlive();
    }
    countingMalloc = false;
    expectNothingCreated(stopCounting());
    if (kCountsMalloc) {
        EXPECT_EQ(mallocs, 0);
    }
    // Only blows, which each lane lets be heard once in five ticks at most.
    EXPECT_GE(cues, kBattleFrames / 5) << "the battle was not heard";
    EXPECT_LE(cues, kLaneCount * kBattleFrames / 5) << "a full lane roars";
}

}  // namespace
