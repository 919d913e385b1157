"""A picture of the review page for the README: the committed record's third
deal before its fifteenth card, its analysis done.
    review_screenshot.py LERVA-SERVER SOURCE-ROOT [OUT.png (default SOURCE-ROOT/docs/img/review.png)]"""
import shutil
import sys

import browser
from browser import Browser, Server
from review_test import open_game, record_folder

DEAL, CARDS_PLAYED = 3, 14


def take(binary, root, out):
    folder = record_folder(root)
    server = Server(binary, "--log-dir", folder)
    page = Browser(1100, 1500)
    try:
        open_game(page, server)
        page.find(f"#deals button[data-deal='{DEAL}']").click()
        for _ in range(CARDS_PLAYED):
            page.find("#forward").click()
        page.driver.save_screenshot(out)
        print(f"wrote {out}")
    finally:
        page.close()
        server.stop()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    if (reason := browser.missing()) is not None:
        sys.exit(f"cannot take the picture: {reason}")
    take(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else f"{sys.argv[2]}/docs/img/review.png")
