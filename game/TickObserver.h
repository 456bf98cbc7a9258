#pragma once
// Told after every tick, once the rules have stepped, what the tick did: the
// game's record and the network's lockstep listen this way. An observer
// reads the report and the Model and changes nothing in either.

class TickReport;

class TickObserver {
public:
    virtual ~TickObserver() = default;
    virtual void afterTick(const TickReport& report) = 0;
};
