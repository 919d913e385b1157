"""A table shared by a browser player and a TCP player (the blocks the
Windows client sends), with two computer players: both see each other's
name, and both play the same game to its end.
    mixed_table_test.py LERVA-SERVER SOURCE-ROOT LERVA-TCP-PLAYER"""
import subprocess
import sys
import unittest

import browser
from browser import Browser, Server
from player import Player
from whole_game_test import FAST, load_hand_order

ARGS = None


class MixedTable(unittest.TestCase):
    def test_a_browser_and_a_tcp_player_share_a_table(self):
        server_binary, root, tcp_player = ARGS
        server = Server(server_binary, "--bots", "2", "--bot-level", "heuristic", "--seed", "5", *FAST)
        page = Browser(360, 640, mobile=True)   # and on a phone's screen
        try:
            page.open(server.url)
            page.connect("Brauser")
            page.wait(lambda: "Ootan teisi mängijaid..." in page.state()["log"], 10, "the browser joined")
            tcp = subprocess.Popen([tcp_player, str(server.port), "Aken"], stdout=subprocess.PIPE, text=True)
            page.wait(lambda: len(page.state()["hand"]) == 9, 20, "the deal")
            self.assertIn("Aken", page.state()["names"][1:])
            state = Player(self, page, load_hand_order(root)).play_until(
                lambda s: "terve mängu tulemusega" in s["result"], 600)
            out, _ = tcp.communicate(timeout=60)
            self.assertEqual(tcp.returncode, 0, out)
            self.assertIn("Brauser", out, "the TCP player saw the browser player's name")
            own, other = map(int, state["score"].split(" : "))
            self.assertGreater(max(own, other), 11)
            self.assertEqual(page.console_errors(), [])
        finally:
            page.close()
            server.stop()


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        print(f"SKIPPED: {reason}")
        sys.exit(77)
    ARGS = sys.argv[1:4]
    unittest.main(argv=sys.argv[:1], verbosity=2)
