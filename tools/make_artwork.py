#!/usr/bin/python3
"""Draws the ticker's skin images and its icon.

    tools/make_artwork.py [output-folder]      (default: resources/)

Writes, under the output folder:

  skin/<id>.png  the PNG resources 5000-5013 at each display scale the program
                 knows: 96 DPI (1x) as 5000-5013, then 120, 144, 168 and
                 192 DPI (1.25x, 1.5x, 1.75x, 2x) as id + 100, + 200, + 300
                 and + 400 (5100-5113 ... 5400-5413). A length of n pixels at
                 96 DPI is (n * dpi + 48) // 96 pixels at another scale, as the
                 program rounds it. The busy indicator 5003 is 18 frames, each
                 18 pixels square at that scale, top to bottom.
                 The dark face (Windows set to dark apps) has images of its
                 own where its look differs: the same numbers plus 1000, at
                 every scale (6000-6013 ... 6400-6413), but only for the
                 scroller track 5000, the window background 5002, the options
                 sheet 5005 and its close mark 5006, the unticked check box
                 5007 and the about sheet 5009 (DARK_IDS). Every other image
                 reads well on both faces and has no dark file; the program
                 falls back to the light one.
  kavrelo.ico    the icon at 16, 20, 24, 32, 40, 48 and 64 px.

Every image is drawn by the same code at every scale: coordinates, line widths,
radii and font sizes are given in 96-DPI pixels and multiplied by the scale;
nothing is resampled from another scale. The light and the dark image come
from the same drawing code too, given the LIGHT or the DARK palette. Each icon
size is drawn at its own size too. Drawing happens at four times the final size
and is scaled down, which gives clean anti-aliased edges; Pillow scales RGBA
premultiplied, so half-transparent edges do not pick up dark fringes.

Lengths measured from the right or bottom edge (w - 20) stay that far from the
edge, and round images are drawn about their centre, so an image that rounding
made a fraction of a pixel larger keeps its margins.

A few pixels are laid down exactly because the graphics tests read them back:
the corners of 5002 are fully transparent and the disc of the close and options
buttons (5012, 5013) is plain white at alpha 128 (see PROBES; probes() places
them at the other scales and on the dark images, so 6002's corners are clear
as well).
"""
import io
import math
import os
import struct
import sys
from fractions import Fraction

from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# The display scales as DPI; the index in this list times 100 is added to the
# resource number (96 DPI keeps 5000-5013).
SCALES = [96, 120, 144, 168, 192]
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64]

# Palette: a deep slate face, paper-white reading areas, one red accent.
SLATE_TOP = (44, 56, 74)
SLATE_BOTTOM = (20, 26, 36)
ACCENT = (214, 40, 40)
ACCENT_DARK = (160, 22, 28)
PAPER = (247, 248, 250)
INK = (51, 51, 51)

CLEAR = (0, 0, 0, 0)
DISC = (255, 255, 255, 128)


class Palette:
    """The colours that differ between the light and the dark face. offset is
    added to the resource number (dark images are 6000-6413). The program
    writes its text straight onto paper and sheet_fill, so those go with the
    text colours it picks for each face."""

    def __init__(self, offset, **colours):
        self.offset = offset
        self.__dict__.update(colours)


LIGHT = Palette(
    0,
    body_top=SLATE_TOP, body_bottom=SLATE_BOTTOM,
    paper=PAPER,                                # the list area, at alpha 246
    sheet_fill=PAPER + (240,), sheet_outline=(255, 255, 255, 255),
    rule=lambda alpha: (0, 0, 0, alpha),        # separators on the sheets
    plate=(0, 0, 0, 18),                        # behind the logo on the about sheet
    close_ink=INK + (220,),
    box_fill=(255, 255, 255, 235), box_outline=(120, 128, 140, 255),
    track_fill=(40, 52, 70, 40), track_outline=(40, 52, 70, 70),
)

DARK = Palette(
    1000,
    body_top=(30, 34, 42), body_bottom=(14, 16, 21),
    paper=(28, 31, 38),
    sheet_fill=(34, 38, 46, 240), sheet_outline=(255, 255, 255, 40),
    # The light sheet's black rules are 22 to 30 alpha; white needs more to
    # show on the dark paper.
    rule=lambda alpha: (255, 255, 255, 40),
    plate=(255, 255, 255, 14),
    close_ink=(226, 230, 236, 235),
    box_fill=(44, 48, 58, 255), box_outline=(150, 158, 172, 255),
    track_fill=(255, 255, 255, 28), track_outline=(255, 255, 255, 60),
)

# The images whose look depends on the palette; only these get a dark file.
DARK_IDS = [5000, 5002, 5005, 5006, 5007, 5009]

# (resource, x, y, RGBA) that must come out exactly so, at 96 DPI.
PROBES = [
    (5002, 0, 0, CLEAR),
    (5002, 474, 349, CLEAR),
    (5012, 10, 3, DISC),
    (5013, 10, 3, DISC),
]


class Scale:
    """One display scale. Drawing code works in 96-DPI pixels; s() turns them
    into pixels of the supersampled canvas at this scale. SS * dpi / 96 is a
    whole number for every DPI in SCALES (4, 5, 6, 7, 8), so whole coordinates
    stay whole and the sizes from span() come out exact."""

    def __init__(self, dpi):
        self.dpi = dpi
        self.factor = SS * dpi // 96  # canvas pixels per 96-DPI pixel
        assert self.factor * 96 == SS * dpi, dpi

    def px(self, n):
        """n pixels at 96 DPI in whole pixels at this scale, rounded half up."""
        return (n * self.dpi + 48) // 96

    def span(self, n):
        """The length px(n) expressed in 96-DPI pixels, exactly: n itself at
        96 DPI, a Fraction elsewhere. Image sizes are given this way, so
        that w - 1 is one (scaled) pixel in from the right edge."""
        if self.dpi == 96:
            return n
        return Fraction(self.px(n) * 96, self.dpi)

    def ss(self, value):
        """One value on the supersampled canvas."""
        v = value * self.factor
        if isinstance(v, Fraction):
            return v.numerator if v.denominator == 1 else float(v)
        return v

    def s(self, *values):
        """Scales 96-DPI coordinates to the supersampled canvas."""
        return [self.ss(v) for v in values]

    def canvas(self, w, h):
        """A transparent canvas for an image w x h 96-DPI pixels large (sizes
        from span())."""
        return Image.new("RGBA", (self.ss(w), self.ss(h)), (0, 0, 0, 0))


ONE = Scale(96)


def finish(img):
    return img.resize((img.width // SS, img.height // SS), Image.LANCZOS)


def vertical_gradient(w, h, top, bottom, alpha):
    grad = Image.new("RGBA", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        c = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        grad.putpixel((0, y), c + (alpha,))
    return grad.resize((w, h))


def rounded_mask(w, h, box, radius):
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    return mask


class over:
    """Draws on a layer of its own and composites it when done: ImageDraw
    replaces pixels, so a translucent line drawn straight onto a face would
    punch a hole into it instead of darkening it."""

    def __init__(self, img):
        self.img = img

    def __enter__(self):
        self.layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        return ImageDraw.Draw(self.layer)

    def __exit__(self, *exc):
        self.img.alpha_composite(self.layer)


def paste_masked(dst, src, mask):
    """Composites src onto dst only where mask is set (alpha-aware)."""
    layer = Image.new("RGBA", dst.size, (0, 0, 0, 0))
    layer.paste(src, (0, 0), mask)
    dst.alpha_composite(layer)


# --- The window face ------------------------------------------------------

def background(g, p):
    w, h = g.span(475), g.span(350)
    img = g.canvas(w, h)
    s = g.s
    W, H = s(w, h)
    # Body: slate gradient, slightly see-through, 18 px corners.
    body = vertical_gradient(W, H, p.body_top, p.body_bottom, 232)
    paste_masked(img, body, rounded_mask(W, H, s(0, 0, w - 1, h - 1), g.ss(18)))
    # A thin light rim and a glossy header.
    with over(img) as d:
        d.rounded_rectangle(s(1, 1, w - 2, h - 2), radius=g.ss(17), outline=(255, 255, 255, 46), width=g.ss(1))
    G = g.ss(30)
    gloss = vertical_gradient(W, G, (255, 255, 255), (255, 255, 255), 0)
    for y in range(G):
        gloss.paste((255, 255, 255, round(28 * (1 - y / G))), (0, y, W, y + 1))
    paste_masked(img, gloss, rounded_mask(W, G, s(2, 2, w - 3, 40), g.ss(16)))
    with over(img) as d:
        # Red accent rule under the header.
        d.rounded_rectangle(s(20, 63, w - 20, 66), radius=g.ss(1), fill=ACCENT + (255,))
        # A dark lip under the reading paper (the list area is 30,75 415 x 213).
        d.rounded_rectangle(s(23, 70, 452, 294), radius=g.ss(9), fill=(0, 0, 0, 70))
    with over(img) as d:
        d.rounded_rectangle(s(24, 70, 451, 292), radius=g.ss(8), fill=p.paper + (246,))
    with over(img) as d:
        # Footer: a faint divider above the status line.
        d.line(s(24, 297, w - 24, 297), fill=(255, 255, 255, 30), width=g.ss(1))
    return finish(img)


def logo(g, p):
    img = g.canvas(g.span(136), g.span(34))
    d = ImageDraw.Draw(img)
    emblem_into(g, img, 1, 1, 32)
    font = ImageFont.truetype(FONT_BOLD, g.ss(21))
    # Soft shadow, then the word.
    d.text(g.s(41, 18), "Kavrelo", font=font, anchor="lm", fill=(0, 0, 0, 110))
    d.text(g.s(40, 17), "Kavrelo", font=font, anchor="lm", fill=(255, 255, 255, 255))
    return finish(img)


def emblem_into(g, img, x, y, size):
    """The program's emblem: a red tile with news lines and a live dot."""
    d = ImageDraw.Draw(img)
    X, Y, S = g.s(x, y, size)
    r = max(g.ss(1), S // 5)
    tile = vertical_gradient(S, S, (232, 62, 56), ACCENT_DARK, 255)
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((X, Y, X + S - 1, Y + S - 1), radius=r, fill=255)
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    layer.paste(tile, (X, Y))
    img.paste(layer, (0, 0), mask)
    # Three headline bars, the first one bold.
    pad = S * 0.2
    bar = S * 0.09
    for i, (length, thick) in enumerate([(0.6, 1.5), (0.6, 1.0), (0.42, 1.0)]):
        top = Y + S * (0.3 + 0.2 * i)
        d.rounded_rectangle((X + pad, top, X + pad + S * length, top + bar * thick),
                            radius=bar / 2, fill=(255, 255, 255, 255))
    # The live dot.
    cx, cy, rad = X + S * 0.76, Y + S * 0.72, S * 0.1
    d.ellipse((cx - rad, cy - rad, cx + rad, cy + rad), fill=(255, 255, 255, 255))


def round_button(g, p, glyph):
    w = g.span(20)
    img = g.canvas(w, w)
    d = ImageDraw.Draw(img)
    # A flat disc of white at alpha 128: it reads as a light grey button on
    # the slate header and lets the face shine through.
    c = w / 2
    d.ellipse(g.s(c - 9.5, c - 9.5, c + 9.5, c + 9.5), fill=DISC)
    glyph(g, d, c)
    return finish(img)


def close_glyph(g, d, c, colour=(255, 255, 255, 255), half=3.5, width=2.2):
    """A cross centred on c, c, reaching half pixels each way."""
    x1, y1, x2, y2 = g.s(c - half, c - half, c + half, c + half)
    d.line((x1, y1, x2, y2), fill=colour, width=round(g.ss(width)))
    d.line((x1, y2, x2, y1), fill=colour, width=round(g.ss(width)))


def options_glyph(g, d, c):
    # Three slider lines with knobs: "settings".
    for i, knob in enumerate([2.5, -2.5, 1]):
        y = c - 3.5 + 3.5 * i
        d.line(g.s(c - 4.5, y, c + 4.5, y), fill=(255, 255, 255, 255), width=round(g.ss(1.4)))
        x = c + knob
        d.ellipse(g.s(x - 1.7, y - 1.7, x + 1.7, y + 1.7), fill=SLATE_BOTTOM + (255,),
                  outline=(255, 255, 255, 255), width=round(g.ss(1.2)))


# --- Scroller ---------------------------------------------------------------

def scroller_track(g, p):
    w, h = g.span(20), g.span(213)
    img = g.canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(g.s(5, 2, 14, h - 3), radius=g.ss(4.5), fill=p.track_fill,
                        outline=p.track_outline, width=g.ss(1))
    return finish(img)


def scroller_thumb(g, p):
    w, h = g.span(18), g.span(70)
    img = g.canvas(w, h)
    W, H = g.s(w, h)
    body = vertical_gradient(W, H, (226, 58, 52), ACCENT_DARK, 240)
    paste_masked(img, body, rounded_mask(W, H, g.s(4, 1, 13, h - 2), g.ss(4.5)))
    with over(img) as d:
        for y in (31, 35, 39):  # grip
            d.line(g.s(6.5, y, 11.5, y), fill=(255, 255, 255, 170), width=g.ss(1))
    return finish(img)


# --- Busy indicator: 18 frames, top to bottom ------------------------------------

BUSY_FRAMES = 18


def busy_strip(g, p):
    size, dots = g.span(18), 9
    img = g.canvas(size, size * BUSY_FRAMES)
    d = ImageDraw.Draw(img)
    c = size / 2
    for f in range(BUSY_FRAMES):
        head = f / BUSY_FRAMES * 2 * math.pi
        for k in range(dots):
            # The comet: the head dot is solid, the tail fades.
            angle = head - k * (2 * math.pi / dots) * 0.9
            alpha = round(255 * (1 - k / dots) ** 1.6)
            radius = 1.9 - 0.1 * k
            cx = c + 6 * math.sin(angle)
            cy = f * size + c - 6 * math.cos(angle)
            d.ellipse(g.s(cx - radius, cy - radius, cx + radius, cy + radius),
                      fill=(255, 255, 255, alpha))
    return finish(img)


# --- Panels ------------------------------------------------------------------

def sheet(g, p, w, h, title_band):
    s = g.s
    img = g.canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(s(0, 0, w - 1, h - 1), radius=g.ss(12), fill=(0, 0, 0, 60))
    paper = g.canvas(w, h)
    pd = ImageDraw.Draw(paper)
    pd.rounded_rectangle(s(1, 1, w - 2, h - 3), radius=g.ss(11), fill=p.sheet_fill,
                         outline=p.sheet_outline, width=g.ss(1))
    if title_band:
        # A red band along the top edge, clipped to the sheet's rounded shape.
        band = Image.new("RGBA", paper.size, (0, 0, 0, 0))
        ImageDraw.Draw(band).rectangle(s(0, 0, w, 5), fill=ACCENT + (255,))
        band.putalpha(Image.composite(band.getchannel("A"), Image.new("L", paper.size, 0),
                                      paper.getchannel("A")))
        paper.alpha_composite(band)
    img.alpha_composite(paper)
    return img


def options_sheet(g, p):
    w, h = g.span(385), g.span(211)
    img = sheet(g, p, w, h, title_band=True)
    with over(img) as d:
        # Faint separators between the five rows of check boxes (tops 20, 48, 76, 104, 132).
        for y in (44, 72, 100, 128):
            d.line(g.s(40, y, 340, y), fill=p.rule(22), width=g.ss(1))
        d.line(g.s(20, 168, w - 20, 168), fill=p.rule(30), width=g.ss(1))
    return finish(img)


def about_sheet(g, p):
    w, h = g.span(342), g.span(224)
    img = sheet(g, p, w, h, title_band=True)
    with over(img) as d:
        # A soft plate behind the 64 x 64 logo at 35, 35.
        d.ellipse(g.s(27, 27, 107, 107), fill=p.plate)
        d.line(g.s(20, 200, w - 20, 200), fill=p.rule(26), width=g.ss(1))
    return finish(img)


def about_logo(g, p):
    img = g.canvas(g.span(64), g.span(64))
    emblem_into(g, img, 2, 2, 60)
    return finish(img)


def close_mark(g, p):
    w = g.span(12)
    img = g.canvas(w, w)
    close_glyph(g, ImageDraw.Draw(img), w / 2, colour=p.close_ink, half=4, width=1.8)
    return finish(img)


def about_close(g, p):
    w = g.span(21)
    img = g.canvas(w, w)
    d = ImageDraw.Draw(img)
    c = w / 2
    d.ellipse(g.s(c - 10, c - 10, c + 10, c + 10), fill=ACCENT + (235,))
    close_glyph(g, d, c, width=2.0)
    return finish(img)


def check_box(g, p, ticked):
    w = g.span(20)
    img = g.canvas(w, w)
    d = ImageDraw.Draw(img)
    box = g.s(w / 2 - 8, w / 2 - 8, w / 2 + 8, w / 2 + 8)
    if ticked:
        d.rounded_rectangle(box, radius=g.ss(3.5), fill=ACCENT + (255,),
                            outline=ACCENT_DARK + (255,), width=g.ss(1))
        d.line(g.s(5.5, 10.5, 8.5, 13.5, 14.5, 6.5), fill=(255, 255, 255, 255),
               width=round(g.ss(2.2)), joint="curve")
    else:
        d.rounded_rectangle(box, radius=g.ss(3.5), fill=p.box_fill,
                            outline=p.box_outline, width=g.ss(1))
    return finish(img)


# Every drawing function takes the scale and the palette; those that look the
# same on both faces leave the palette alone.
SKIN = {
    5000: scroller_track,
    5001: scroller_thumb,
    5002: background,
    5003: busy_strip,
    5004: logo,
    5005: options_sheet,
    5006: close_mark,
    5007: lambda g, p: check_box(g, p, False),
    5008: lambda g, p: check_box(g, p, True),
    5009: about_sheet,
    5010: about_logo,
    5011: about_close,
    5012: lambda g, p: round_button(g, p, close_glyph),
    5013: lambda g, p: round_button(g, p, options_glyph),
}

# Sizes at 96 DPI.
SIZES = {
    5000: (20, 213), 5001: (18, 70), 5002: (475, 350), 5003: (18, 324),
    5004: (136, 34), 5005: (385, 211), 5006: (12, 12), 5007: (20, 20),
    5008: (20, 20), 5009: (342, 224), 5010: (64, 64), 5011: (21, 21),
    5012: (20, 20), 5013: (20, 20),
}


def size_at(rid, g):
    """The size of skin image rid at scale g."""
    if rid == 5003:
        frame = g.px(SIZES[rid][0])
        return frame, frame * BUSY_FRAMES
    w, h = SIZES[rid]
    return g.px(w), g.px(h)


def probes(g):
    """PROBES placed at scale g: the far corner of 5002 stays the far corner."""
    if g.dpi == 96:
        return PROBES
    w, h = size_at(5002, g)
    return [(5002, 0, 0, CLEAR), (5002, w - 1, h - 1, CLEAR),
            (5012, g.px(10), g.px(3), DISC), (5013, g.px(10), g.px(3), DISC)]


def skin_images(g, p=LIGHT):
    """{resource number: image} of the skin images of palette p at scale g:
    all of them in LIGHT, those in DARK_IDS in DARK."""
    offset = p.offset + 100 * SCALES.index(g.dpi)
    ids = SKIN if p is LIGHT else DARK_IDS
    images = {rid: SKIN[rid](g, p) for rid in ids}
    for rid, x, y, rgba in probes(g):
        if rid in images:
            images[rid].putpixel((x, y), rgba)
    for rid, img in images.items():
        assert img.size == size_at(rid, g), (rid, g.dpi, img.size)
    return {rid + offset: img for rid, img in images.items()}


def icon_image(size):
    img = ONE.canvas(size, size)
    emblem_into(ONE, img, 0, 0, size)
    return finish(img)


def icon_file(images):
    """An .ico holding the given square RGBA images, each as a PNG entry."""
    entries = []
    for img in images:
        png = io.BytesIO()
        img.save(png, "png", optimize=True)
        entries.append((img.width, png.getvalue()))
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(head) + 16 * len(entries)
    directory, data = b"", b""
    for size, png in entries:
        # width, height (0 means 256), colours, reserved, planes, bits, bytes, offset
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                 len(png), offset + len(data))
        data += png
    return head + directory + data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    os.makedirs(os.path.join(out, "skin"), exist_ok=True)
    for p in (LIGHT, DARK):
        for dpi in SCALES:
            for rid, img in skin_images(Scale(dpi), p).items():
                img.save(os.path.join(out, "skin", f"{rid}.png"), optimize=True)
    with open(os.path.join(out, "kavrelo.ico"), "wb") as f:
        f.write(icon_file([icon_image(size) for size in ICON_SIZES]))


if __name__ == "__main__":
    main()
