"""A person's whole game at the web table, by clicks, against three computer
players: the page's contract on every step, and a console free of errors.
    whole_game_test.py LERVA-SERVER SOURCE-ROOT"""
import json
import re
import sys
import unittest

import browser
from browser import Browser, Server
from player import Player

SERVER = HAND_ORDER = None
FAST = ("--bot-delay", "0", "--trick-pause", "0", "--trump-pause", "0")


def load_hand_order(root):
    with open(f"{root}/web/js/generated.js", encoding="utf-8") as module:
        text = module.read()
    return json.loads(re.search(r"HAND_ORDER = (\[[^\]]*\])", text).group(1))


class WholeGame(unittest.TestCase):
    def setUp(self):
        self.server = Server(SERVER, "--bots", "3", "--bot-level", "heuristic", "--seed", "3", *FAST)
        self.page = Browser()

    def tearDown(self):
        self.page.close()
        self.server.stop()

    def test_plays_a_whole_game_to_twelve_points(self):
        page = self.page
        page.open(self.server.url)
        self.assertEqual(page.text("#score"), "0 : 0")
        page.connect("Inimene")
        page.wait(lambda: len(page.state()["hand"]) == 9, 20, "the first deal")
        state = page.state()
        self.assertEqual(state["log"][:2], ["Ühendus serveriga loodud", "Ootan teisi mängijaid..."])
        self.assertEqual(state["names"][0], "Inimene")
        self.assertTrue(all(state["names"][1:]), f"every seat has a name: {state['names']}")

        state = Player(self, page, HAND_ORDER).play_until(lambda s: "terve mängu tulemusega" in s["result"], 600)
        own, other = map(int, state["score"].split(" : "))
        self.assertGreater(max(own, other), 11)
        verdict = "võitsite" if own > 11 else "kaotasite"
        self.assertIn(f"Teie {verdict} terve mängu tulemusega {own}/{other}", state["result"])
        page.wait(lambda: page.state()["log"][-1] == "Mäng katkestatud", 10, "the connection closed after the game")
        self.assertEqual(page.text("#connect-button"), "Ühenda")
        self.assertEqual(page.console_errors(), [])


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        print(f"SKIPPED: {reason}")
        sys.exit(77)
    SERVER, HAND_ORDER = sys.argv[1], load_hand_order(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
