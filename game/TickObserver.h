#pragma once
// Told after every tick, once the rules have stepped: the game's record
// listens this way. An observer reads the Model and changes nothing in it.

class TickObserver {
public:
    virtual ~TickObserver() = default;
    virtual void afterTick() = 0;
};
