#!/usr/bin/python3
"""Draws the ticker's skin images and its icon.

    tools/make_artwork.py [output-folder]      (default: resources/)

Writes skin/<id>.png for the PNG resources 5000-5013 and kavrelo.ico (16, 32
and 48 px). Everything is drawn at four times the final size and scaled down,
which gives clean anti-aliased edges; Pillow scales RGBA premultiplied, so
half-transparent edges do not pick up dark fringes.

A few pixels are laid down exactly because the graphics tests read them back:
the corners of 5002 are fully transparent and the disc of the close and options
buttons (5012, 5013) is plain white at alpha 128 (see PROBES).
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Palette: a deep slate face, paper-white reading areas, one red accent.
SLATE_TOP = (44, 56, 74)
SLATE_BOTTOM = (20, 26, 36)
ACCENT = (214, 40, 40)
ACCENT_DARK = (160, 22, 28)
PAPER = (247, 248, 250)
INK = (51, 51, 51)

# (resource, x, y, RGBA) that must come out exactly so.
PROBES = [
    (5002, 0, 0, (0, 0, 0, 0)),
    (5002, 474, 349, (0, 0, 0, 0)),
    (5012, 10, 3, (255, 255, 255, 128)),
    (5013, 10, 3, (255, 255, 255, 128)),
]


def canvas(w, h):
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def finish(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def s(*values):
    """Scales final-size coordinates to the supersampled canvas."""
    return [v * SS for v in values]


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

def background():
    w, h = 475, 350
    img = canvas(w, h)
    W, H = w * SS, h * SS
    # Body: slate gradient, slightly see-through, 18 px corners.
    body = vertical_gradient(W, H, SLATE_TOP, SLATE_BOTTOM, 232)
    paste_masked(img, body, rounded_mask(W, H, s(0, 0, w - 1, h - 1), 18 * SS))
    # A thin light rim and a glossy header.
    with over(img) as d:
        d.rounded_rectangle(s(1, 1, w - 2, h - 2), radius=17 * SS, outline=(255, 255, 255, 46), width=SS)
    gloss = vertical_gradient(W, 30 * SS, (255, 255, 255), (255, 255, 255), 0)
    for y in range(30 * SS):
        gloss.paste((255, 255, 255, round(28 * (1 - y / (30 * SS)))), (0, y, W, y + 1))
    paste_masked(img, gloss, rounded_mask(W, 30 * SS, s(2, 2, w - 3, 40), 16 * SS))
    with over(img) as d:
        # Red accent rule under the header.
        d.rounded_rectangle(s(20, 63, w - 20, 66), radius=SS, fill=ACCENT + (255,))
        # A dark lip under the reading paper (the list area is 30,75 415 x 213).
        d.rounded_rectangle(s(23, 70, 452, 294), radius=9 * SS, fill=(0, 0, 0, 70))
    with over(img) as d:
        d.rounded_rectangle(s(24, 70, 451, 292), radius=8 * SS, fill=PAPER + (246,))
    with over(img) as d:
        # Footer: a faint divider above the status line.
        d.line(s(24, 297, w - 24, 297), fill=(255, 255, 255, 30), width=SS)
    return finish(img, w, h)


def logo():
    w, h = 136, 34
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    emblem_into(img, 1, 1, 32)
    font = ImageFont.truetype(FONT_BOLD, 21 * SS)
    # Soft shadow, then the word.
    d.text((41 * SS, 18 * SS), "Kavrelo", font=font, anchor="lm", fill=(0, 0, 0, 110))
    d.text((40 * SS, 17 * SS), "Kavrelo", font=font, anchor="lm", fill=(255, 255, 255, 255))
    return finish(img, w, h)


def emblem_into(img, x, y, size):
    """The program's emblem: a red tile with news lines and a live dot."""
    d = ImageDraw.Draw(img)
    X, Y, S = x * SS, y * SS, size * SS
    r = max(SS, S // 5)
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


def round_button(glyph):
    w = h = 20
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    # A flat disc of white at alpha 128: it reads as a light grey button on
    # the slate header and lets the face shine through.
    d.ellipse(s(0.5, 0.5, 19.5, 19.5), fill=(255, 255, 255, 128))
    glyph(d)
    return finish(img, w, h)


def close_glyph(d, colour=(255, 255, 255, 255), box=(6.5, 6.5, 13.5, 13.5), width=2.2):
    x1, y1, x2, y2 = s(*box)
    d.line((x1, y1, x2, y2), fill=colour, width=round(width * SS))
    d.line((x1, y2, x2, y1), fill=colour, width=round(width * SS))


def options_glyph(d):
    # Three slider lines with knobs: "settings".
    for i, knob in enumerate([12.5, 7.5, 11]):
        y = 6.5 + 3.5 * i
        d.line(s(5.5, y, 14.5, y), fill=(255, 255, 255, 255), width=round(1.4 * SS))
        d.ellipse(s(knob - 1.7, y - 1.7, knob + 1.7, y + 1.7), fill=SLATE_BOTTOM + (255,),
                  outline=(255, 255, 255, 255), width=round(1.2 * SS))


# --- Scroller ---------------------------------------------------------------

def scroller_track():
    w, h = 20, 213
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(s(5, 2, 14, 210), radius=4.5 * SS, fill=(40, 52, 70, 40),
                        outline=(40, 52, 70, 70), width=SS)
    return finish(img, w, h)


def scroller_thumb():
    w, h = 18, 70
    img = canvas(w, h)
    W, H = w * SS, h * SS
    body = vertical_gradient(W, H, (226, 58, 52), ACCENT_DARK, 240)
    paste_masked(img, body, rounded_mask(W, H, s(4, 1, 13, 68), 4.5 * SS))
    with over(img) as d:
        for y in (31, 35, 39):  # grip
            d.line(s(6.5, y, 11.5, y), fill=(255, 255, 255, 170), width=SS)
    return finish(img, w, h)


# --- Busy indicator: 18 frames of 18 x 18, top to bottom ------------------------

def busy_strip():
    import math
    size, frames, dots = 18, 18, 9
    img = canvas(size, size * frames)
    d = ImageDraw.Draw(img)
    for f in range(frames):
        head = f / frames * 2 * math.pi
        for k in range(dots):
            # The comet: the head dot is solid, the tail fades.
            angle = head - k * (2 * math.pi / dots) * 0.9
            alpha = round(255 * (1 - k / dots) ** 1.6)
            radius = 1.9 - 0.1 * k
            cx = 9 + 6 * math.sin(angle)
            cy = f * size + 9 - 6 * math.cos(angle)
            d.ellipse(s(cx - radius, cy - radius, cx + radius, cy + radius),
                      fill=(255, 255, 255, alpha))
    return finish(img, size, size * frames)


# --- Panels ------------------------------------------------------------------

def sheet(w, h, title_band):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(s(0, 0, w - 1, h - 1), radius=12 * SS, fill=(0, 0, 0, 60))
    paper = canvas(w, h)
    pd = ImageDraw.Draw(paper)
    pd.rounded_rectangle(s(1, 1, w - 2, h - 3), radius=11 * SS, fill=PAPER + (240,),
                         outline=(255, 255, 255, 255), width=SS)
    if title_band:
        # A red band along the top edge, clipped to the sheet's rounded shape.
        band = Image.new("RGBA", paper.size, (0, 0, 0, 0))
        ImageDraw.Draw(band).rectangle(s(0, 0, w, 5), fill=ACCENT + (255,))
        band.putalpha(Image.composite(band.getchannel("A"), Image.new("L", paper.size, 0),
                                      paper.getchannel("A")))
        paper.alpha_composite(band)
    img.alpha_composite(paper)
    return img


def options_sheet():
    w, h = 385, 183
    img = sheet(w, h, title_band=True)
    with over(img) as d:
        # Faint separators between the four rows of check boxes (tops 20, 48, 76, 104).
        for y in (44, 72, 100):
            d.line(s(40, y, 340, y), fill=(0, 0, 0, 22), width=SS)
        d.line(s(20, 140, w - 20, 140), fill=(0, 0, 0, 30), width=SS)
    return finish(img, w, h)


def about_sheet():
    w, h = 342, 224
    img = sheet(w, h, title_band=True)
    with over(img) as d:
        # A soft plate behind the 64 x 64 logo at 35, 35.
        d.ellipse(s(27, 27, 107, 107), fill=(0, 0, 0, 18))
        d.line(s(20, 200, w - 20, 200), fill=(0, 0, 0, 26), width=SS)
    return finish(img, w, h)


def about_logo():
    img = canvas(64, 64)
    emblem_into(img, 2, 2, 60)
    return finish(img, 64, 64)


def close_mark():
    img = canvas(12, 12)
    close_glyph(ImageDraw.Draw(img), colour=INK + (220,), box=(2, 2, 10, 10), width=1.8)
    return finish(img, 12, 12)


def about_close():
    img = canvas(21, 21)
    d = ImageDraw.Draw(img)
    d.ellipse(s(0.5, 0.5, 20.5, 20.5), fill=ACCENT + (235,))
    close_glyph(d, box=(7, 7, 14, 14), width=2.0)
    return finish(img, 21, 21)


def check_box(ticked):
    img = canvas(20, 20)
    d = ImageDraw.Draw(img)
    if ticked:
        d.rounded_rectangle(s(2, 2, 18, 18), radius=3.5 * SS, fill=ACCENT + (255,),
                            outline=ACCENT_DARK + (255,), width=SS)
        d.line(s(5.5, 10.5, 8.5, 13.5, 14.5, 6.5), fill=(255, 255, 255, 255),
               width=round(2.2 * SS), joint="curve")
    else:
        d.rounded_rectangle(s(2, 2, 18, 18), radius=3.5 * SS, fill=(255, 255, 255, 235),
                            outline=(120, 128, 140, 255), width=SS)
    return finish(img, 20, 20)


SKIN = {
    5000: scroller_track,
    5001: scroller_thumb,
    5002: background,
    5003: busy_strip,
    5004: logo,
    5005: options_sheet,
    5006: close_mark,
    5007: lambda: check_box(False),
    5008: lambda: check_box(True),
    5009: about_sheet,
    5010: about_logo,
    5011: about_close,
    5012: lambda: round_button(close_glyph),
    5013: lambda: round_button(options_glyph),
}

SIZES = {
    5000: (20, 213), 5001: (18, 70), 5002: (475, 350), 5003: (18, 324),
    5004: (136, 34), 5005: (385, 183), 5006: (12, 12), 5007: (20, 20),
    5008: (20, 20), 5009: (342, 224), 5010: (64, 64), 5011: (21, 21),
    5012: (20, 20), 5013: (20, 20),
}


def icon_image(size):
    img = canvas(size, size)
    emblem_into(img, 0, 0, size)
    return finish(img, size, size)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    os.makedirs(os.path.join(out, "skin"), exist_ok=True)
    images = {rid: make() for rid, make in SKIN.items()}
    for rid, x, y, rgba in PROBES:
        images[rid].putpixel((x, y), rgba)
    for rid, img in images.items():
        assert img.size == SIZES[rid], (rid, img.size)
        img.save(os.path.join(out, "skin", f"{rid}.png"), optimize=True)
    big = icon_image(48)
    big.save(os.path.join(out, "kavrelo.ico"), sizes=[(16, 16), (32, 32), (48, 48)],
             append_images=[icon_image(16), icon_image(32)])


if __name__ == "__main__":
    main()
