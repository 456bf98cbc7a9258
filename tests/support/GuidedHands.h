#pragma once
// Random but guided input, the way people at the keyboard and mouse play: the
// pointer goes to the ships of the player on turn, to their neighbours and to
// nodes worth taking, the end-turn key comes often, and in battle the deploy
// keys do, so that games reach battles, their ends and the end screen. The
// soak tests throw it at both players through the game's callbacks; the
// tournaments set it against the computer player, whose side ignores it.
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

class Battle;
class Model;
class Node;
class Ship;

enum class EventKind { Motion, Mouse, Key, Special, Frame };

struct Event {
    EventKind kind;
    int a = 0;  // x, button, key or special key
    int b = 0;  // y or button state
    int c = 0;  // x of mouse and keys
    int d = 0;  // y of mouse
};

// What the event calls, as a line of C++, to reproduce a fault by hand.
std::string describe(const Event& event);

// Hands a pointer, mouse or key event to the game's callback; a frame is left
// to the caller, who draws it or only steps the rules.
void deliverInput(const Event& event);

class GuidedHands {
public:
    // Each game gives each player an eagerness: how often, on its turn, the
    // next thing done is an order rather than anything else. One player
    // presses on, the eager one when named; the other is mostly idle, so that
    // most games come to their end within the events they are given.
    explicit GuidedHands(std::uint32_t seed, int eagerPlayer = -1);

    Event next(const Model* model);

    // Anything at all, on any screen.
    Event anyEvent(const Model* model);

private:
    int below(int n) { return static_cast<int>(dice() % static_cast<std::uint32_t>(n)); }

    // Mostly inside the window and a little beyond; now and then far off.
    int anyPixel(int extent);

    void plan(const Model* model);

    void planMap(const Model* model);

    // Select one of the player's ships, then click where it should go: often
    // next door (an attack when an enemy ship stands there), often a node the
    // player does not hold yet, sometimes anywhere, even beside the map.
    void planOrder(const Model* model);

    // One of the player's ships that may attack now, and the enemy's node it
    // may attack. Like a player who wants the battle over soon, it mostly
    // picks an enemy ship with nothing in stock, which wears itself down.
    bool findAttack(const Model* model, const Ship*& attacker, const Node*& target);

    static std::vector<const Node*> neighboursOf(const Node* node);

    // A frame between the pointer's move and the click, as a player's eye
    // needs, and one after it, in whose tick the click takes effect.
    void clickAfterFrame();

    void aimAt(const Model* model, const Node* node);

    const Ship* ownShip(const Model* model);

    // Mostly a ship that has neither moved nor an order yet, as a player
    // would pick next; any ship of the player otherwise.
    const Ship* shipWithoutOrder(const Model* model);

    // A node to aim at; null stands for a pixel anywhere.
    const Node* pickTarget(const Model* model, const Ship* ship);

    // A neighbour of the node, or the node itself when it has none.
    const Node* beside(const Node* node);

    // Next to one of the enemy's ships, or on it: where attacks come from.
    const Node* nearEnemyShip(const Model* model);

    // A node of the enemy or of nobody, the enemy's first when it has any.
    const Node* notYetHeld(const Model* model);

    void planBattle(const Model* model);

    // A unit sent by player 0 or 1, mostly of a kind it still has and mostly
    // into the lane where the enemy has most units: a side that has lost every
    // unit and has none left in stock wears itself down fast, which is how
    // battles end soonest.
    void planDeploy(const Battle* battle, int attackingPlayer, int player);

    // The lane with most units of the other side; -1 when it has none out.
    static int busiestEnemyLane(const Battle* battle, bool attacking);

    std::mt19937 dice;
    std::deque<Event> planned;
    int eagerness[2] = {};  // percent
};
