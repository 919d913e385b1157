#include "scoring.h"

namespace lerva {

DealOutcome scoreDeal(int declarerTeam, int declarerCardPoints, int declarerTricks,
                      bool bidTen) {
    const bool won = declarerCardPoints >= kDeclarersNeed;
    const int loserPoints = won ? kDealCardPoints - declarerCardPoints : declarerCardPoints;
    const int loserTricks = won ? kTricksPerDeal - declarerTricks : declarerTricks;

    int points = 1;
    if (loserTricks == 0) points = 3;
    else if (loserPoints < kLosersSafe) points = 2;
    if (!won) points *= 2;
    if (bidTen) points *= 2;

    DealOutcome outcome{won, {0, 0}};
    outcome.gamePoints[won ? declarerTeam : 1 - declarerTeam] = points;
    return outcome;
}

}  // namespace lerva
