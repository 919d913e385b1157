"""The review of a recorded game in headless Chromium: the list finds it, the
replay shows every card's loss as --analyze gives it, and a second view (of
a server started again) is served from the analysis kept beside the record.
    review_test.py LERVA-SERVER SOURCE-ROOT"""
import json
import shutil
import subprocess
import sys
import tempfile
import unittest

import browser
from browser import Browser, By, Server

SERVER = ROOT = None
RECORD = "bench/records/game-8-deals.jsonl"
GAME = "game-20261209-185310-t3"   # the name the server gave that record

# The contract of the replay page: the shown deal's plays, in play order.
SHOWN_PLAYS = """return [...document.querySelectorAll('#plays .play')].map((e) =>
    ({seat: Number(e.dataset.seat), card: Number(e.dataset.card), loss: Number(e.dataset.loss)}));"""
# What the server answered each of the page's requests for the analysis.
ANALYSIS_ANSWERS = """return performance.getEntriesByType('resource')
    .filter((e) => e.name.endsWith('/analysis')).map((e) => e.responseStatus);"""


def record_folder(root):
    """A log folder holding the committed record under a server's name for it."""
    folder = tempfile.mkdtemp(prefix="lerva-review-")
    shutil.copy(f"{root}/{RECORD}", f"{folder}/{GAME}.jsonl")
    return folder


def open_game(page, server):
    """From the list of games to the replay of GAME, its analysis done."""
    page.driver.get(server.url + "review")
    link = f"tr[data-game='{GAME}'] a"
    page.wait(lambda: page.driver.find_elements(By.CSS_SELECTOR, link), 20, "the list of games")
    page.find(link).click()
    page.wait(lambda: page.find("#analysis-status").get_attribute("data-state") in ("done", "failed"), 50,
              "the analysis")
    assert page.find("#analysis-status").get_attribute("data-state") == "done", page.text("#analysis-text")


class Review(unittest.TestCase):
    def setUp(self):
        self.folder = record_folder(ROOT)
        self.page = Browser()
        self.server = Server(SERVER, "--log-dir", self.folder)

    def tearDown(self):
        self.page.close()
        self.server.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def shown_deal(self, deal):
        self.page.find(f"#deals button[data-deal='{deal}']").click()
        return self.page.driver.execute_script(SHOWN_PLAYS)

    def test_shows_the_losses_of_analyze_and_keeps_them(self):
        analyze = subprocess.run([SERVER, "--analyze", f"{self.folder}/{GAME}.jsonl"],
                                 capture_output=True, text=True, check=True)
        expected = {deal["deal"]: [{key: play[key] for key in ("seat", "card", "loss")} for play in deal["plays"]]
                    for deal in map(json.loads, analyze.stdout.splitlines())}
        self.assertEqual(len(expected), 8)

        open_game(self.page, self.server)
        self.assertIn(202, self.page.driver.execute_script(ANALYSIS_ANSWERS), "the first view waits for the analysis")
        for deal, plays in expected.items():
            self.assertEqual(self.shown_deal(deal), plays, f"deal {deal}")

        self.server.stop()   # nothing of the first view is left in memory
        self.server = Server(SERVER, "--log-dir", self.folder)
        open_game(self.page, self.server)
        self.assertEqual(self.page.driver.execute_script(ANALYSIS_ANSWERS), [200], "the second view comes from the stored analysis")
        self.assertEqual(self.shown_deal(3), expected[3])
        self.assertEqual(self.page.console_errors(), [])


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        print(f"SKIPPED: {reason}")
        sys.exit(77)
    SERVER, ROOT = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
