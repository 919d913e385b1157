"""A person's whole game in the web table, by clicks, against three computer
players: every point of the page's contract on the way, and a console free
of errors.   whole_game_test.py LERVA-SERVER"""
import json
import re
import sys
import time
import unittest

import browser
from browser import Browser, Server

SERVER = None
HAND_ORDER = None   # the Windows client's order, from the generated module


def load_hand_order(root):
    text = open(f"{root}/web/js/generated.js", encoding="utf-8").read()
    return json.loads(re.search(r"HAND_ORDER = (\[[^\]]*\])", text).group(1))


class WholeGame(unittest.TestCase):
    def setUp(self):
        self.server = Server(SERVER, "--bots", "3", "--bot-level", "heuristic", "--bot-delay", "0",
                             "--trick-pause", "0", "--trump-pause", "0", "--seed", "3")
        self.page = Browser()

    def tearDown(self):
        self.page.close()
        self.server.stop()

    def enabled(self, buttons):
        return [b for b in buttons if b.is_enabled()]

    def bid(self, page, bid_this_deal):
        """Bids once a deal, the lowest number the table takes, then passes."""
        self.assertEqual(len(self.enabled(page.bid_buttons())), 11, "every bid button is enabled on the player's bid")
        if bid_this_deal:
            page.bid_button("Pass").click()
            return
        for label in map(str, range(1, 10)):
            before = len(self.log(page))
            page.bid_button(label).click()
            # The computer players answer at once: more may follow the answer already.
            said = self.log(page)[before:]
            if f"Pakkusid {label}" in said or "Pead rohkem pakkuma või passima" not in said:
                return
        page.bid_button("Pass").click()

    def last_line(self, page):
        return page.text("#log li:last-child")

    def log(self, page):
        return page.text("#log").split("\n")

    def choose_trump(self, page):
        """Tries clubs, spades, hearts, then diamonds, which is always allowed."""
        refusals = {4: "Sa ei saa ristit trumbiks teha", 3: "Sa ei saa potit trumbiks teha",
                    2: "Sa ei saa artut trumbiks teha"}
        for suit in (4, 3, 2):
            page.trump_button(suit).click()
            if not page.trump_button(suit).is_enabled():   # taken: the choice is over
                return
            self.assertEqual(self.last_line(page), refusals[suit])
        page.trump_button(1).click()

    def play(self, page):
        """The first card the table accepts, from the left."""
        hand = page.hand()
        if "Sinu kord käia" not in page.text("#info"):
            return   # the turn was seen before the last card went
        self.assertEqual(hand, sorted(hand, key=HAND_ORDER.index), "the hand is in the Windows client's order")
        for card in hand:
            page.card_button(card).click()
            if page.hand() != hand:   # played (or the deal is over already)
                return
            self.assertEqual(self.last_line(page), "Sa ei saa seda kaarti käia")
        self.fail(f"no card of {hand} was accepted; the table shows {page.text('#felt')!r}, {page.text('#info')!r}")

    def test_plays_a_whole_game_to_twelve_points(self):
        page = self.page
        page.open(self.server.url)
        self.assertEqual(page.text("#score"), "0 : 0")
        page.connect("Inimene")
        page.wait(lambda: "Ootan teisi mängijaid..." in page.text("#info"), 10, "waiting for the others")
        page.wait(lambda: len(page.hand()) == 9, 20, "the first deal")
        names = [page.text(f"#seat-{seat} .name") for seat in range(4)]
        self.assertEqual(names[0], "Inimene")
        self.assertTrue(all(names[1:]), f"every seat has a name: {names}")

        deals, bid_this_deal, cards_held = 0, False, 0
        started = time.monotonic()
        while "terve mängu tulemusega" not in page.text("#result"):
            self.assertLess(time.monotonic() - started, 600, f"the game did not end; {deals} deals so far")
            info = page.text("#info")
            hand = page.hand()
            if len(hand) > cards_held:   # a new deal
                bid_this_deal = False
            cards_held = len(hand)
            if not page.bid_buttons()[0].is_enabled() and not page.trump_button(1).is_enabled():
                self.assertNotIn("Sinu kord pakkuda", info)
            if "Sinu kord pakkuda" in info:
                self.bid(page, bid_this_deal)
                bid_this_deal = True
            elif page.trump_button(1).is_enabled():
                self.assertIn("Tee trump", info)
                self.choose_trump(page)
            elif "Sinu kord käia" in info:
                self.play(page)
            result = page.text("#result")
            if result.count("selle mängu tulemusega") and result != getattr(self, "last_result", ""):
                self.last_result = result
                deals += 1
                self.assertRegex(result, r"Teie (võitsite|kaotasite) selle mängu tulemusega (\d+)/(\d+)")
                self.assertRegex(page.text("#score"), r"^\d+ : \d+$")
            time.sleep(0.02)

        result = page.text("#result")
        own, other = map(int, page.text("#score").split(" : "))
        self.assertGreater(max(own, other), 11)
        won = "Teie võitsite terve mängu" in result
        self.assertEqual(won, own > 11, f"{result!r} with the score {own} : {other}")
        self.assertIn(f"terve mängu tulemusega {own}/{other}", result)
        page.wait(lambda: "Mäng katkestatud" in page.text("#info"), 10, "the connection closed after the game")
        self.assertEqual(page.driver.find_element(browser.By.ID, "connect-button").text, "Ühenda")
        self.assertEqual(page.console_errors(), [])


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        print(f"SKIPPED: {reason}")
        sys.exit(77)
    SERVER, root = sys.argv[1], sys.argv[2]
    HAND_ORDER = load_hand_order(root)
    unittest.main(argv=sys.argv[:1], verbosity=2)
