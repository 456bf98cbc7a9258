#include "support/TwoMachines.h"

#include "game/Command.h"
#include "game/Model.h"
#include "game/Random.h"
#include "game/Tick.h"
#include "net/Lockstep.h"
#include "record/RecordCodec.h"
#include "record/Recorder.h"
#include "support/World.h"

TwoMachines::TwoMachines(std::uint32_t seed, LineQuality quality, int inputDelay)
    : line(seed, quality), seed_(seed) {
    Model::resetSelf();
    for (int side = 0; side < 2; ++side) {
        Model* model = buildWorld(seed);
        lockstep_[side] = std::make_unique<Lockstep>(line.end(side), side, inputDelay, model->tick);
        lockstep_[side]->attach(true);
        if (side == 0) {
            Command start;
            start.kind = CommandKind::LeaveTitle;
            lockstep_[side]->submit(start);
        }
        leave(side);
    }
}

TwoMachines::~TwoMachines() {
    for (int side = 0; side < 2; ++side) {
        enter(side);
        Model::resetSelf();
    }
}

void TwoMachines::record(const std::string (&folders)[2]) {
    for (int side = 0; side < 2; ++side) {
        Model* model = enter(side);
        RecordHeader header;
        header.seed = seed_;
        header.computer[0] = header.computer[1] = true;
        recorder_[side] = std::make_unique<Recorder>(folders[side], header);
        model->observers.push_back(recorder_[side].get());
        leave(side);
    }
}

Model* TwoMachines::enter(int side) {
    Model::attachSelf(model_[side]);
    Random::seed(random_[side]);
    return model_[side];
}

void TwoMachines::leave(int side) {
    random_[side] = Random::currentState();
    model_[side] = Model::detachSelf();
}

void TwoMachines::frame() {
    line.advance(1000 / 60);
    ++frames_;
    for (int side = 0; side < 2; ++side) {
        const Model* model = enter(side);
        Lockstep& lockstep = *lockstep_[side];
        lockstep.exchange();
        for (int ran = 0;
             ran < 8 && model->tick < static_cast<std::uint64_t>(frames_) && tickReady(); ++ran) {
            runTick();
            hashes[side].push_back(model->stateHash());
        }
        lockstep.send();
        leave(side);
    }
}

void TwoMachines::playUntil(std::uint64_t ticks, long frames) {
    for (long i = 0; i < frames && (this->ticks(0) < ticks || this->ticks(1) < ticks); ++i) {
        frame();
    }
}
