#!/usr/bin/python3
"""Checks the skin images and the icon in resources/: every skin image at every
scale in the size the program rounds to, the dark images (number + 1000) for
just the images whose look differs on the dark face, each the size of its light
image and really dark where the list is read, skin.rc naming each once, edges
drawn at 2x rather than blown up from 1x, the icon's seven sizes each drawn at
its size, and make_artwork.py making every file again byte for byte.

    test_artwork.py [resources-folder]      (default: resources/ of this tree)

Prints a FAIL line per fault and exits 1; exits 77 (skipped) without Pillow.
"""
import io
import os
import re
import struct
import subprocess
import sys
import tempfile

try:
    from PIL import Image, ImageChops
except ImportError:
    print(f"SKIP: Pillow is not installed for {sys.executable}")
    sys.exit(77)

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TOOL = os.path.join(ROOT, "tools", "make_artwork.py")

SKIN_IDS = range(5000, 5014)
DPIS = [96, 120, 144, 168, 192]  # number + 100 * index
BUSY = 5003
DARK = 1000  # a dark image is its light number + 1000
DARK_IDS = [5000, 5002, 5005, 5006, 5007, 5009]  # the only images with a dark face
BUSY_FRAMES = 18
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64]
FILTERS = {"nearest": Image.NEAREST, "box": Image.BOX, "bilinear": Image.BILINEAR,
           "hamming": Image.HAMMING, "bicubic": Image.BICUBIC, "lanczos": Image.LANCZOS}

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def scaled(n, dpi):
    """As the program rounds: n pixels at 96 DPI at dpi, half up."""
    return (n * dpi + 48) // 96


def expected_size(rid, size_1x, dpi):
    w, h = size_1x
    if rid == BUSY:
        frame = scaled(w, dpi)
        return frame, frame * BUSY_FRAMES
    return scaled(w, dpi), scaled(h, dpi)


def open_skin(res, rid):
    return Image.open(os.path.join(res, "skin", f"{rid}.png"))


def check_sizes(res):
    if scaled(475, 120) != 594 or scaled(350, 120) != 438 or scaled(18, 120) != 23:
        fail("rounding: 475 x 350 and 18 at 120 DPI must be 594 x 438 and 23")
    for rid in SKIN_IDS:
        path = os.path.join(res, "skin", f"{rid}.png")
        if not os.path.exists(path):
            fail(f"{rid}.png is missing")
            continue
        size_1x = open_skin(res, rid).size
        if rid == BUSY and size_1x != (size_1x[0], size_1x[0] * BUSY_FRAMES):
            fail(f"{rid}.png is {size_1x}, not {BUSY_FRAMES} square frames top to bottom")
        for k, dpi in enumerate(DPIS[1:], 1):
            scaled_id = rid + 100 * k
            if not os.path.exists(os.path.join(res, "skin", f"{scaled_id}.png")):
                fail(f"{scaled_id}.png ({rid} at {dpi} DPI) is missing")
                continue
            img = open_skin(res, scaled_id)
            want = expected_size(rid, size_1x, dpi)
            if img.size != want:
                fail(f"{scaled_id}.png is {img.size[0]} x {img.size[1]}, want {want[0]} x {want[1]}")


RC_LINE = re.compile(r'^(\d+) PNG "skin/(\d+)\.png"\s+//\s*(.*)$')


def check_rc(res):
    seen = {}
    with open(os.path.join(res, "skin.rc"), encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("//"):
                continue
            m = RC_LINE.match(line)
            if not m:
                fail(f"skin.rc:{number}: not an image line: {line}")
                continue
            rid, name, comment = int(m.group(1)), int(m.group(2)), m.group(3)
            if rid != name:
                fail(f"skin.rc:{number}: resource {rid} names skin/{name}.png")
            if rid in seen:
                fail(f"skin.rc:{number}: resource {rid} again (first on line {seen[rid]})")
            seen[rid] = number
            path = os.path.join(res, "skin", f"{name}.png")
            if not os.path.exists(path):
                fail(f"skin.rc:{number}: skin/{name}.png does not exist")
                continue
            size = re.findall(r"(\d+) x (\d+)", comment)
            if not size:
                fail(f"skin.rc:{number}: no size in the comment")
                continue
            w, h = map(int, size[-1])
            if "frames of" in comment:
                h *= BUSY_FRAMES
            actual = Image.open(path).size
            if actual != (w, h):
                fail(f"skin.rc:{number}: comment says {w} x {h}, skin/{name}.png is {actual[0]} x {actual[1]}")
    files = {int(n[:-4]) for n in os.listdir(os.path.join(res, "skin")) if re.fullmatch(r"\d+\.png", n)}
    for rid in sorted(files - set(seen)):
        fail(f"skin/{rid}.png has no line in skin.rc")
    wanted = {rid + 100 * k for rid in SKIN_IDS for k in range(len(DPIS))}
    wanted |= {rid + DARK + 100 * k for rid in DARK_IDS for k in range(len(DPIS))}
    for rid in sorted(wanted - set(seen)):
        fail(f"skin.rc does not name resource {rid}")


def check_dark(res):
    """The dark images: one for each of DARK_IDS at every scale and for no
    other image, each as large as its light image and not a copy of it, the
    window's corners clear as in light, and the list paper of the window
    background dark where the light one is light (the program writes light
    text on the one and dark text on the other)."""
    wanted = {rid + DARK + 100 * k for rid in DARK_IDS for k in range(len(DPIS))}
    files = {int(n[:-4]) for n in os.listdir(os.path.join(res, "skin")) if re.fullmatch(r"\d+\.png", n)}
    for rid in sorted(n for n in files - wanted if n >= 5000 + DARK):
        fail(f"skin/{rid}.png: {rid - DARK} has no dark face of its own")
    for rid in DARK_IDS:
        for k, dpi in enumerate(DPIS):
            light_id, dark_id = rid + 100 * k, rid + DARK + 100 * k
            if not os.path.exists(os.path.join(res, "skin", f"{dark_id}.png")):
                fail(f"{dark_id}.png ({rid} dark at {dpi} DPI) is missing")
                continue
            if not os.path.exists(os.path.join(res, "skin", f"{light_id}.png")):
                continue  # check_sizes says so
            light = open_skin(res, light_id).convert("RGBA")
            dark = open_skin(res, dark_id).convert("RGBA")
            if dark.size != light.size:
                fail(f"{dark_id}.png is {dark.size[0]} x {dark.size[1]}, "
                     f"its light image {light_id}.png {light.size[0]} x {light.size[1]}")
                continue
            # (Premultiplied, so that clear pixels compare equal whatever their colour.)
            if dark.convert("RGBa").tobytes() == light.convert("RGBa").tobytes():
                fail(f"{dark_id}.png is the same as {light_id}.png")
            if rid != 5002:
                continue
            w, h = dark.size
            for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                if dark.getpixel(corner)[3] != 0:
                    fail(f"{dark_id}.png: corner {corner} is {dark.getpixel(corner)}, not transparent")
            # The middle of the list area (30, 75, 415 x 213 at 96 DPI).
            at = (scaled(237, dpi), scaled(180, dpi))
            r, g, b, a = dark.getpixel(at)
            if max(r, g, b) >= 60 or a < 240:
                fail(f"{dark_id}.png: the list paper at {at} is {(r, g, b, a)}, not dark and opaque")
            r, g, b, a = light.getpixel(at)
            if min(r, g, b) <= 230 or a < 240:
                fail(f"{light_id}.png: the list paper at {at} is {(r, g, b, a)}, not light and opaque")


def edge_band(alpha, plateau):
    """Pixels on the way between transparent and the shape's own alpha
    (between 10 % and 90 % of it): the width of the anti-aliased edges
    times their length."""
    hist = alpha.histogram()
    return sum(hist[v] for v in range(256) if 0.1 * plateau < v < 0.9 * plateau)


# Images with hard shapes, and the alpha their shape is filled with.
HARD_EDGES = [(5002, 232), (5007, 255), (5011, 235), (5012, 128), (6002, 232), (6007, 255)]


def check_edges(res):
    """At 2x the edges are twice as long as at 1x but just as narrow. Blowing
    up the 1x image doubles their width as well: at least four times the
    band of the 1x image with any filter."""
    for rid, plateau in HARD_EDGES:
        one = open_skin(res, rid).convert("RGBA").getchannel("A")
        two = open_skin(res, rid + 400).convert("RGBA").getchannel("A")
        band_1x, band_2x = edge_band(one, plateau), edge_band(two, plateau)
        if band_2x < 1.4 * band_1x:
            fail(f"{rid + 400}.png: {band_2x} edge pixels, fewer than 1.4 x the {band_1x} at 1x: edges missing")
        ups = {name: edge_band(one.resize(two.size, resample), plateau) for name, resample in FILTERS.items()}
        name = min(ups, key=ups.get)
        if band_2x >= 0.7 * ups[name]:
            fail(f"{rid + 400}.png: {band_2x} edge pixels, not fewer than 0.7 x the {ups[name]} of {rid}.png "
                 f"scaled up ({name}): the edges are not drawn at 2x")


def icon_entries(path):
    """[(width, height, bits, image)] of an .ico file."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        fail(f"{path}: not an icon file")
        return []
    entries = []
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        img = Image.open(io.BytesIO(data[offset:offset + length]))
        img.load()
        entries.append((w or 256, h or 256, bits, img))
    return entries


def check_icon(res):
    entries = icon_entries(os.path.join(res, "kavrelo.ico"))
    sizes = [w for w, _, _, _ in entries]
    if sizes != ICON_SIZES:
        fail(f"kavrelo.ico holds {sizes}, want {ICON_SIZES}")
    images = {}
    for w, h, bits, img in entries:
        if h != w or img.size != (w, h):
            fail(f"kavrelo.ico: the {w} x {h} entry holds a {img.size[0]} x {img.size[1]} image")
        if bits != 32:
            fail(f"kavrelo.ico: the {w} px entry says {bits} bits, not 32")
        images[w] = img.convert("RGBa")  # premultiplied: transparent pixels compare equal
    if 64 not in images:
        return
    # Each smaller size is drawn at that size, so it is not just the 64 px
    # image scaled down: somewhere it is more than 16 levels off.
    for size in (s for s in ICON_SIZES[:-1] if s in images):
        diffs = {}
        for name, resample in FILTERS.items():
            down = images[64].convert("RGBA").resize((size, size), resample).convert("RGBa")
            diffs[name] = max(high for _, high in ImageChops.difference(images[size], down).getextrema())
        name = min(diffs, key=diffs.get)
        if diffs[name] <= 16:
            fail(f"kavrelo.ico: the {size} px image is the 64 px one scaled down ({name}, at most {diffs[name]} off)")


def check_reproduced(res):
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([sys.executable, TOOL, out], capture_output=True, text=True)
        if run.returncode != 0:
            fail(f"make_artwork.py exited with {run.returncode}:\n{run.stderr}")
            return
        made = {os.path.join("skin", n) for n in os.listdir(os.path.join(out, "skin"))} | {"kavrelo.ico"}
        have = {os.path.join("skin", n) for n in os.listdir(os.path.join(res, "skin"))
                if n.endswith(".png")} | {"kavrelo.ico"}
        for name in sorted(made - have):
            fail(f"make_artwork.py makes {name}, which is not in {res}")
        for name in sorted(have - made):
            fail(f"{name} is in {res}, but make_artwork.py does not make it")
        for name in sorted(made & have):
            with open(os.path.join(out, name), "rb") as a, open(os.path.join(res, name), "rb") as b:
                if a.read() != b.read():
                    fail(f"{name} differs from what make_artwork.py draws (run it and commit the result)")


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources")
    for check in (check_sizes, check_rc, check_dark, check_edges, check_icon, check_reproduced):
        try:
            check(res)
        except (OSError, struct.error) as e:  # a missing or broken file
            fail(f"{check.__name__}: {e}")
    if failures:
        print(f"{len(failures)} failure(s)")
        return 1
    print("artwork: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
