"""Clicking headlines as a user does, on the real window: web pages reach
the browser with the referral, and links to files, programs or another
registered URL scheme start nothing."""
import re
import shutil
import subprocess
import time

from harness import FeedServer, Ticker, click, run, wait_for

BROWSER_KEY = r"HKCU\Software\Wine\WineBrowser"
# Wine looks up URL schemes in HKEY_CLASSES_ROOT itself, not per user.
SCHEME_KEY = r"HKCR\kavtest"
LIST_AREA = (30, 75, 390, 213)  # the news list inside the window: x, y, width, height


def display(env):
    out = subprocess.run([str(env.wine_run), str(env.build), "--env"], capture_output=True, text=True).stdout
    return re.search(r"DISPLAY='([^']*)'", out).group(1)



def referral(env):
    cache = (env.build / "CMakeCache.txt").read_text()
    return re.search(r"^KAVRELO_REFERRAL:STRING=(.*)$", cache, re.M).group(1)


class Traps:
    """A fake browser that logs what it is asked to open, and a URL scheme
    "kavtest:" whose handler leaves a file, both registered in the prefix."""

    def __init__(self, env):
        self.env = env
        self.dir = env.scratch / "links"
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir()
        self.log = self.dir / "browser.log"
        self.marker = self.dir / "kavtest.txt"
        browser = self.dir / "browser.sh"
        browser.write_text(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{self.log}"\n')
        browser.chmod(0o755)
        env.wine("reg", "add", BROWSER_KEY, "/v", "Browsers", "/t", "REG_SZ", "/d", str(browser), "/f")
        marker = "Z:" + str(self.marker).replace("/", "\\")
        env.wine("reg", "add", SCHEME_KEY, "/ve", "/t", "REG_SZ", "/d", "URL:kavtest", "/f")
        env.wine("reg", "add", SCHEME_KEY, "/v", "URL Protocol", "/t", "REG_SZ", "/d", "", "/f")
        env.wine("reg", "add", SCHEME_KEY + r"\shell\open\command", "/ve", "/t", "REG_SZ",
                 "/d", f'cmd.exe /c echo started > "{marker}"', "/f")

    def opened(self):
        return self.log.read_text().splitlines() if self.log.exists() else []

    def check_they_catch(self):
        # Each trap must spring when asked the ordinary way, or the test
        # below could not fail.
        self.env.wine("cmd", "/c", "start", "", "kavtest:probe")
        wait_for(self.marker.exists, 20, "the kavtest: handler to leave its file")
        self.marker.unlink()
        self.env.wine("winebrowser", "http://127.0.0.1/probe")
        wait_for(lambda: self.opened() == ["http://127.0.0.1/probe"], 20, "the fake browser")
        self.log.unlink()

    def close(self):
        self.env.wine("reg", "delete", BROWSER_KEY, "/v", "Browsers", "/f")
        self.env.wine("reg", "delete", SCHEME_KEY, "/f")


def rss(links):
    items = "".join(f"<item><title>Haber {i + 1}</title><link>{link}</link></item>"
                    for i, link in enumerate(links))
    return ('<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>t</title>'
            f"{items}</channel></rss>").encode("utf-8")


def headlines(env):
    """Screen points inside each headline of the list, top to bottom: rows
    holding the headline's dark blue, grouped into bands."""
    info = env.probe()
    if not info or info.get("visible") != "1":
        return []
    x0, y0 = int(info["x"]) + LIST_AREA[0], int(info["y"]) + LIST_AREA[1]
    w, h = LIST_AREA[2], LIST_AREA[3]
    shot = subprocess.run(f"xwd -root -silent -display {display(env)} | /usr/bin/convert xwd:- "
                          f"-crop {w}x{h}+{x0}+{y0} +repage -depth 8 rgb:-",
                          shell=True, capture_output=True, timeout=30).stdout
    if len(shot) != w * h * 3:
        return []
    bands, start, first_x = [], None, w
    for y in range(h + 1):
        xs = []
        if y < h:
            row = shot[y * w * 3:(y + 1) * w * 3]
            xs = [x for x in range(w) if row[3 * x + 2] > 110 and row[3 * x] < 70 and row[3 * x + 1] < 70]
        if xs and start is None:
            start, first_x = y, w
        if xs:
            first_x = min(first_x, xs[0])
        if not xs and start is not None:
            bands.append((x0 + first_x + 3, y0 + (start + y) // 2))
            start = None
    return bands


def show_feed(env, links):
    env.fresh_data_folder()
    server = FeedServer(env.port, rss(links))
    ticker = Ticker(env)
    try:
        points = wait_for(lambda: (lambda b: b if len(b) == len(links) else None)(headlines(env)), 40,
                          f"{len(links)} headlines on screen")
    except BaseException:
        ticker.stop()
        server.close()
        raise
    return server, ticker, points


def test_web_links_reach_the_browser_with_the_referral(env):
    traps = Traps(env)
    try:
        traps.check_they_catch()
        base = f"http://127.0.0.1:{env.port}"
        server, ticker, points = show_feed(env, [f"{base}/haber?a=1#x", "https://haber.example/guvenli",
                                                 "/goreli/3"])
        with server, ticker:
            ref = referral(env)
            want = []
            for point, address in zip(points, [f"{base}/haber?a=1&ref={ref}#x",
                                               f"https://haber.example/guvenli?ref={ref}",
                                               f"{base}/goreli/3?ref={ref}"]):
                click(env, *point)
                want.append(address)
                wait_for(lambda: len(traps.opened()) >= len(want), 20, f"the browser to get {address}")
            assert traps.opened() == want, traps.opened()
    finally:
        traps.close()


def notepads():
    r = subprocess.run(["pgrep", "-fi", "notepad"], capture_output=True, text=True)
    return r.stdout.split()


def test_files_programs_and_other_schemes_start_nothing(env):
    traps = Traps(env)
    try:
        traps.check_they_catch()
        before = notepads()
        sentinel = "https://haber.example/son"
        server, ticker, points = show_feed(env, [sentinel, "file:///C:/windows/notepad.exe",
                                                 r"C:\windows\notepad.exe", "kavtest:payload"])
        with server, ticker:
            for point in points[1:] + points[:1]:
                click(env, *point)
            # The web link, clicked last, arrives after the others were handled;
            # a launched handler gets two more seconds to show itself.
            try:
                wait_for(traps.opened, 20, "the browser to get the last click")
            except AssertionError:
                # A program that was started takes the focus, the ticker
                # shrinks and the last click misses: say what started.
                raise AssertionError(f"the last click got nowhere; kavtest: handler started: "
                                     f"{traps.marker.exists()}, notepad started: {notepads() != before}")
            time.sleep(2)  # time for a wrongly started handler or notepad to show itself
            assert traps.opened() == [f"{sentinel}?ref={referral(env)}"], traps.opened()
            assert not traps.marker.exists(), "the kavtest: handler was started"
            assert notepads() == before, "notepad was started"
    finally:
        traps.close()


if __name__ == "__main__":
    run([test_web_links_reach_the_browser_with_the_referral, test_files_programs_and_other_schemes_start_nothing])
