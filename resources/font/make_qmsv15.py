#!/usr/bin/python3
"""Builds the music font "QMSV15" (CFF outlines, unhinted) from Debian's
lilypond-fonts package.

Every glyph is taken from the source font (or composed from its glyphs),
scaled so that one em is five staff spaces, moved so that its black box
starts at x = 0, given an advance equal to its black-box width and shifted
vertically so that drawing it with its baseline at the staff position the
score drawing uses engraves it in the right place.

Usage:
  make_qmsv15.py --out qmsv15.otf [--source emmentaler-20.otf]
  make_qmsv15.py --metrics-cpp render/MusicFontMetrics.cpp [--source ...]

The source font is licensed under the SIL Open Font License 1.1; the result
is a Modified Version under the same licence (see OFL.txt beside this file)
and carries none of the source's reserved names.
"""

import argparse
import glob
import os
import subprocess
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.misc.transform import Transform
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.roundingPen import RoundingPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

FAMILY = "QMSV15"
UNITS_PER_EM = 1000

# The source has 1000 units per em and four staff spaces per em; the result
# has five, so a staff space is 200 units.
BASE_SCALE = 0.8
SPACE = 200

GRACE_SCALE = 0.7   # grace note heads and flags
TEMPO_SCALE = 0.78  # note symbols of tempo marks
OCTAVE_SCALE = 0.55  # the small "8" of octave clefs
TEMPO_STEM_TOP = 2.25  # stem end of tempo note symbols, staff spaces above the baseline

# Glyph map: character -> (source glyph, vertical shift in staff spaces).
# A shift moves the glyph up from the source's own origin; "center" centres
# the glyph's black box vertically on the baseline, ("center", d) centres it
# d staff spaces above the baseline.
#
# Where the drawing code puts each baseline:
#   clefs at staff position 4 (the bottom line; tenor clef at 2),
#   note heads, accidentals and dots centred on their position,
#   up-stem flags two staff spaces below the stem end, down-stem flags at it,
#   rests at their base positions (whole -2, half 0, quarter 0, eighth -1,
#   sixteenth 1, thirty-second 1, sixty-fourth 3),
#   common and cut time at position 2, numerals with their baseline on the
#   centre line and on the bottom line,
#   segno one staff space below its position, other labels on it.
GLYPHS = {
    "a": ("clefs.G", 1.0),            # G line is one space above the bottom line
    "b": ("clefs.F", 3.0),            # F line is three spaces above it
    "c": ("clefs.C", 2.0),            # C line two spaces above (alto and tenor)
    "i": ("noteheads.s0", 0.0),
    "j": ("noteheads.s1", 0.0),
    "k": ("noteheads.s2", 0.0),
    "f": ("accidentals.flat", 0.0),
    "d": ("accidentals.sharp", 0.0),
    "e": ("accidentals.natural", 0.0),
    "g": ("accidentals.doublesharp", 0.0),
    "h": ("accidentals.flatflat", 0.0),
    "t": ("flags.d3", 0.0),           # hangs up from the stem end
    "s": ("flags.u3", 2.0),           # baseline two spaces below the stem end
    "z": ("dots.dot", 0.0),
    "l": ("rests.0", 0.0),            # hangs from the line
    "m": ("rests.1", 0.0),            # sits on the line
    "n": ("rests.2", 0.0),
    "o": ("rests.3", -0.5),
    "p": ("rests.4", 0.5),
    "q": ("rests.5", 0.5),
    "r": ("rests.6", 1.5),
    "u": ("pedal.Ped", "center"),
    "v": ("pedal.*", "center"),
    "x": ("scripts.segno", 1.0),
    "w": ("scripts.coda", 0.0),
    "y": ("scripts.ufermata", "center"),
    "I": ("scripts.rcomma", "center"),
    "D": ("timesig.C44", 1.0),
    "E": ("timesig.C22", 1.0),
    "A": ("scripts.sforzato", 0.0),
    "C": ("scripts.tenuto", 0.0),
    "0": ("zero", 0.0),
    "1": ("one", 0.0),
    "2": ("two", 0.0),
    "3": ("three", 0.0),
    "4": ("four", 0.0),
    "5": ("five", 0.0),
    "6": ("six", 0.0),
    "7": ("seven", 0.0),
    "8": ("eight", 0.0),
    "9": ("nine", 0.0),
}

# Characters that exist but draw nothing (measured, never drawn).
EMPTY = ["K", "B", "L"]

# Glyphs whose first contour is a stem stub that would stand left of the
# stem the program draws itself.
STEM_STUB_GLYPHS = {"flags.u3", "flags.d3"}

# Glyph names in the result.
NAMES = {
    "a": "gclef", "b": "fclef", "c": "cclef",
    "i": "wholehead", "j": "halfhead", "k": "blackhead",
    "f": "flat", "d": "sharp", "e": "natural", "g": "doublesharp", "h": "doubleflat",
    "t": "flagdown", "s": "flagup", "z": "dot",
    "l": "rest1", "m": "rest2", "n": "rest4", "o": "rest8", "p": "rest16", "q": "rest32",
    "r": "rest64",
    "H": "tempoeighth", "G": "tempoquarter", "F": "tempohalf", "J": "repeatdots",
    "u": "pedaldown", "v": "pedalup", "x": "segno", "w": "coda", "y": "fermata",
    "I": "breathmark", "D": "commontime", "E": "cuttime", "A": "accent", "C": "tenuto",
    "K": "emptyK", "B": "emptyB", "L": "emptyL",
    "M": "octaveeight", "N": "gracehead", "O": "graceflagdown", "P": "graceflagup",
    "0": "zero", "1": "one", "2": "two", "3": "three", "4": "four",
    "5": "five", "6": "six", "7": "seven", "8": "eight", "9": "nine",
}

COPYRIGHT = ("Copyright (c) 1996-2017 The LilyPond authors (lilypond.org). "
             "Modified Version: glyph selection, scaling, placement and composed glyphs.")
LICENSE = ("This Font Software is licensed under the SIL Open Font License, Version 1.1. "
           "This license is available with a FAQ at: https://openfontlicense.org")


def find_source():
    """The installed design-size 20 OTF of lilypond-fonts."""
    try:
        listing = subprocess.run(["dpkg", "-L", "lilypond-fonts"], capture_output=True,
                                 text=True, check=False).stdout.split("\n")
    except OSError:
        listing = []
    candidates = [p for p in listing if p.endswith("-20.otf")]
    candidates += sorted(glob.glob("/usr/share/lilypond/*/fonts/otf/*-20.otf"))
    for path in candidates:
        if os.path.basename(path).startswith("emmentaler") and os.path.isfile(path):
            return path
    return None


class Outline:
    """A glyph under construction: recorded drawing commands in result units."""

    def __init__(self):
        self.rec = RecordingPen()

    def add_glyph(self, glyphset, name, scale, dx=0.0, dy=0.0, skip_first=False):
        src = RecordingPen()
        glyphset[name].draw(src)
        ops = src.value
        if skip_first:
            end = next(i for i, (op, _) in enumerate(ops) if op in ("closePath", "endPath"))
            ops = ops[end + 1:]
        pen = TransformPen(self.rec, Transform(scale, 0, 0, scale, dx, dy))
        for op, args in ops:
            getattr(pen, op)(*args)

    def add_rect(self, x0, y0, x1, y1):
        # Counter-clockwise like the source's outer contours, so that
        # overlaps unite under the non-zero rule.
        p = self.rec
        p.moveTo((x0, y0))
        p.lineTo((x1, y0))
        p.lineTo((x1, y1))
        p.lineTo((x0, y1))
        p.closePath()

    def bounds(self):
        bp = BoundsPen(None)
        self.rec.replay(bp)
        return bp.bounds

    def moved(self, dx, dy):
        out = Outline()
        self.rec.replay(TransformPen(out.rec, Transform(1, 0, 0, 1, dx, dy)))
        return out


def glyph_bounds(glyphset, name, scale, skip_first=False):
    o = Outline()
    o.add_glyph(glyphset, name, scale, skip_first=skip_first)
    return o.bounds()


def vertical_move(shift, ymin, ymax):
    """The move, in font units, that a shift of the glyph map asks for."""
    if shift == "center":
        return -(ymin + ymax) / 2.0
    if isinstance(shift, tuple) and shift[0] == "center":
        return -(ymin + ymax) / 2.0 + shift[1] * SPACE
    return shift * SPACE


def simple_glyph(glyphset, name, shift):
    o = Outline()
    o.add_glyph(glyphset, name, BASE_SCALE, skip_first=name in STEM_STUB_GLYPHS)
    xmin, ymin, xmax, ymax = o.bounds()
    return o.moved(-xmin, vertical_move(shift, ymin, ymax))


def tempo_note(glyphset, head, flag):
    """A small note with an up stem, sitting on the baseline like text."""
    s = BASE_SCALE * TEMPO_SCALE
    o = Outline()
    hx0, hy0, hx1, hy1 = glyph_bounds(glyphset, head, s)
    o.add_glyph(glyphset, head, s, dy=-hy0)
    stem_w = 32.0 * s
    stem_x1 = hx1
    stem_y0 = (hy1 - hy0) / 2.0 + 40.0 * s
    stem_y1 = TEMPO_STEM_TOP * SPACE
    o.add_rect(stem_x1 - stem_w, stem_y0, stem_x1, stem_y1)
    if flag:
        fx0, fy0, fx1, fy1 = glyph_bounds(glyphset, "flags.u3", s, skip_first=True)
        o.add_glyph(glyphset, "flags.u3", s, dx=stem_x1 - stem_w - fx0, dy=stem_y1 - fy1,
                    skip_first=True)
    xmin, _, _, _ = o.bounds()
    return o.moved(-xmin, 0)


def repeat_dots(glyphset):
    """Two dots a staff space apart, centred on the baseline."""
    o = Outline()
    x0, y0, x1, y1 = glyph_bounds(glyphset, "dots.dot", BASE_SCALE)
    cy = (y0 + y1) / 2.0
    o.add_glyph(glyphset, "dots.dot", BASE_SCALE, dx=-x0, dy=SPACE / 2.0 - cy)
    o.add_glyph(glyphset, "dots.dot", BASE_SCALE, dx=-x0, dy=-SPACE / 2.0 - cy)
    return o


def scaled_glyph(glyphset, name, scale, shift, skip_first=False):
    """A glyph at a fraction of the normal size; shift as in GLYPHS."""
    o = Outline()
    o.add_glyph(glyphset, name, BASE_SCALE * scale, skip_first=skip_first)
    xmin, ymin, xmax, ymax = o.bounds()
    return o.moved(-xmin, vertical_move(shift, ymin, ymax))


def build_outlines(glyphset):
    out = {}
    for ch, (name, shift) in GLYPHS.items():
        out[ch] = simple_glyph(glyphset, name, shift)
    out["H"] = tempo_note(glyphset, "noteheads.s2", flag=True)
    out["G"] = tempo_note(glyphset, "noteheads.s2", flag=False)
    out["F"] = tempo_note(glyphset, "noteheads.s1", flag=False)
    out["J"] = repeat_dots(glyphset)
    # Centred a little above its baseline: the octave marks stand at positions
    # that clear both the tops and the bottoms of the clefs.
    out["M"] = scaled_glyph(glyphset, "eight", OCTAVE_SCALE, ("center", 0.35))
    out["N"] = scaled_glyph(glyphset, "noteheads.s2", GRACE_SCALE, 0.0)
    out["O"] = scaled_glyph(glyphset, "flags.d3", GRACE_SCALE, 0.0, skip_first=True)
    # The grace up-stem flag's baseline is one staff space below the stem end.
    out["P"] = scaled_glyph(glyphset, "flags.u3", GRACE_SCALE, 1.0, skip_first=True)
    for ch in EMPTY:
        out[ch] = None
    return out


def charstring(outline):
    """An unhinted Type 2 charstring, its advance and its left side bearing."""
    if outline is None:
        pen = T2CharStringPen(0, None)
        return pen.getCharString(), 0, 0, None
    # Coordinates are stored as whole units: measure the rounded outline.
    rounded = RecordingPen()
    outline.rec.replay(RoundingPen(rounded))
    bp = BoundsPen(None)
    rounded.replay(bp)
    xmin, ymin, xmax, ymax = bp.bounds
    advance = int(round(xmax - xmin))
    cs2pen = T2CharStringPen(advance, None)
    rounded.replay(cs2pen)
    return cs2pen.getCharString(), advance, int(round(xmin)), (xmin, ymin, xmax, ymax)


def build(source_path):
    src = TTFont(source_path)
    glyphset = src.getGlyphSet()
    outlines = build_outlines(glyphset)

    order = [".notdef"] + [NAMES[ch] for ch in sorted(outlines, key=lambda c: (ord(c)))]
    charstrings = {}
    metrics = {}
    boxes = {}
    empty_pen = T2CharStringPen(0, None)
    charstrings[".notdef"] = empty_pen.getCharString()
    metrics[".notdef"] = (0, 0)
    cmap = {}
    for ch, outline in outlines.items():
        name = NAMES[ch]
        cs, advance, lsb, box = charstring(outline)
        charstrings[name] = cs
        metrics[name] = (advance, lsb)
        boxes[ch] = box
        cmap[ord(ch)] = name

    ys = [b for b in boxes.values() if b is not None]
    y_max = int(round(max(b[3] for b in ys)))
    y_min = int(round(min(b[1] for b in ys)))
    ascent, descent = y_max, -y_min

    fb = FontBuilder(UNITS_PER_EM, isTTF=False)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupCFF(FAMILY, {"FullName": FAMILY, "FamilyName": FAMILY, "Weight": "Regular",
                         "Notice": COPYRIGHT, "version": "1.000"},
                charstrings, {})
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": FAMILY + "-1.000",
        "fullName": FAMILY,
        "version": "Version 1.000",
        "psName": FAMILY,
        "licenseDescription": LICENSE,
        "licenseInfoURL": "https://openfontlicense.org",
    })
    fb.setupOS2(sTypoAscender=ascent, sTypoDescender=-descent, sTypoLineGap=0,
                usWinAscent=ascent, usWinDescent=descent, fsType=0, achVendID="NONE",
                usWeightClass=400, fsSelection=0x40, sxHeight=0, sCapHeight=0)
    fb.setupPost(keepGlyphNames=False)
    fb.font["head"].fontRevision = 1.0
    return fb.font, boxes, metrics, ascent, descent


def write_metrics_cpp(path, boxes, ascent, descent):
    lines = [
        "// Black boxes of the music font's characters in font units.",
        "// Made by resources/font/make_qmsv15.py --metrics-cpp; do not edit.",
        '#include "render/MusicFontMetrics.h"',
        "",
        "namespace {",
        "",
        "constexpr TMusicFontCharBox Boxes[] = {",
    ]
    for ch in sorted(boxes, key=ord):
        box = boxes[ch]
        if box is None:
            lines.append("    {'%s', 0, 0, 0, 0}," % ch)
        else:
            xmin, ymin, xmax, ymax = box
            lines.append("    {'%s', %d, %d, %d, %d}," % (ch, round(xmin), round(ymin),
                                                          round(xmax), round(ymax)))
    lines += [
        "};",
        "",
        "} // namespace",
        "",
        "const TMusicFontCharBox* FindMusicFontChar(unsigned char c)",
        "{",
        "    for (const TMusicFontCharBox& b : Boxes)",
        "        if (static_cast<unsigned char>(b.Char) == c) return &b;",
        "    return nullptr;",
        "}",
        "",
        "const int MusicFontAscent = %d;" % ascent,
        "const int MusicFontDescent = %d;" % descent,
        "",
    ]
    with open(path, "w") as f:
        f.write("\n".join(lines))


def main():
    ap = argparse.ArgumentParser(description="Builds the QMSV15 music font.")
    ap.add_argument("--source", help="the source OTF (found with dpkg when omitted)")
    ap.add_argument("--out", help="the .otf file to write")
    ap.add_argument("--metrics-cpp", help="write the core's glyph box table here")
    args = ap.parse_args()
    source = args.source or find_source()
    if not source or not os.path.isfile(source):
        sys.stderr.write("make_qmsv15: the lilypond-fonts OTF files are not installed\n")
        return 1
    font, boxes, _, ascent, descent = build(source)
    if args.out:
        os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
        tmp = args.out + ".tmp"
        font.save(tmp)
        os.replace(tmp, args.out)
    if args.metrics_cpp:
        write_metrics_cpp(args.metrics_cpp, boxes, ascent, descent)
    if not args.out and not args.metrics_cpp:
        ap.print_usage(sys.stderr)
        return 64
    return 0


if __name__ == "__main__":
    sys.exit(main())
