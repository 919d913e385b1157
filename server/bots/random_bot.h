// The baseline: a uniformly random legal move, every time.
#pragma once

#include "bot.h"
#include "rng.h"

namespace lerva {

class RandomBot : public Bot {
public:
    explicit RandomBot(std::uint64_t seed) : rng_(seed) {}
    int chooseBid(const PlayerView& view) override { return pickBit(view.legalBids); }
    int chooseTrump(const PlayerView& view) override { return pickBit(view.legalTrumps); }
    CardCode chooseCard(const PlayerView& view) override {
        return cardAt(pickBit(view.legalCards.mask()));
    }

private:
    // Position of one of the set bits of a non-empty mask, uniformly.
    int pickBit(std::uint64_t bits);
    Rng rng_;
};

}  // namespace lerva
