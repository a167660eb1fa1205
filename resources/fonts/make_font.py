#!/usr/bin/python3
"""Draws the timer's seven-segment digit font and writes DS-DIGIT.TTF beside
this script: family "DS-Digital", style Bold Italic, TrueType outlines.

    /usr/bin/python3 resources/fonts/make_font.py [output.ttf]
    /usr/bin/python3 resources/fonts/make_font.py --check


Uses Debian's python3-fonttools. The output is the same byte for byte on every
run (fixed timestamps, integer outlines); --check compares a fresh build with
the committed file and fails when they differ.

Every glyph is drawn upright on a grid of 1000 units per em and then slanted.
Digits are classic seven-segment figures with bevelled segment ends; they all
share one advance width, so a running countdown does not jitter. The colon and
the full stop are square dots.
"""
import io
import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = "DS-Digital"
STYLE = "Bold Italic"
FULL_NAME = FAMILY + " " + STYLE
PS_NAME = "DS-Digital-BoldItalic"
VERSION = "Version 1.000"
MAKER = "Orsenic Software"

UPM = 1000
ASCENT = 860  # the digits (0..HEIGHT) sit centred between ascent and descent
DESCENT = 140
HEIGHT = 720  # digit height
WIDTH = 420  # digit width, upright
STROKE = 92  # segment thickness: bold
GAP = 9  # shift that opens the gaps between neighbouring segments
SLANT = 0.14  # horizontal shift per unit of height (about 8 degrees)
DIGIT_ADVANCE = 550
NARROW_ADVANCE = 260  # colon, full stop, comma
SLASH_WIDTH = 300
SLASH_ADVANCE = 430
M_WIDTH = 640
M_ADVANCE = 770
# 1 January 2024, in seconds since 1904: a fixed stamp keeps the file stable.
TIMESTAMP = 3786825600


def segments(width):
    """The seven segments of a figure of the given width, upright, as
    clockwise polygons keyed by the usual letters a (top) to g (middle)."""
    h, t, g, mid = HEIGHT, STROKE, GAP, HEIGHT / 2
    half = STROKE / 2
    w = width
    return {
        "a": [(g, h), (w - g, h), (w - t - g, h - t), (t + g, h - t)],
        "b": [(w - t, h - t - g), (w, h - g), (w, mid + half + g), (w - half, mid + g),
              (w - t, mid + half + g)],
        "c": [(w - t, mid - half - g), (w - half, mid - g), (w, mid - half - g), (w, g),
              (w - t, t + g)],
        "d": [(t + g, t), (w - t - g, t), (w - g, 0), (g, 0)],
        "e": [(0, mid - half - g), (half, mid - g), (t, mid - half - g), (t, t + g), (0, g)],
        "f": [(0, h - g), (t, h - t - g), (t, mid + half + g), (half, mid + g),
              (0, mid + half + g)],
        "g": [(half + g, mid), (t + g, mid + half), (w - t - g, mid + half), (w - half - g, mid),
              (w - t - g, mid - half), (t + g, mid - half)],
    }


FIGURES = {
    "zero": "abcdef",
    "one": "bc",
    "two": "abged",
    "three": "abgcd",
    "four": "fgbc",
    "five": "afgcd",
    "six": "afgedc",
    "seven": "abc",
    "eight": "abcdefg",
    "nine": "abcdfg",
    "A": "abcefg",
    "P": "abefg",
    "hyphen": "g",
}


def square(x, y, size):
    """A clockwise square with its lower left corner at (x, y)."""
    return [(x, y + size), (x + size, y + size), (x + size, y), (x, y)]


def letter_m():
    """M: one bar across the top, three uprights; the middle one hangs from
    the bar and is split at half height like the outer ones."""
    w, t, g = M_WIDTH, STROKE, GAP
    half, mid = STROKE / 2, HEIGHT / 2
    parts = segments(w)
    shapes = [parts[s] for s in "abcef"]
    cx = w / 2
    shapes.append([(cx - half, HEIGHT - t - g), (cx + half, HEIGHT - t - g),
                   (cx + half, mid + half + g), (cx, mid + g), (cx - half, mid + half + g)])
    shapes.append([(cx - half, mid - half - g), (cx, mid - g), (cx + half, mid - half - g),
                   (cx + half, g), (cx, 0), (cx - half, g)])
    return shapes


def comma():
    """A square dot on the baseline with a short tail hanging down to the left."""
    t = STROKE
    return [[(0, t), (t, t), (t, 0), (0.35 * t, -1.1 * t), (0.05 * t, -1.1 * t), (0.4 * t, 0),
             (0, 0)]]


def slash():
    t = STROKE
    return [[(SLASH_WIDTH - t, HEIGHT), (SLASH_WIDTH, HEIGHT), (t, 0), (0, 0)]]


def notdef():
    """An empty box: outer contour clockwise, inner one anticlockwise."""
    inner = 50
    outer = [(0, HEIGHT), (WIDTH, HEIGHT), (WIDTH, 0), (0, 0)]
    hole = [(inner, inner), (WIDTH - inner, inner), (WIDTH - inner, HEIGHT - inner),
            (inner, HEIGHT - inner)]
    return [outer, hole]


def slant(shapes, offset):
    """Slants the upright shapes and moves them right by offset; TrueType
    points are integers."""
    return [[(round(x + y * SLANT + offset), round(y)) for x, y in shape] for shape in shapes]


def frame_offset(width, advance):
    """The shift that centres a slanted frame of the given width, spanning
    the digit height, within the advance."""
    return (advance - (width + HEIGHT * SLANT)) / 2


def ink_offset(shapes, advance):
    """The shift that centres the slanted ink of the shapes within the advance."""
    xs = [x + y * SLANT for shape in shapes for x, y in shape]
    return (advance - (max(xs) - min(xs))) / 2 - min(xs)


def glyph_shapes():
    """Every glyph: name -> (advance width, slanted contours)."""
    glyphs = {".notdef": (DIGIT_ADVANCE, slant(notdef(), frame_offset(WIDTH, DIGIT_ADVANCE))),
              "space": (DIGIT_ADVANCE, [])}
    for name, lit in FIGURES.items():
        parts = segments(WIDTH)
        shapes = [parts[s] for s in lit]
        glyphs[name] = (DIGIT_ADVANCE, slant(shapes, frame_offset(WIDTH, DIGIT_ADVANCE)))
    glyphs["M"] = (M_ADVANCE, slant(letter_m(), frame_offset(M_WIDTH, M_ADVANCE)))
    dot_low = square(0, HEIGHT / 4 - STROKE / 2, STROKE)
    dot_high = square(0, HEIGHT * 3 / 4 - STROKE / 2, STROKE)
    colon = [dot_high, dot_low]
    glyphs["colon"] = (NARROW_ADVANCE, slant(colon, ink_offset(colon, NARROW_ADVANCE)))
    period = [square(0, 0, STROKE)]
    glyphs["period"] = (NARROW_ADVANCE, slant(period, ink_offset(period, NARROW_ADVANCE)))
    glyphs["comma"] = (NARROW_ADVANCE, slant(comma(), ink_offset(comma(), NARROW_ADVANCE)))
    glyphs["slash"] = (SLASH_ADVANCE, slant(slash(), frame_offset(SLASH_WIDTH, SLASH_ADVANCE)))
    return glyphs


CHARACTERS = {
    " ": "space", ",": "comma", "-": "hyphen", ".": "period", "/": "slash", ":": "colon",
    "0": "zero", "1": "one", "2": "two", "3": "three", "4": "four", "5": "five", "6": "six",
    "7": "seven", "8": "eight", "9": "nine",
    # The letters of AM and PM, in either case, for the system's time formats.
    "A": "A", "M": "M", "P": "P", "a": "A", "m": "M", "p": "P",
    # No-break and figure spaces look like the space.
    "\u00a0": "space", "\u2007": "space",
}


def build():
    glyphs = glyph_shapes()
    order = list(glyphs)
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({ord(c): name for c, name in CHARACTERS.items()})

    outlines = {}
    for name, (_, contours) in glyphs.items():
        pen = TTGlyphPen(None)
        for contour in contours:
            pen.moveTo(contour[0])
            for point in contour[1:]:
                pen.lineTo(point)
            pen.closePath()
        outlines[name] = pen.glyph()
    fb.setupGlyf(outlines)

    metrics = {}
    for name, (advance, _) in glyphs.items():
        glyph = fb.font["glyf"][name]
        lsb = glyph.xMin if glyph.numberOfContours else 0
        # GDI clips text to the sum of the advances: no ink may stick out.
        assert all(0 <= x <= advance for contour in glyphs[name][1] for x, _ in contour), name
        metrics[name] = (advance, lsb)
    fb.setupHorizontalMetrics(metrics)

    angle = -math.degrees(math.atan(SLANT))
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0, caretSlopeRise=1000,
                             caretSlopeRun=round(1000 * SLANT))
    fb.setupNameTable({
        "copyright": "Copyright (c) 2024 " + MAKER,
        "familyName": FAMILY,
        "styleName": STYLE,
        "uniqueFontIdentifier": MAKER + ": " + FULL_NAME + ": " + VERSION[8:],
        "fullName": FULL_NAME,
        "version": VERSION,
        "psName": PS_NAME,
        "manufacturer": MAKER,
        "description": "Seven-segment digits for the Brevalo countdown timer.",
    }, mac=False)
    fb.setupOS2(
        version=4,
        achVendID="ORSN",
        usWeightClass=700,
        usWidthClass=5,
        fsType=0,
        fsSelection=0x21,  # italic, bold
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        sxHeight=HEIGHT,
        sCapHeight=HEIGHT,
        ySubscriptXSize=650, ySubscriptYSize=600, ySubscriptYOffset=75,
        ySuperscriptXSize=650, ySuperscriptYSize=600, ySuperscriptYOffset=350,
        yStrikeoutSize=STROKE // 2, yStrikeoutPosition=HEIGHT // 2,
        ulCodePageRange1=1,  # Latin 1, so that an ANSI request finds the font
        ulCodePageRange2=0,
        usDefaultChar=0,
        usBreakChar=32,
        usMaxContext=0,
        panose=panose(),
    )
    fb.setupPost(italicAngle=round(angle, 2), underlinePosition=-100, underlineThickness=50,
                 isFixedPitch=0)
    fb.updateHead(created=TIMESTAMP, modified=TIMESTAMP, macStyle=0x03, lowestRecPPEM=8)
    fb.font["gasp"] = gasp()
    return fb.font


def panose():
    from fontTools.ttLib.tables.O_S_2f_2 import Panose
    p = Panose()
    p.bFamilyType = 2  # Latin text
    p.bSerifStyle = 0
    p.bWeight = 8  # bold
    p.bProportion = 0
    p.bContrast = 0
    p.bStrokeVariation = 0
    p.bArmStyle = 0
    p.bLetterForm = 9  # oblique
    p.bMidline = 0
    p.bXHeight = 0
    return p


def gasp():
    from fontTools.ttLib import newTable
    table = newTable("gasp")
    table.version = 1
    table.gaspRange = {0xFFFF: 0x000A}  # grey-scale smoothing at every size
    return table


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    committed = os.path.join(here, "DS-DIGIT.TTF")
    if sys.argv[1:] == ["--check"]:
        fresh = io.BytesIO()
        build().save(fresh)
        with open(committed, "rb") as f:
            same = f.read() == fresh.getvalue()
        print(committed + (": up to date" if same else ": differs from a fresh build"))
        sys.exit(0 if same else 1)
    out = sys.argv[1] if len(sys.argv) > 1 else committed
    build().save(out)
    print(f"{out}: {os.path.getsize(out)} bytes")


if __name__ == "__main__":
    main()
