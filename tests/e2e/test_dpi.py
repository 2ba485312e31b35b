"""The face at display scales from 100% to 200%: the window's size, the
headlines and their summaries apart and whole, a click on a headline where it
is drawn, the thumb dragged to the end, the miniature's size. At 96 DPI the
face is what it always was, pixel for pixel: a kept shot of the whole window.
Shots go to out/face-dpi-*.png.

    KAVRELO_WRITE_GOLDEN=1 test_dpi.py ...   writes the kept shot instead"""
import os
import subprocess
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import FeedServer, Shot, Ticker, click, feed, full_face, point_at, run, steady, wait_for, xdo
from test_links import Traps

WM_ACTIVATE = 6

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
GOLDEN = Path(__file__).parent / "golden" / "face-96.png"
# The busy indicator and the status text beside it come and go with every
# refresh of the test build: the band at the bottom left is not compared.
FOOTER = (0, 290, 170, 40)


def write_ini(env, general, options):
    env.data.mkdir(parents=True, exist_ok=True)
    lines = ["[general]"] + [f"{k}={v}" for k, v in general.items()] + [""]
    lines += ["[options]"] + [f"{k}={v}" for k, v in options.items()] + [""]
    (env.data / "options.ini").write_bytes(b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le"))


def set_dpi(env, dpi):
    """The display scale Wine gives programs started from now on."""
    r = env.wine("reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    assert r.returncode == 0, r.stdout + r.stderr


def png_rgb(path):
    return subprocess.run(["/usr/bin/convert", str(path), "rgb:-"], capture_output=True, check=True, timeout=30).stdout


def masked(rgb, w, h, box):
    """The pixels with box (x, y, w, h) blacked out."""
    data = bytearray(rgb)
    bx, by, bw, bh = box
    for y in range(by, min(by + bh, h)):
        data[3 * (y * w + bx):3 * (y * w + min(bx + bw, w))] = bytes(3 * (min(bx + bw, w) - bx))
    return bytes(data)


def px(n, dpi):
    """A 96-DPI length at `dpi`, rounded as the program rounds."""
    return (n * dpi + 48) // 96


def window_at_size(env, dpi):
    """The window shown at the face's size for `dpi` (±1 pixel); its (x, y)."""
    w, h = px(475, dpi), px(350, dpi)

    def sized():
        i = env.probe()
        return i if i and i["visible"] == "1" and abs(int(i["w"]) - w) <= 1 and abs(int(i["h"]) - h) <= 1 else None
    try:
        info = wait_for(sized, 30, f"the window at {w} x {h}")
    except AssertionError as e:
        raise AssertionError(f"{e}; it is {env.probe()}") from None
    return int(info["x"]), int(info["y"])


def is_title(p):
    r, g, b = p
    return b > 100 and r < 70 and g < 70


def is_summary(p):
    r, g, b = p
    return max(r, g, b) < 100 and max(r, g, b) - min(r, g, b) < 20


def list_box(dpi):
    """The news list's rectangle in the window (x, y, w, h)."""
    x, y = px(30, dpi), px(75, dpi)
    return x, y, px(30 + 390, dpi) - x, px(75 + 213, dpi) - y


def text_bands(shot, dpi):
    """Runs of rows of the list holding headline text and summary text:
    ([(top, bottom)...], [(top, bottom)...], rows holding both)."""
    x0, y0, w, h = list_box(dpi)
    kinds = []
    for y in range(y0, y0 + h):
        row = [shot.pixel(x, y) for x in range(x0, x0 + w)]
        kinds.append((any(map(is_title, row)), any(map(is_summary, row))))

    def runs(which):
        out, start = [], None
        for i, k in enumerate(kinds + [(False, False)]):
            if k[which] and start is None:
                start = i
            elif not k[which] and start is not None:
                # The dot of an "İ" stands a row or two above its line.
                if out and y0 + start - out[-1][1] <= px(3, dpi):
                    out[-1] = (out[-1][0], y0 + i)
                else:
                    out.append((y0 + start, y0 + i))
                start = None
        return out
    return runs(0), runs(1), [y0 + i for i, k in enumerate(kinds) if k[0] and k[1]]


def resting_face(env, name):
    """A shot of the whole face once it is at rest (two alike)."""
    def same():
        a = Shot(env, name)
        b = Shot(env, name)
        return b if a.rgb == b.rgb else None
    return wait_for(same, 30, f"the {name} face at rest")


def test_face_at_96_dpi_is_unchanged(env):
    env.fresh_data_folder()
    set_dpi(env, 96)
    write_ini(env, {"left": 300, "top": 200}, {"autoscale": 0, "alwaystop": 1})
    with FeedServer(env.port, feed(env)), Ticker(env):
        x, y = full_face(env)
        assert (x, y) == (300, 200), (x, y)
        point_at(env, 1200, 1000)  # nothing hovered, no tooltip
        shot = resting_face(env, "dpi-96")
        assert (shot.w, shot.h) == (475, 350), (shot.w, shot.h)
        if os.environ.get("KAVRELO_WRITE_GOLDEN"):
            GOLDEN.parent.mkdir(exist_ok=True)
            subprocess.run(["/usr/bin/convert", str(env.source / "out" / "face-dpi-96.png"), str(GOLDEN)], check=True)
            return
        want = masked(png_rgb(GOLDEN), 475, 350, FOOTER)
        got = masked(shot.rgb, 475, 350, FOOTER)
        if got != want:
            diffs = [(i // 3 % 475, i // 3 // 475) for i in range(0, len(got), 3) if got[i:i + 3] != want[i:i + 3]]
            raise AssertionError(f"{len(diffs)} pixels differ from the kept 96-DPI face, first at {diffs[:5]}")


def second_link(env):
    items = ElementTree.fromstring(feed(env)).iter("item")
    next(items)
    return next(items).findtext("link").strip()


def at_scale(dpi):
    def test(env):
        env.fresh_data_folder()
        write_ini(env, {"left": 40, "top": 40}, {"autoscale": 1, "alwaystop": 1})
        set_dpi(env, dpi)
        traps = Traps(env)
        try:
            with FeedServer(env.port, feed(env)), Ticker(env):
                x, y = window_at_size(env, dpi)
                point_at(env, 1270, 1010)
                shot = resting_face(env, f"dpi-{dpi}")
                # Headlines and summaries apart, several of each, none cut
                # at the list's right edge.
                titles, summaries, both = text_bands(shot, dpi)
                assert len(titles) >= 2 and len(summaries) >= 2, (titles, summaries)
                assert not both, f"headline and summary text share rows {both[:5]}"
                lx, ly, lw, lh = list_box(dpi)
                edge = [(x1, y1) for y1 in range(ly, ly + lh) for x1 in range(lx + lw - px(3, dpi), lx + lw)
                        if is_title(shot.pixel(x1, y1)) or is_summary(shot.pixel(x1, y1))]
                assert not edge, f"text runs into the list's right edge at {edge[:5]}"
                # The second headline, clicked where it is drawn, opens its link.
                top, bottom = titles[1]
                click(env, x + lx + px(20, dpi), y + (top + bottom) // 2)
                wait_for(traps.opened, 20, "the browser to get the second headline")
                assert traps.opened()[0].startswith(second_link(env)), traps.opened()
                # The thumb dragged to the bottom of its track shows the end of the list.
                before = shot.region(lx, ly, lw, lh)
                tx, ty = x + px(30 + 395 + 10, dpi), y + px(75 + 30, dpi)
                xdo(env, "mousemove", tx, ty)
                xdo(env, "mousedown", 1)
                for step in range(1, 11):
                    xdo(env, "mousemove", tx, ty + px(213, dpi) * step // 10)
                    time.sleep(0.05)  # the pace of a hand, not a wait
                xdo(env, "mouseup", 1)
                point_at(env, 1270, 1010)
                end = steady(lambda: Shot(env, f"dpi-{dpi}-end").region(lx, ly, lw, lh), "the list at its end",
                             unlike=before)
                # The last summary ends where the list's last row leaves
                # its gap (4 + 15 pixels at 96 DPI) above the bottom.
                _, last, _ = text_bands(Shot(env, f"dpi-{dpi}-end"), dpi)
                assert last and ly + lh - last[-1][1] <= px(19 + 8, dpi), f"not at the end: {last[-1:]} in {ly}+{lh}"
                # The miniature, when another window is active: the face at a
                # quarter of its size at this scale.
                assert env.post(WM_ACTIVATE, 0)
                mini = steady(lambda: Shot(env, f"dpi-{dpi}-mini").lit_box(), "the miniature")
                want = (round(px(475, dpi) * 119 / 475), round(px(350, dpi) * 87 / 350))
                assert abs(mini[2] - want[0]) <= 1 and abs(mini[3] - want[1]) <= 1, f"miniature {mini}, want {want}"
        finally:
            traps.close()
            set_dpi(env, 96)
    test.__name__ = f"test_face_at_{dpi}_dpi"
    return test


if __name__ == "__main__":
    run([
        test_face_at_96_dpi_is_unchanged,
        at_scale(96),
        at_scale(120),
        at_scale(144),
        at_scale(192),
    ])
