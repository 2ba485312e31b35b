"""The face follows the user's display preferences: apps in dark mode (at
start, and switched live by the registry value and the shell's broadcast),
high contrast (through the test build's registry seam, in colours set with
SetSysColors), Windows' Text size (at start, and live through the registry
watch) and the menu's own size, and animations switched off. Each by a shot
of the window (out/face-display-*.png) and, where it applies, what a screen
reader reads. Every test puts the prefix's settings back as it found them."""
import subprocess
import threading
import time
import xml.etree.ElementTree as ElementTree

from harness import (SELECTED, FeedServer, Shot, Ticker, access_tree, click, feed, full_face, ini, news_items,
                     point_at, run, steady, wait_for, wait_selected, window_id, xdo)
from test_dpi import resting_face, set_dpi, write_ini
from test_links import Traps

PERSONALIZE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
ACCESSIBILITY = r"HKCU\Software\Microsoft\Accessibility"
SEAM = r"HKCU\Software\Kavrelo\Test"
WM_COMMAND, WM_ACTIVATE = 273, 6
CMD_OPTIONS, CMD_TEXT_200, CMD_TEXT_100 = 40003, 40014, 40010
# System colour indexes: window, window text, highlight, highlight text,
# button face, button text, hot-tracked link.
WINDOW, WINDOWTEXT, HIGHLIGHT, HIGHLIGHTTEXT, BTNFACE, BTNTEXT, HOTLIGHT = 5, 8, 13, 14, 15, 18, 26
CONTRAST = {WINDOW: "000000", WINDOWTEXT: "FFFFFF", HIGHLIGHT: "1AEBFF", HIGHLIGHTTEXT: "000000",
            BTNFACE: "202020", BTNTEXT: "FFFFFF", HOTLIGHT: "FFFF00"}
# The list and its scroller in the window at 96 DPI (x, y, w, h).
LIST = (30, 75, 390, 213)
SCROLLER = (30 + 395, 75, 20, 213)


def reg_dword(env, key, name, value):
    r = env.wine("reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")
    assert r.returncode == 0, r.stdout + r.stderr


class Preferences:
    """Puts back what a test changed: the dark-mode and text-size values,
    the seam, the system colours and the animations."""

    def __init__(self, env):
        self.env = env
        r = env.wine(env.probe_exe, "syscolors", *CONTRAST)
        self.colors = r.stdout.split()
        assert len(self.colors) == len(CONTRAST), r.stdout + r.stderr

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        env = self.env
        env.kill_all()
        env.wine("reg", "delete", PERSONALIZE, "/v", "AppsUseLightTheme", "/f")
        env.wine("reg", "delete", ACCESSIBILITY, "/v", "TextScaleFactor", "/f")
        env.wine("reg", "delete", SEAM, "/f")
        env.wine(env.probe_exe, "syscolors", *self.colors)
        env.wine(env.probe_exe, "animations", 1)


def start(env):
    """A fresh data folder at 96 DPI, for a ticker that does not shrink
    when inactive."""
    env.fresh_data_folder()
    set_dpi(env, 96)
    write_ini(env, {"left": 300, "top": 200}, {"autoscale": 0, "alwaystop": 1})


def mode_color(shot, box):
    """The commonest colour in box: the list's background, whatever its texts."""
    x0, y0, w, h = box
    counts = {}
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w, 3):
            p = shot.pixel(x, y)
            counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


def count(shot, box, test):
    x0, y0, w, h = box
    return sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w) if test(shot.pixel(x, y)))


def is_light(p):
    return min(p) > 215


def is_dark(p):
    return max(p) < 60


def news_count(env):
    items = news_items(access_tree(env) or [])
    return len(items or [])


def feed_items(env):
    return feed(env).count(b"<item>")


def first_link(env):
    return ElementTree.fromstring(feed(env)).find("channel/item/link").text.strip()


def test_dark_at_start(env):
    with Preferences(env):
        reg_dword(env, PERSONALIZE, "AppsUseLightTheme", 0)
        start(env)
        with FeedServer(env.port, feed(env)), Ticker(env):
            full_face(env)
            point_at(env, 1200, 1000)
            shot = resting_face(env, "display-dark")
            back = mode_color(shot, LIST)
            assert is_dark(back), f"the list lies on {back}, not on dark paper"
            # Headlines in light blue, summaries in light grey, both plenty.
            titles = count(shot, LIST, lambda p: p[2] > 200 and 110 < p[0] < 180 and p[1] > 150)
            summaries = count(shot, LIST, lambda p: min(p) > 180 and max(p) - min(p) < 20)
            assert titles > 200 and summaries > 200, (titles, summaries)
            # The frame is the dark artwork's, the status line light on it.
            assert is_dark(shot.pixel(10, 150)), shot.pixel(10, 150)
            # Readers read the same list.
            assert news_count(env) == feed_items(env)


def test_dark_switched_live(env):
    with Preferences(env):
        reg_dword(env, PERSONALIZE, "AppsUseLightTheme", 1)
        start(env)
        with FeedServer(env.port, feed(env)), Ticker(env):
            full_face(env)
            point_at(env, 1200, 1000)
            assert is_light(mode_color(resting_face(env, "display-live-light"), LIST))
            # The value alone: the program watches it.
            reg_dword(env, PERSONALIZE, "AppsUseLightTheme", 0)
            wait_for(lambda: is_dark(mode_color(Shot(env, "display-live-dark"), LIST)), 20,
                     "the face to turn dark after the registry value")
            # Back, and the shell's broadcast of the change.
            reg_dword(env, PERSONALIZE, "AppsUseLightTheme", 1)
            assert env.wine(env.probe_exe, "setting", "ImmersiveColorSet").returncode == 0
            wait_for(lambda: is_light(mode_color(Shot(env, "display-live-light"), LIST)), 20,
                     "the face to turn light again")
            assert env.probe()["visible"] == "1"


def rgb(hex_color):
    return tuple(int(hex_color[i:i + 2], 16) for i in (0, 2, 4))


def near(p, hex_color):
    """Within 2 of the colour (text is drawn at alpha 254)."""
    return all(abs(a - b) <= 2 for a, b in zip(p, rgb(hex_color)))


def test_high_contrast_in_system_colours(env):
    with Preferences(env):
        # Wine keeps a process's system colours from its start: they are
        # set before the ticker starts.
        assert env.wine(env.probe_exe, "syscolors", *(f"{k}={v}" for k, v in CONTRAST.items())).returncode == 0
        reg_dword(env, SEAM, "HighContrast", 1)
        start(env)
        with FeedServer(env.port, feed(env)), Ticker(env):
            full_face(env)
            point_at(env, 1200, 1000)
            shot = resting_face(env, "display-contrast")
            assert mode_color(shot, LIST) == rgb(CONTRAST[WINDOW]), mode_color(shot, LIST)
            # Headlines are links: the hot-tracking colour.
            links = count(shot, LIST, lambda p: near(p, CONTRAST[HOTLIGHT]))
            assert links > 100, f"{links} pixels of headline colour"
            # The frame in the button face, a line of text colour round the
            # window: opaque to its corners, no artwork.
            assert shot.pixel(10, 150) == rgb(CONTRAST[BTNFACE]), shot.pixel(10, 150)
            for corner in ((0, 0), (474, 0), (0, 349), (474, 349)):
                assert shot.pixel(*corner) == rgb(CONTRAST[BTNTEXT]), (corner, shot.pixel(*corner))
            # Focus rectangles and the selection show before any key: the
            # first headline lies in the highlight.
            lit = count(shot, LIST, lambda p: p == rgb(CONTRAST[HIGHLIGHT]))
            assert lit > 500, f"{lit} pixels of the highlight"
            assert news_count(env) == feed_items(env)
            # High contrast switched off: the artwork's light face again.
            reg_dword(env, SEAM, "HighContrast", 0)
            wait_for(lambda: is_light(mode_color(Shot(env, "display-contrast-off"), LIST)), 20,
                     "the light face after high contrast")


def bands(shot, test):
    """Runs of list rows holding a pixel that passes `test`: [(top, bottom)]."""
    x0, y0, w, h = LIST
    rows = [any(test(shot.pixel(x, y)) for x in range(x0, x0 + w)) for y in range(y0, y0 + h)]
    out, begin = [], None
    for i, on in enumerate(rows + [False]):
        if on and begin is None:
            begin = i
        elif not on and begin is not None:
            # The dot of an "İ" stands a row or two above its line.
            if out and y0 + begin - out[-1][1] <= 3:
                out[-1] = (out[-1][0], y0 + i)
            else:
                out.append((y0 + begin, y0 + i))
            begin = None
    return out


def is_title(p):
    return p[2] > 100 and p[0] < 70 and p[1] < 70


def is_summary(p):
    return max(p) < 100 and max(p) - min(p) < 20


def first_line_height(shot):
    """The height of the first headline's first line of glyphs."""
    found = bands(shot, is_title)
    assert found, "no headline on the list"
    return found[0][1] - found[0][0]


def check_whole(shot):
    """Headlines and summaries apart, none in the scroller's column."""
    x0, y0, w, h = LIST
    title_rows = {y for top, bottom in bands(shot, is_title) for y in range(top, bottom)}
    summary_rows = {y for top, bottom in bands(shot, is_summary) for y in range(top, bottom)}
    assert not title_rows & summary_rows, f"headline and summary share rows {sorted(title_rows & summary_rows)[:5]}"
    under = count(shot, (x0 + w - 2, y0, 2 + 25, h), lambda p: is_title(p) or is_summary(p))
    assert under == 0, f"{under} text pixels at the list's right edge or under the scroller"


def sized(env, name, low, high):
    """Waits until the first headline's line is between low and high
    pixels tall; the shot."""
    def ok():
        shot = Shot(env, name)
        found = bands(shot, is_title)
        return shot if found and low <= found[0][1] - found[0][0] <= high else None
    return wait_for(ok, 20, f"a first headline line {low} to {high} pixels tall")


def test_text_size(env):
    traps = Traps(env)
    try:
        with Preferences(env):
            reg_dword(env, ACCESSIBILITY, "TextScaleFactor", 100)
            start(env)
            with FeedServer(env.port, feed(env)), Ticker(env):
                x, y = full_face(env)
                point_at(env, 1200, 1000)
                base = first_line_height(resting_face(env, "display-text-100"))
                # Windows' Text size at 150%, then 225%, live through the watch.
                reg_dword(env, ACCESSIBILITY, "TextScaleFactor", 150)
                shot = sized(env, "display-text-150", round(base * 1.3), round(base * 1.7))
                check_whole(shot)
                reg_dword(env, ACCESSIBILITY, "TextScaleFactor", 225)
                shot = sized(env, "display-text-225", round(base * 2.0), round(base * 2.5))
                check_whole(shot)
                # The menu's 200% with Windows' 100%: kept in the options.
                reg_dword(env, ACCESSIBILITY, "TextScaleFactor", 100)
                sized(env, "display-text-back", base - 1, base + 1)
                assert env.post(WM_COMMAND, CMD_TEXT_200)
                shot = sized(env, "display-text-menu-200", round(base * 1.8), round(base * 2.2))
                check_whole(shot)
                wait_for(lambda: ini(env).get("textsize") == "200", 10, "textsize=200 in options.ini")
                # The first headline's second line (below it at 100%: its
                # summary) opens the headline.
                titles = bands(shot, is_title)
                first_summary = bands(shot, is_summary)[0][0]
                line = [b for b in titles if b[1] <= first_summary][-1]
                assert line != titles[0], f"the first headline is one line at 200%: {titles}"
                click(env, x + LIST[0] + 10, y + (line[0] + line[1]) // 2)
                wait_for(traps.opened, 20, "the browser to get the first headline")
                assert traps.opened()[0].startswith(first_link(env)), traps.opened()
                # The keyboard: End selects the last headline and shows it.
                xdo(env, "key", "End")
                items = feed_items(env)
                node = wait_selected(env, items)
                assert node.has(SELECTED)
                point_at(env, 1200, 1000)
                steady(lambda: Shot(env, "display-text-end").region(*LIST), "the list at its end")
            # The next start keeps the menu's size.
            with FeedServer(env.port, feed(env)), Ticker(env):
                full_face(env)
                point_at(env, 1200, 1000)
                sized(env, "display-text-kept", round(base * 1.8), round(base * 2.2))
    finally:
        traps.close()


def xwd_region(data, box):
    """The pixels of box (x, y, w, h) in a window dump from xwd (ZPixmap,
    32 bits a pixel), as bytes."""
    field = [int.from_bytes(data[4 * i:4 * i + 4], "big") for i in range(25)]
    header, bits, per_line, colors = field[0], field[11], field[12], field[19]
    start, step = header + 12 * colors, bits // 8
    x, y, w, h = box
    return b"".join(data[start + (y + r) * per_line + x * step:start + (y + r) * per_line + (x + w) * step]
                    for r in range(h))


class Sampler:
    """Dumps of the window as fast as xwd makes them, in a thread; only
    the dumps are taken while it runs, their pixels are looked at after."""

    def __init__(self, env):
        self.xid = wait_for(lambda: window_id(env), 10, "the window's X id")
        self.display = env.display()
        self.dumps, self.stop = [], threading.Event()
        self.thread = threading.Thread(target=self.run)

    def dump(self):
        return subprocess.run(["xwd", "-id", self.xid, "-silent", "-display", self.display],
                              capture_output=True, timeout=30).stdout

    def run(self):
        while not self.stop.is_set():
            self.dumps.append(self.dump())

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stop.set()
        self.thread.join()


def open_options_watched(env, box):
    """Opens the options panel while the window is dumped: the dumps whose
    box is neither the face before nor the face after, and how many dumps
    there were."""
    with Sampler(env) as sampler:
        time.sleep(0.3)
        assert env.post(WM_COMMAND, CMD_OPTIONS)
        time.sleep(1.0)
    regions = [xwd_region(d, box) for d in sampler.dumps if len(d) > 100]
    before, after = regions[0], regions[-1]
    assert before != after, "the options panel did not open"
    # Closed again for the next round.
    assert env.post(WM_COMMAND, CMD_OPTIONS)
    steady(lambda: xwd_region(sampler.dump(), box), "the panel closed", unlike=after)
    between = [r for r in regions if r not in (before, after)]
    print(f"  {len(between)} of {len(regions)} dumps between", flush=True)
    return between, len(regions)


def test_reduced_motion(env):
    # The options sheet's path: it slides down over the list.
    box = (60, 80, 340, 200)
    with Preferences(env):
        start(env)
        with FeedServer(env.port, feed(env)), Ticker(env):
            full_face(env)
            point_at(env, 1200, 1000)
            # With animations on, the dumps see the slide (so they could see
            # it below).
            seen = 0
            for _ in range(3):
                between, total = open_options_watched(env, box)
                seen += len(between)
                if seen:
                    break
            assert seen, f"no frame of the slide among {total} dumps: too slow to tell"
        # Off, as the system's setting does it. Wine keeps a process's
        # system parameters from its start: the ticker starts again.
        assert env.wine(env.probe_exe, "animations", 0).returncode == 0
        with FeedServer(env.port, feed(env)), Ticker(env):
            full_face(env)
            point_at(env, 1200, 1000)
            resting_face(env, "display-motion")
            for _ in range(2):
                between, total = open_options_watched(env, box)
                assert not between, f"{len(between)} of {total} dumps caught the panel between"


if __name__ == "__main__":
    run([
        test_dark_at_start,
        test_dark_switched_live,
        test_high_contrast_in_system_colours,
        test_text_size,
        test_reduced_motion,
    ])
