"""Headless Chromium for the web table's tests, and the page's contract as
the tests reach it (ids, data attributes, button texts)."""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

CHROMIUM = os.environ.get("LERVA_CHROMIUM", "/usr/bin/chromium")
CHROMEDRIVER = os.environ.get("LERVA_CHROMEDRIVER", "/usr/bin/chromedriver")

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.common.exceptions import StaleElementReferenceException, WebDriverException
except ImportError:  # checked in missing()
    webdriver = None


def missing():
    """Why the browser tests cannot run here, or None."""
    if webdriver is None:
        return "python3-selenium is not installed (./lerva setup installs it)"
    for path in (CHROMIUM, CHROMEDRIVER):
        if not os.access(path, os.X_OK):
            return f"{path} is not installed (./lerva setup installs chromium and chromium-driver)"
    return None


class Server:
    """lerva-server with a web port, on free ports of 127.0.0.1."""

    def __init__(self, binary, *args):
        self.process = subprocess.Popen(
            [binary, "--bind", "127.0.0.1", "--port", "0", "--web-port", "0", "--log-level", "info", *args],
            stderr=subprocess.PIPE, text=True)
        self.port = self.web_port = None
        deadline = time.monotonic() + 20
        while (self.port is None or self.web_port is None) and time.monotonic() < deadline:
            line = self.process.stderr.readline()
            if not line:
                break
            if m := re.search(r"listening on [\d.]+:(\d+)", line):
                self.port = int(m.group(1))
            if m := re.search(r"web table at http://[\d.]+:(\d+)/", line):
                self.web_port = int(m.group(1))
        if self.web_port is None:
            self.stop()
            raise RuntimeError("the server did not start its web port")
        # The log keeps flowing; nobody must have to wait for us to read it.
        self.drain = subprocess.Popen(["cat"], stdin=self.process.stderr, stdout=subprocess.DEVNULL)

    @property
    def url(self):
        return f"http://127.0.0.1:{self.web_port}/"

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Browser:
    def __init__(self, width=1024, height=800, mobile=False):
        self.profile = tempfile.mkdtemp(prefix="lerva-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", f"--user-data-dir={self.profile}", f"--window-size={width},{height}"):
            options.add_argument(flag)
        if mobile:
            options.add_experimental_option("mobileEmulation", {
                "deviceMetrics": {"width": width, "height": height, "pixelRatio": 2, "touch": True}})
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url):
        self.driver.get(url)
        self.wait(lambda: self.driver.find_element(By.TAG_NAME, "body").get_attribute("data-ready") == "true", 20)

    def wait(self, condition, seconds=30, what="the page"):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                if condition():
                    return
            except StaleElementReferenceException:
                pass
            time.sleep(0.02)
        raise AssertionError(f"{what}: timed out after {seconds} s")

    def console_errors(self):
        return [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    # ---- The page's contract

    STATE = """
        const text = (css) => document.querySelector(css)?.innerText ?? "";
        const enabled = (buttons) => [...buttons].filter((b) => !b.disabled).map((b) => b.textContent);
        return {
            info: text("#info"), result: text("#result"), score: text("#score"),
            log: [...document.querySelectorAll("#log li")].map((li) => li.textContent),
            hand: [...document.querySelectorAll("button[data-card]")].map((b) => Number(b.dataset.card)),
            bids: enabled([...document.querySelectorAll("button:not([data-suit]):not([data-card])")]
                .filter((b) => ["Pass", "1", "2", "3", "4", "5", "6", "7", "8", "9", "Ruutu"].includes(b.textContent))),
            trumps: enabled(document.querySelectorAll("button[data-suit]")),
            names: [0, 1, 2, 3].map((seat) => text(`#seat-${seat} .name`)),
        };"""

    def state(self):
        """What the page shows, read in one go (the clicks stay real clicks)."""
        return self.driver.execute_script(self.STATE)

    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def text(self, css):
        return self.find(css).text

    def connect(self, name):
        field = self.find("input#name")
        field.clear()
        field.send_keys(name)
        self.driver.find_element(By.XPATH, "//button[normalize-space()='Ühenda']").click()

    def hand(self):
        """The player's cards as shown, left to right."""
        return [int(b.get_attribute("data-card")) for b in self.driver.find_elements(By.CSS_SELECTOR, "button[data-card]")]

    def card_button(self, card):
        return self.find(f"button[data-card='{card}']")

    def bid_button(self, label):
        # The top bid and the diamonds trump button share "Ruutu"; trump buttons carry data-suit.
        return self.driver.find_element(By.XPATH, f"//button[normalize-space()='{label}' and not(@data-suit)]")

    def bid_buttons(self):
        return [self.bid_button(label) for label in ["Pass", *map(str, range(1, 10)), "Ruutu"]]

    def trump_button(self, suit):
        return self.find(f"button[data-suit='{suit}']")

    def trump_buttons(self):
        return [self.trump_button(suit) for suit in range(1, 5)]


def skip_unless_browser(test_class):
    reason = missing()
    return unittest.skip(reason)(test_class) if reason else test_class
