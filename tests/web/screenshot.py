"""Pictures of the web table in the middle of a deal, at a desktop's and a
phone's size, for the README.
    screenshot.py LERVA-SERVER SOURCE-ROOT [OUT-DIR (default SOURCE-ROOT/docs/img)]"""
import sys
import unittest

import browser
from browser import Browser, Server
from player import Player
from whole_game_test import load_hand_order

SIZES = {"web-desktop.png": (1024, 768, False), "web-phone.png": (360, 640, True)}


class Shots(unittest.TestCase):
    def test_take(self):
        binary, root = sys.argv[1], sys.argv[2]
        out = sys.argv[3] if len(sys.argv) > 3 else f"{root}/docs/img"
        for file, (width, height, mobile) in SIZES.items():
            server = Server(binary, "--bots", "3", "--bot-level", "heuristic", "--seed", "11",
                            "--bot-delay", "0", "--trick-pause", "0", "--trump-pause", "0")
            page = Browser(width, height, mobile)
            try:
                page.open(server.url)
                page.connect("Mari")
                # Mid-deal, the player's turn, with cards on the table.
                Player(self, page, load_hand_order(root)).play_until(
                    lambda s: "Sinu kord käia" in s["info"] and 3 <= len(s["hand"]) <= 7
                    and len(page.driver.find_elements(browser.By.CSS_SELECTOR, "#trick img")) >= 2, 120)
                page.driver.save_screenshot(f"{out}/{file}")
                print(f"wrote {out}/{file}")
            finally:
                page.close()
                server.stop()


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        sys.exit(f"cannot take the pictures: {reason}")
    unittest.main(argv=sys.argv[:1])
