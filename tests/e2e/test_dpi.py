"""The face at display scales from 100% to 200%. At 96 DPI it is what it
always was, pixel for pixel: a kept shot of the whole window. Shots go to
out/dpi-*.png.

    KAVRELO_WRITE_GOLDEN=1 test_dpi.py ...   writes the kept shot instead"""
import os
import subprocess
from pathlib import Path

from harness import FeedServer, Shot, Ticker, feed, full_face, point_at, run, wait_for

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


if __name__ == "__main__":
    run([
        test_face_at_96_dpi_is_unchanged,
    ])
