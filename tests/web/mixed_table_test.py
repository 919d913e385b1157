"""A table shared by a browser player and a player on the game's TCP port,
with two computer players: they see each other's names and play one game
to its end.
    mixed_table_test.py LERVA-SERVER SOURCE-ROOT LERVA-TCP-PLAYER
        the TCP player is the server tests' scripted client
    mixed_table_test.py LERVA-SERVER SOURCE-ROOT --windows-client COMMAND...
        the TCP player is the real Windows client, driven by COMMAND (the
        client's whole-game test under Wine, as "Inimene", on port 113)"""
import os
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
        server_binary, root, *other = ARGS
        windows = other[0] == "--windows-client"
        port = ["--port", "113"] if windows else []
        server = Server(server_binary, "--bots", "2", "--bot-level", "heuristic", "--seed", "5", *FAST, *port)
        page = Browser(360, 640, mobile=True)   # and on a phone's screen
        try:
            page.open(server.url)
            page.connect("Brauser")
            page.wait(lambda: "Ootan teisi mängijaid..." in page.state()["log"], 10, "the browser joined")
            if windows:
                other_name, command = "Inimene", other[1:]
                env = dict(os.environ, LERVA_SERVER_PORT=str(server.port))
            else:
                other_name, command, env = "Aken", [other[0], str(server.port), "Aken"], None
            tcp = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env,
                                   encoding="cp1252", errors="replace")   # the client prints ANSI text
            page.wait(lambda: len(page.state()["hand"]) == 9, 60, "the deal")
            self.assertIn(other_name, page.state()["names"][1:])
            # With the real client the whole game; with the scripted one a
            # deal, then the browser leaves and a computer player takes over.
            ended = "terve mängu tulemusega" if windows else "selle mängu tulemusega"
            state = Player(self, page, load_hand_order(root)).play_until(lambda s: ended in s["result"], 900)
            if windows:
                own, other_points = map(int, state["score"].split(" : "))
                self.assertGreater(max(own, other_points), 11)
            else:
                page.find("#connect-button").click()
                self.assertEqual(page.state()["log"][-1], "Mäng katkestatud")
                self.assertEqual(page.text("#connect-button"), "Ühenda")
            out, _ = tcp.communicate(timeout=300)
            self.assertEqual(tcp.returncode, 0, out)
            if not windows:
                self.assertIn("Brauser", out, "the TCP player saw the browser player's name")
            self.assertEqual(page.console_errors(), [])
        finally:
            page.close()
            server.stop()


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        print(f"SKIPPED: {reason}")
        sys.exit(77)
    ARGS = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
