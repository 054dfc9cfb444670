#!/usr/bin/python3
"""The explorer page in a real browser: Debian's Chromium, headless, driven
through chromedriver by python3-selenium (which only Debian's /usr/bin/python3
sees). The page is opened from disk, as a user opens it, and what it shows is
held to what the native deal-period and deal-after print.

    explorer_browser.py PAGE NATIVE_BUILD_DIR [--screenshot PNG]

Exits 77 (skipped) with the reason where no browser or driver is installed.
Prints the measured timings; none of them is asserted.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError as e:
    print(f"skipped: python3-selenium is not installed ({e})")
    sys.exit(77)

CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
BIG = 10**40 + 3
THOUSAND_DIGITS = int("9" * 1000)

# (hands, round) reached by the address, or by typing into the fields.
VIEWS = [
    (1, "0", "address"),
    (2, "7", "typed"),
    (4, "-1", "address"),
    (12, str(BIG), "typed"),
    (757, "-" + str(BIG), "address"),
    (1010, str(THOUSAND_DIGITS), "typed"),
]

# Refused, with the message next to the fields and the last view kept.
BAD = [
    ("hands", "1011"),
    ("hands", "0"),
    ("hands", "-3"),
    ("hands", "12x"),
    ("hands", ""),
    ("round", "12x"),
    ("round", ""),
    ("round", "1" * 10000),
]


def native(build, program, *arguments):
    return subprocess.run([os.path.join(build, program), *map(str, arguments)],
                          check=True, capture_output=True, text=True).stdout


class Page:
    def __init__(self, page, width, height):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        self.profile = tempfile.mkdtemp(prefix="explorer-browser-")
        for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", f"--user-data-dir={self.profile}",
                     f"--window-size={width},{height}", "--force-device-scale-factor=1"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(DRIVER), options=options)
        self.url = "file://" + os.path.abspath(page)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, query=""):
        self.driver.get(self.url + query)
        self.wait_ready()

    def wait_ready(self):
        WebDriverWait(self.driver, 20).until(
            lambda d: d.execute_script("return document.body.dataset.ready") == "1")

    def wait_for(self, testid, text):
        try:
            WebDriverWait(self.driver, 10).until(lambda d: self.text(testid) == text)
        except Exception:
            pass  # the caller's comparison says what differs
        return self.text(testid)

    def element(self, testid):
        return self.driver.find_element(By.CSS_SELECTOR, f'[data-testid="{testid}"]')

    def text(self, testid):
        return self.driver.execute_script("return arguments[0].textContent", self.element(testid))

    def type(self, testid, text):
        field = self.element(testid)
        field.clear()
        # A long number goes in through the script; keys for the rest.
        if len(text) > 200:
            self.driver.execute_script("arguments[0].value = arguments[1]", field, text)
        else:
            field.send_keys(text)
        field.send_keys(Keys.ENTER)

    def query(self):
        return self.driver.execute_script("return location.search")

    def errors(self):
        return [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("native")
    parser.add_argument("--screenshot")
    args = parser.parse_args()
    for path in (CHROMIUM, DRIVER):
        if not os.access(path, os.X_OK):
            print(f"skipped: {path} is not installed (Debian: chromium and chromium-driver)")
            return 77

    failures = []
    checked = 0

    def verify(what, ok):
        nonlocal checked
        checked += 1
        if not ok:
            failures.append(what)

    def check(what, got, wanted):
        verify(f"{what}: got {got[:160]!r}, wanted {wanted[:160]!r}", got == wanted)

    size = os.path.getsize(args.page)
    verify(f"the page is {size} bytes, not under 300 KB", size < 300_000)

    started = time.monotonic()
    page = Page(args.page, 1280, 900)
    try:
        page.open()
        ready_ms = page.driver.execute_script("return window.dealExplorer.readyAt")

        for hands, rounds, how in VIEWS:
            if how == "address":
                page.open(f"?hands={hands}&round={rounds}")
            else:
                page.type("hands", str(hands))
                page.type("round", rounds)
                page.wait_ready()
            label = f"{hands} hands, round {rounds[:12]} ({how})"
            period = native(args.native, "deal-period", hands).split()[1]
            listing = native(args.native, "deal-after", hands, rounds).rstrip("\n")
            check(f"{label}: period", page.wait_for("period", period), period)
            check(f"{label}: listing", page.wait_for("listing", listing), listing)
            check(f"{label}: address", page.query(), f"?hands={hands}&round={int(rounds)}")

        # Steps by key and by button, and Back, agree with the address and
        # with deal-after.
        page.open("?hands=3&round=5")
        canvas = page.element("canvas")
        canvas.send_keys(Keys.ARROW_RIGHT)
        page.element("next").click()
        page.element("previous").click()
        canvas.send_keys(Keys.ARROW_RIGHT)
        for rounds in ("7", "6", "7", "6", "5"):
            wanted = native(args.native, "deal-after", 3, rounds).rstrip("\n")
            check(f"stepped to round {rounds}: listing", page.wait_for("listing", wanted), wanted)
            check(f"stepped to round {rounds}: field",
                  page.element("round").get_attribute("value"), rounds)
            check(f"stepped to round {rounds}: address", page.query(), f"?hands=3&round={rounds}")
            page.driver.back()

        # A card pointed at and clicked is followed: its cycle is deal-cycles'.
        page.open("?hands=4&round=0")
        point = page.driver.execute_script("return window.dealExplorer.pointOf(0, 9)")
        canvas = page.element("canvas")
        webdriver.ActionChains(page.driver).move_to_element_with_offset(
            canvas, int(point["x"] - canvas.size["width"] / 2),
            int(point["y"] - canvas.size["height"] / 2)).click().perform()
        page.wait_ready()
        cycle = next(c for c in (line.split(": ")[1].split() for line in
                                  native(args.native, "deal-cycles", 4).splitlines()) if "9" in c)
        check("card 9 clicked: followed", page.element("card").get_attribute("value"), "9")
        verify(f"card 9 clicked: its cycle {cycle} in {page.text('info')!r}",
               f"its cycle has length {len(cycle)}" in page.text("info")
               and f"?hands=4&round=0&card=9" == page.query())

        # Bad input: a message, the view kept, the page still answering.
        page.open("?hands=6&round=2")
        kept = page.text("listing")
        for field, text in BAD:
            page.type(field, text)
            page.wait_ready()
            shown = f"{field} {text[:12]!r}"
            verify(f"{shown}: no message", page.text("error").strip() != "")
            check(f"{shown}: listing", page.text("listing"), kept)
            check(f"{shown}: address", page.query(), "?hands=6&round=2")
            page.type("hands", "6")
            page.type("round", "2")
            page.wait_ready()
            check(f"{shown}: message gone once fixed", page.text("error").strip(), "")
        page.open("?hands=5000&round=1x")
        verify("a bad address: no message", page.text("error").strip() != "")
        check("a bad address: the default view", page.query(), "?hands=4&round=0")

        # The numbers that matter for speed, measured in the page.
        page.open("?hands=1010&round=0")
        step_ms = page.driver.execute_script("return window.dealExplorer.timeStep(50)")
        jump_ms, jump_drawn_ms = (page.driver.execute_script(
            f"return window.dealExplorer.{how}(arguments[0], 50)", str(THOUSAND_DIGITS))
            for how in ("timeJump", "timeJumpDrawn"))

        errors = page.errors()
        verify(f"console errors: {errors}", not errors)
    finally:
        page.close()

    # A phone: 375 px wide at two device pixels a pixel; nothing sticks out
    # sideways.
    phone = Page(args.page, 600, 812)
    try:
        phone.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 375, "height": 812, "deviceScaleFactor": 2, "mobile": True})
        phone.open("?hands=4&round=3")
        check("at 375 px: the listing", phone.text("listing"),
              native(args.native, "deal-after", 4, 3).rstrip("\n"))
        overflow = phone.driver.execute_script(
            "return document.documentElement.scrollWidth - document.documentElement.clientWidth")
        verify(f"at 375 px the page is {overflow} px too wide", overflow <= 0)
    finally:
        phone.close()

    if args.screenshot:
        shot = Page(args.page, 1280, 980)
        try:
            shot.open("?hands=4&round=0&card=9")
            shot.driver.save_screenshot(args.screenshot)
        finally:
            shot.close()

    print(f"page: {size} bytes; ready {ready_ms:.0f} ms after the start of loading")
    print(f"at 1010 hands: a step, computed and drawn, {step_ms:.2f} ms; a jump to a "
          f"1000-digit round {jump_ms:.3f} ms, and drawn {jump_drawn_ms:.2f} ms")
    print(f"whole test: {time.monotonic() - started:.1f} s")
    for failure in failures:
        print("FAIL", failure)
    print(f"{checked - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
