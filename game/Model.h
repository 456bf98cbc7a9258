#pragma once
// The one object that holds the whole game state. Every part of the game
// reaches it through Model::getSelf(); its fields are public and are read and
// written directly. It also holds the factories that create the world at
// start-up, the two battle operations and the tick's bookkeeping.
#include <cstdint>
#include <string>
#include <vector>

#include "game/CommandQueue.h"
#include "game/TickReport.h"

class Battle;
class CommandSink;
class CommandSource;
class TickObserver;
class ComputerPlayer;
class Hud;
class Menu;
class Node;
class NodeMap;
class Player;
class Selector;
class Ship;

// Players in a game: player 0 moves first.
constexpr int kPlayerCount = 2;

// Values of Model::screen; no other value is ever stored.
enum Screen : int { TitleScreen = 0, MapScreen = 2, BattleScreen = 5, EndScreen = 6 };

// The rules advance in ticks of exactly 1/60 s, whatever the display does.
constexpr int kTicksPerSecond = 60;

// How the main loop runs the ticks. A game runs them as they fall due; a
// replay may pause, run four times as fast, and stops at its record's end.
struct Pace {
    bool replay = false;                 // the ticks' commands come from a record
    bool paused = false;                 // no tick runs
    int speed = 1;                       // ticks per due tick, 1 or 4
    std::uint64_t endTick = UINT64_MAX;  // no tick at or past it runs
};

// Fatal set-up errors are thrown as heap-allocated strings holding the message.
[[noreturn]] void raiseFatal(const char* message);

class Model {
public:
    // game/Model.cpp
    static Model* getSelf();
    // Destroys the instance and everything it owns, so that the next getSelf()
    // builds a fresh game. The game itself never tears anything down; tests do.
    static void resetSelf();
    // Sets the instance aside without destroying it, so that the next
    // getSelf() builds another; attachSelf() makes one current again. Tests
    // play two machines of a network game in one process this way.
    static Model* detachSelf();
    static void attachSelf(Model* model);

    Model();  // only getSelf() may construct; a second instance is a fatal error
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    Node** createNodes(int count);
    Player** createPlayers(int count);
    Selector* createSelector();
    Hud* createHud();
    NodeMap* createNodeMap();
    Menu* createMenu();
    void updateViewFromBounds();
    // Adds one tick's worth to clock, wrapping before int overflow at a
    // multiple of 3600 so the unit spin (clock / 10 mod 360) stays continuous.
    void advanceClock();
    // Whether the program plays this side, so that a person's input for it is ignored.
    bool isComputer(int side) const;
    // Whether a person at this keyboard gives this side's commands: not when
    // the program or the other machine of a network game plays it, and on no
    // side while a record is shown.
    bool isPerson(int side) const;
    // The one side played at this machine in a network game; -1 in any other.
    int networkSide() const;
    // Gives the program this side: it becomes a command source of its own.
    void addComputer(int side);
    // The index of the player in players, of the node in nodes; -1 for null
    // or for one the Model does not hold.
    int sideOf(const Player* player) const;
    int indexOf(const Node* node) const;

    // game/StateHash.cpp: a digest of everything the rules depend on and of
    // nothing that is only shown (pointer, cameras, spins). Equal seeds and
    // commands give equal hashes at every tick, whatever the frame rate.
    std::uint64_t stateHash() const;

    // battle/Battle.cpp
    void startBattle(Ship* attacker, Ship* defender);
    void endBattle(bool defenderLost);

    int windowWidth = 500;           // pixels; written by onReshape
    int windowHeight = 400;          // pixels; written by onReshape
    float pointerX = 0;              // +1 at the left edge, -1 at the right edge
    float pointerY = 0;              // -1 at the top edge, +1 at the bottom edge
    float viewHeight = 0;            // map camera height, from the grid bounds
    float mapCenterX = 0;            // centre of the grid x range, grid units
    float mapCenterZ = 0;            // centre of the grid z range, grid units
    int clock = 0;                   // +10 per tick; never negative
    Menu* menu = nullptr;            // the title board
    Player** players = nullptr;      // playerCount entries, player 0 moves first
    Hud* hud = nullptr;              // the side panels
    NodeMap* nodeMap = nullptr;      // the grown map
    Node** nodes = nullptr;          // nodeCount entries, in creation order
    Selector* selector = nullptr;    // the map cursor
    Battle* battle = nullptr;        // set exactly while screen is BattleScreen
    Node* selectedNode = nullptr;    // the highlighted node; null when none
    Ship* selectedShip = nullptr;    // the ship that takes the next order; null when none
    Screen screen = TitleScreen;     // changed by commands, the turn end and the battle
    int currentPlayer = 0;           // index of the player on turn, 0 or 1
    int turn = 0;                    // turn ends so far; +1 by finishTurn
    bool endTurnRequested = false;   // set by the EndTurn command, consumed by finishTurn
    std::uint64_t tick = 0;          // ticks run since start-up; the next one to run
    int playerCount = kPlayerCount;  // set by createPlayers
    int nodeCount = 50;              // set by createNodes
    int maxGridZ = 0;                // bounds of the grown map, grid units
    int minGridZ = 0;
    int maxGridX = 0;
    int minGridX = 0;
    unsigned char loser = 0;  // player found without nodes; the other one won
    // The program's player for each side it plays, owned; null for a person.
    ComputerPlayer* computers[kPlayerCount] = {};
    CommandQueue commands;  // pushed by input and sources, drained by runTick
    // What the running tick has done so far, or the last tick did: begun and
    // closed by runTick, added to by the rules as they act, read by observers.
    TickReport report;
    // Asked by runTick for their commands, in this order; the computer
    // players are among them. Not owned.
    std::vector<CommandSource*> sources;
    std::vector<TickObserver*> observers;  // told after every tick, in order; not owned
    Pace pace;  // how the main loop runs the ticks; set by a replay, read by onDisplay
    // Set by a network game: the side played at the other machine, and where
    // this machine's input goes instead of the queue. None and null otherwise.
    bool remote[kPlayerCount] = {};
    CommandSink* inputSink = nullptr;
    // Shown, not played: the network game has waited over a second for the
    // other machine, or for it to join. Set by the network game.
    bool waitingForPeer = false;

private:
    static Model* self;
};

// Inline: the rules reach the Model in every step of every unit.
inline Model* Model::getSelf() {
    if (self == nullptr) {
        self = new Model();
    }
    return self;
}

// Inline: the state hash looks up every node a player holds.
inline int Model::sideOf(const Player* player) const {
    for (int i = 0; player != nullptr && players != nullptr && i < playerCount; ++i) {
        if (players[i] == player) {
            return i;
        }
    }
    return -1;
}

inline int Model::indexOf(const Node* node) const {
    for (int i = 0; node != nullptr && nodes != nullptr && i < nodeCount; ++i) {
        if (nodes[i] == node) {
            return i;
        }
    }
    return -1;
}

constexpr int kClockPerTick = 10;  // added to clock by every tick
// clock wraps back by this much before it could overflow; a multiple of 3600, so
// the units, which turn one degree per 10 of clock, never jump.
constexpr int kClockWrap = 3600 * 596523;
