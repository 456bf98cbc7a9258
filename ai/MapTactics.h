#pragma once
// How the program plays a map turn for one side, one ship at a time: attack a
// neighbouring enemy ship it carries at least as much against (less when well
// ahead in ships), stay to collect when that is worth more than a step, or
// step towards the most worthwhile node it can reach without ending next to an
// enemy ship that would beat it. Also whether to buy a ship, while the map
// leaves the ships room to move. It reads the map through the Model and only chooses; the
// ComputerPlayer carries the choice out with the clicks and keys of a person.

class Node;
class Player;
class Ship;

struct ShipOrder {
    enum class Kind { Stay, Step, Attack };
    Kind kind = Kind::Stay;
    Node* node = nullptr;  // the neighbour stepped onto or attacked
};

class MapTactics {
public:
    explicit MapTactics(int side);

    ShipOrder orderFor(const Ship& ship) const;
    bool shouldBuy() const;

    // Whether `attacker` carries `margin` times the worth of `defender`, which
    // decides a battle: the side left without stock and units first loses.
    // Between two empty ships a tie on health destroys the defender.
    static bool beats(const Ship& attacker, const Ship& defender, double margin);

private:
    ShipOrder attackFor(const Ship& ship) const;
    double collectWorth(const Node& node, const Ship& ship) const;
    bool threatened(const Node& node, const Ship& ship) const;
    double targetWorth(const Node& node, const Ship& ship) const;
    ShipOrder stepFor(const Ship& ship, double toBeat) const;
    bool mustMakeRoom(const Ship& ship) const;
    bool wantsShip() const;

    const Player& player_;
    const Player& enemy_;
    double boldness_ = 1;  // margins scale: 1 while even in ships, less when ahead
};
