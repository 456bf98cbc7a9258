#include "app/NetReport.h"

#include <cstdio>

#include "game/Model.h"
#include "net/EnetLink.h"

void NetReport::afterTicks(const EnetLink& link) {
    const Clock::time_point now = Clock::now();
    const Model* model = Model::getSelf();
    if (!started_) {
        started_ = true;
        start(now, link);
    }
    const bool inBattle = model->screen == BattleScreen;
    if (inBattle && wasInBattle_) {
        battleTicks_ += model->tick - lastTick_;
        battleTime_ += now - lastPass_;
    }
    wasInBattle_ = inBattle;
    lastTick_ = model->tick;
    lastPass_ = now;
    if (now - since_ >= kPeriod) {
        print(now, link);
        start(now, link);
    }
}

void NetReport::start(Clock::time_point now, const EnetLink& link) {
    since_ = now;
    firstTick_ = Model::getSelf()->tick;
    sent_ = link.bytesSent();
    received_ = link.bytesReceived();
    battleTicks_ = 0;
    battleTime_ = {};
}

void NetReport::print(Clock::time_point now, const EnetLink& link) const {
    const double seconds = std::chrono::duration<double>(now - since_).count();
    const double battleSeconds = std::chrono::duration<double>(battleTime_).count();
    std::printf(
        "karvossa: network: %.1f ticks/s, %.1f battle ticks/s over %.1f s, %.0f B/s sent, "
        "%.0f B/s received, round trip %u ms\n",
        (Model::getSelf()->tick - firstTick_) / seconds,
        battleSeconds > 0 ? battleTicks_ / battleSeconds : 0.0, battleSeconds,
        (link.bytesSent() - sent_) / seconds, (link.bytesReceived() - received_) / seconds,
        link.roundTrip());
    std::fflush(stdout);
}
