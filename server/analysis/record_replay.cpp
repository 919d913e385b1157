#include "record_replay.h"

#include "card_set.h"
#include "game.h"

namespace lerva::analysis {

namespace {

std::string cardsText(const std::array<int, kTeams>& pair) {
    return "[" + std::to_string(pair[0]) + ", " + std::to_string(pair[1]) + "]";
}

class DealReplay {
public:
    DealReplay(Game& game, const RecordedDeal& deal) : game_(game), deal_(deal) {}

    void run() {
        checkHands();
        game_.startDeal(deal_.hands, events_);
        if (events_.empty()) fail("a deal after the game was over");
        if (game_.dealer() != deal_.dealer)
            fail("the dealer is seat " + std::to_string(deal_.dealer) + ", the rules make it seat " +
                 std::to_string(game_.dealer()));
        replayBids();
        replayTrump();
        for (std::size_t i = 0; i < deal_.tricks.size(); ++i) replayTrick(static_cast<int>(i));
        checkScore();
    }

private:
    [[noreturn]] void fail(const std::string& what) const { throw RecordError(deal_.line, what); }

    void checkHands() const {
        CardSet dealt;
        for (const Hand& hand : deal_.hands) dealt = dealt | CardSet::of(hand);
        if (dealt.size() != kDeckSize) fail("the hands do not hold the 36 cards once each");
    }

    void replayBids() {
        for (const RecordedBid& bid : deal_.bids) {
            if (game_.phase() != Phase::Bidding) fail("a bid after the auction was over");
            if (!game_.bid(bid.seat, bid.bid, events_))
                fail("seat " + std::to_string(bid.seat) + " may not bid " + std::to_string(bid.bid) + " there");
        }
        if (game_.phase() == Phase::Bidding) fail("the bids stop before the auction is over");
        const Auction& auction = game_.auction();
        if (auction.declarer() != deal_.declarer || auction.contract() != deal_.contract ||
            auction.allPassed() != deal_.allPassed)
            fail("the declarer, contract or all-passed flag is not what the bids make");
    }

    void replayTrump() {
        if (game_.phase() == Phase::ChoosingTrump && !game_.chooseTrump(deal_.declarer, deal_.trump, events_))
            fail("the declarer may not name suit " + std::to_string(deal_.trump));
        if (game_.trump() != deal_.trump) fail("the trump is not what the bids make");
    }

    void replayTrick(int index) {
        const RecordedTrick& trick = deal_.tricks[index];
        const std::string which = "trick " + std::to_string(index + 1) + ": ";
        if (game_.toAct() != trick.leader)
            fail(which + "led by seat " + std::to_string(trick.leader) + ", but seat " +
                 std::to_string(game_.toAct()) + " leads");
        for (int i = 0; i < kSeats; ++i) {
            const int seat = (trick.leader + i) % kSeats;
            if (!game_.playCard(seat, trick.cards[i], events_))
                fail(which + "seat " + std::to_string(seat) + " may not play card " + std::to_string(trick.cards[i]));
        }
        const Event& taken = lastOf(Event::Kind::TrickTaken);
        if (taken.seat != trick.winner || taken.value != trick.points)
            fail(which + "the winner or points are not what the cards make");
    }

    const Event& lastOf(Event::Kind kind) const {
        for (auto event = events_.rbegin(); event != events_.rend(); ++event)
            if (event->kind == kind) return *event;
        fail("the engine reported no such event");
    }

    void checkScore() const {
        const Event& scored = lastOf(Event::Kind::DealScored);
        if (scored.cardPoints != deal_.cardPoints)
            fail("the card points " + cardsText(deal_.cardPoints) + " are not the tricks' " + cardsText(scored.cardPoints));
        if (scored.dealPoints != deal_.gamePoints || scored.totals != deal_.totals)
            fail("the game points or totals are not what the tricks score");
    }

    Game& game_;
    const RecordedDeal& deal_;
    Events events_;
};

}  // namespace

void replayAndCheck(const RecordedGame& game) {
    if (game.deals.empty()) {
        if (game.totals != std::array<int, kTeams>{}) throw RecordError(0, "totals without a deal");
        return;
    }
    if (game.deals.front().names != game.names)
        throw RecordError(game.deals.front().line, "the names differ from the game line's");
    Game engine(GameOptions{.seed = 0, .firstDealer = game.deals.front().dealer});
    for (std::size_t i = 0; i < game.deals.size(); ++i) {
        const RecordedDeal& deal = game.deals[i];
        if (deal.number != static_cast<int>(i) + 1)
            throw RecordError(deal.line, "deal " + std::to_string(deal.number) + " where deal " +
                                             std::to_string(i + 1) + " belongs");
        DealReplay(engine, deal).run();
    }
    const int endLine = game.deals.back().line + 1;
    if (engine.totals() != game.totals) throw RecordError(endLine, "the end totals are not the deals' sums");
    const bool over = engine.phase() == Phase::GameOver;
    if (game.abandoned == over)
        throw RecordError(endLine, over ? "a game that was won is marked abandoned" : "the game ends before a team has 12");
    if (over && game.winnerTeam != (engine.totals()[0] >= engine.totals()[1] ? 0 : 1))
        throw RecordError(endLine, "the winner is not the team with the points");
}

}  // namespace lerva::analysis
