"""A person at the web table, as the tests play one: by clicks, through the
page's contract only, checking it on every step."""
import time

TRUMP_REFUSALS = {4: "Sa ei saa ristit trumbiks teha", 3: "Sa ei saa potit trumbiks teha",
                  2: "Sa ei saa artut trumbiks teha"}
ALL_BIDS = ["Pass", *map(str, range(1, 10)), "Ruutu"]


class Player:
    """Bids once a deal, the lowest number the table takes, then passes;
    names clubs, spades, hearts or diamonds, the first the table takes;
    plays the first card the table takes, from the left."""

    def __init__(self, test, page, hand_order):
        self.test, self.page, self.hand_order = test, page, hand_order
        self.bid_this_deal = False
        self.cards_held = 0
        self.results = []   # every deal's result, as #result showed it

    def step(self):
        """Looks at the page once and does what it asks for."""
        t, state = self.test, self.page.state()
        if len(state["hand"]) > self.cards_held:
            self.bid_this_deal = False   # a new deal
        self.cards_held = len(state["hand"])
        bidding, choosing = "Sinu kord pakkuda" in state["info"], bool(state["trumps"])
        t.assertEqual(state["bids"], ALL_BIDS if bidding else [], "bid buttons are enabled exactly on the player's bid")
        t.assertIn(state["trumps"], ([], ["Ruutu", "Ärtu", "Poti", "Risti"]))
        if bidding:
            self.bid(state)
        elif choosing:
            t.assertIn("Tee trump", state["log"])
            self.choose_trump()
        elif "Sinu kord käia" in state["info"]:
            self.play(state)
        if "selle mängu tulemusega" in state["result"] and state["result"] not in self.results[-1:]:
            self.results.append(state["result"])
            t.assertRegex(state["result"], r"Teie (võitsite|kaotasite) selle mängu tulemusega \d+/\d+")
            t.assertRegex(state["score"], r"^\d+ : \d+$")
        return state

    def bid(self, state):
        page = self.page
        if self.bid_this_deal:
            page.bid_button("Pass").click()
            return
        self.bid_this_deal = True
        for label in map(str, range(1, 10)):
            before = len(state["log"])
            page.bid_button(label).click()
            # The computer players answer at once: more may follow already.
            state = page.state()
            said = state["log"][before:]
            if f"Pakkusid {label}" in said or "Pead rohkem pakkuma või passima" not in said:
                return
        page.bid_button("Pass").click()

    def choose_trump(self):
        page = self.page
        for suit in (4, 3, 2):
            page.trump_button(suit).click()
            state = page.state()
            if not state["trumps"]:   # taken: the choice is over
                return
            self.test.assertEqual(state["log"][-1], TRUMP_REFUSALS[suit])
        page.trump_button(1).click()

    def play(self, state):
        hand = state["hand"]
        self.test.assertEqual(hand, sorted(hand, key=self.hand_order.index), "the hand is in the Windows client's order")
        for card in hand:
            self.page.card_button(card).click()
            after = self.page.state()
            if after["hand"] != hand:   # played (or the deal is over already)
                return
            self.test.assertEqual(after["log"][-1], "Sa ei saa seda kaarti käia")

    def play_until(self, done, seconds):
        started = time.monotonic()
        while not done(state := self.step()):
            self.test.assertLess(time.monotonic() - started, seconds,
                                 f"timed out after {len(self.results)} deals; the page shows {state}")
            time.sleep(0.01)
        return state
