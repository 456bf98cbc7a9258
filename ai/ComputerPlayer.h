#pragma once
// The program playing one side. It is asked once per displayed frame, before
// the frame is drawn, and then acts as a person at the keyboard and mouse
// would: on its turn on the map it selects, orders, attacks, buys and ends the
// turn, one action a third of a second, so that the other player can follow;
// in a battle it steers its side's lane cursor and sends units, at most 7.5
// actions a second. It reads the game through the Model and acts only through
// the operations the input handlers call. It has no randomness of its own, so
// a game's seed fixes its choices.
#include <vector>

class Node;
class Ship;

class ComputerPlayer {
public:
    static constexpr int kMapPause = 20;    // frames between map actions
    static constexpr int kBattlePause = 8;  // frames between battle actions
    static constexpr int kDemoStart =
        120;  // title frames before a game of the program alone starts

    explicit ComputerPlayer(int side);

    void act();

    // Every side the Model has a computer player for acts once.
    static void actForAll();

    const int side;    // index of the player played
    long actions = 0;  // actions taken so far; the pace is checked by it

private:
    void actOnTitle();
    void actOnMap();
    void actInBattle();
    void startTurn();
    bool playedThisTurn(const Ship* ship) const;
    void click(Node* node);

    int pause_ = 0;                    // frames still to wait before acting
    bool onTurn_ = false;              // this side's turn has been seen to begin
    Node* pendingClick_ = nullptr;     // the second click of an order or attack
    std::vector<const Ship*> played_;  // ships given their order this turn
};
