#pragma once
// The program playing one side. It is asked once per tick, before the tick's
// commands are applied, and then acts as a person at the keyboard and mouse
// would: on its turn on the map it selects, orders, attacks, buys and ends the
// turn, one action a third of a second, so that the other player can follow;
// in a battle it steers its side's lane cursor and sends units, at most 7.5
// actions a second. It reads the game through the Model and acts only through
// the commands a person's keys and clicks give. It has no randomness of its
// own, so a game's seed fixes its choices.
#include <cstdint>
#include <vector>

#include "game/Command.h"
#include "game/CommandSource.h"

class Node;
class Ship;

class ComputerPlayer final : public CommandSource {
public:
    static constexpr int kMapPause = 20;    // ticks between map actions
    static constexpr int kBattlePause = 8;  // ticks between battle actions
    static constexpr int kDemoStart = 120;  // title ticks before a game of the program alone starts

    explicit ComputerPlayer(int side);

    // Pushes this tick's command, if any, stamped with the tick.
    void give(std::uint64_t tick, CommandQueue& queue) override;

    const int side;    // index of the player played
    long actions = 0;  // actions taken so far; the pace is checked by it
    // Ticks from a command to its effect: a network game's input delay. The
    // program waits at least that long between actions, so that it never
    // decides again before it sees what its last command did.
    int lag = 0;

private:
    void act();
    void actOnTitle();
    void actOnMap();
    void actInBattle();
    void startTurn();
    void forgetLostShips();
    bool playedThisTurn(const Ship* ship) const;
    void click(const Node* node);
    void emit(CommandKind kind);
    void emit(Command command);

    CommandQueue* queue_ = nullptr;    // where give() sends, while it runs
    std::uint64_t tick_ = 0;           // the tick give() is asked for
    int pause_ = 0;                    // ticks still to wait before acting
    bool onTurn_ = false;              // this side's turn has been seen to begin
    Node* pendingClick_ = nullptr;     // the second click of an order or attack
    std::vector<const Ship*> played_;  // ships given their order this turn
};
