// The replay of one recorded deal, card by card: pure functions over the
// record's deal line and the analysis of that deal (or null while it is
// being made). Step k is the position before the k-th card (0..36).

export const CARDS_PER_DEAL = 36;

export function playsOf(recordDeal, analysisDeal) {
  const plays = [];
  recordDeal.tricks.forEach((trick, t) => {
    trick.cards.forEach((card, i) => {
      const index = plays.length;
      const play = { index, trick: t, seat: (trick.leader + i) % 4, card };
      const analysed = analysisDeal ? analysisDeal.plays[index] : null;
      if (analysed) Object.assign(play, { loss: analysed.loss, best: analysed.best, team0Total: analysed.team0_total });
      plays.push(play);
    });
  });
  return plays;
}

// The hands left, the cards on the table and the points taken before step
// k. A finished trick stays on the table until the next card is led.
export function positionAt(recordDeal, step) {
  const hands = recordDeal.hands.map((hand) => [...hand]);
  const taken = [0, 0];
  let trick = [];
  let winner = null;
  for (const play of playsOf(recordDeal, null).slice(0, step)) {
    if (trick.length === 4) trick = [];
    hands[play.seat] = hands[play.seat].filter((card) => card !== play.card);
    trick.push(play);
    winner = null;
    if (trick.length === 4) {
      const recorded = recordDeal.tricks[play.trick];
      taken[recorded.winner % 2] += recorded.points;
      winner = recorded.winner;
    }
  }
  return { hands, trick, taken, winner };
}

// The value of the position at step k for team 0 (seats 0 and 2).
export function team0ValueAt(analysisDeal, step) {
  if (!analysisDeal) return null;
  return step < CARDS_PER_DEAL ? analysisDeal.plays[step].team0_total : analysisDeal.final;
}

// Card points each seat's cards cost their team in a deal.
export function lossesBySeat(analysisDeal) {
  const losses = [0, 0, 0, 0];
  for (const play of analysisDeal.plays) losses[play.seat] += play.loss;
  return losses;
}

export const firstStepOfTrick = (trick) => Math.max(0, Math.min(8, trick)) * 4;
