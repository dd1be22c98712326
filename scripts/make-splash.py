#!/usr/bin/env python3
"""Regenerate resources/splash.jpg, the Varnok start-up picture.

The picture is drawn entirely with ImageMagick (``magick`` or ``convert``);
the Chinese text uses WenQuanYi Micro Hei (Debian: fonts-wqy-microhei).

Usage:
    scripts/make-splash.py [--font PATH] [--output PATH] [--scale N]

The output is a baseline JFIF JPEG, 430 x 250 pixels, sRGB, without any
metadata, so running the script again gives the same file. With --scale 2
the same picture is drawn at 860 x 500 (resources/splash@2x.jpg), which the
program shows on scaled screens.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 430, 250

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUTPUT = os.path.join(ROOT, "resources", "splash.jpg")
DEFAULT_OUTPUT_2X = os.path.join(ROOT, "resources", "splash@2x.jpg")
DEFAULT_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

NAME = "Varnok"
TITLE = "专业技术人员初始注册申报系统"
SLOGAN = "离线填写 · 一键保存 · 网上申报"
VERSION = "Version 1.0"

# Palette
BG_LIGHT = "#2f76c6"
BG_DARK = "#0e3569"
PAPER = "#ffffff"
PAPER_FOLD = "#c9dcf3"
PAPER_LINE = "#a9c3e6"
PAPER_HEAD = "#2f76c6"
BADGE = "#27a865"
ACCENT = "#f3c453"
TEXT_MAIN = "#ffffff"
TEXT_SOFT = "#d3e3f8"


def find_imagemagick():
    """Return the command prefix that runs ImageMagick's convert."""
    magick = shutil.which("magick")
    if magick:
        return [magick]
    convert = shutil.which("convert")
    if convert:
        return [convert]
    sys.exit("make-splash: ImageMagick (magick or convert) not found")


def emblem(x, y):
    """Draw commands for the emblem: a certificate sheet with a check badge.

    (x, y) is the top-left corner of the sheet, which is 62 x 80 pixels.
    """
    w, h, fold, r = 62, 80, 18, 5
    sheet = (
        f"M {x + r},{y} L {x + w - fold},{y} L {x + w},{y + fold} "
        f"L {x + w},{y + h - r} Q {x + w},{y + h} {x + w - r},{y + h} "
        f"L {x + r},{y + h} Q {x},{y + h} {x},{y + h - r} "
        f"L {x},{y + r} Q {x},{y} {x + r},{y} Z"
    )
    shadow = (
        f"M {x + r + 3},{y + 4} L {x + w - fold + 3},{y + 4} L {x + w + 3},{y + fold + 4} "
        f"L {x + w + 3},{y + h + 4 - r} Q {x + w + 3},{y + h + 4} {x + w + 3 - r},{y + h + 4} "
        f"L {x + r + 3},{y + h + 4} Q {x + 3},{y + h + 4} {x + 3},{y + h + 4 - r} "
        f"L {x + 3},{y + r + 4} Q {x + 3},{y + 4} {x + r + 3},{y + 4} Z"
    )
    cmds = [
        ["-fill", "rgba(0,20,50,0.28)", "-stroke", "none", "-draw", f"path '{shadow}'"],
        ["-fill", PAPER, "-draw", f"path '{sheet}'"],
        ["-fill", PAPER_FOLD, "-draw",
         f"polygon {x + w - fold},{y} {x + w - fold},{y + fold - 3} "
         f"{x + w - fold + 3},{y + fold} {x + w},{y + fold}"],
        # heading bar and text lines of the sheet
        ["-fill", PAPER_HEAD, "-draw",
         f"roundrectangle {x + 10},{y + 12} {x + 36},{y + 17} 2,2"],
    ]
    for i, length in enumerate((42, 42, 34, 24)):
        top = y + 27 + i * 10
        cmds.append(["-fill", PAPER_LINE, "-draw",
                     f"roundrectangle {x + 10},{top} {x + 10 + length},{top + 4} 2,2"])
    # check badge overlapping the lower right corner
    cx, cy, br = x + w - 2, y + h - 6, 17
    cmds += [
        ["-fill", "rgba(0,20,50,0.25)", "-draw", f"circle {cx + 1},{cy + 2} {cx + 1 + br + 3},{cy + 2}"],
        ["-fill", PAPER, "-draw", f"circle {cx},{cy} {cx + br + 3},{cy}"],
        ["-fill", BADGE, "-draw", f"circle {cx},{cy} {cx + br},{cy}"],
        ["-fill", "none", "-stroke", PAPER, "-strokewidth", "4",
         "-draw", f"stroke-linecap round stroke-linejoin round "
                  f"polyline {cx - 8},{cy + 1} {cx - 2},{cy + 7} {cx + 9},{cy - 6}"],
        ["-stroke", "none", "-strokewidth", "1"],
    ]
    return [arg for cmd in cmds for arg in cmd]


def build_command(im, font, output):
    band_top = 204
    args = im + [
        "-size", f"{WIDTH}x{HEIGHT}",
        "-define", "gradient:direction=SouthEast",
        f"gradient:{BG_LIGHT}-{BG_DARK}",
        "-colorspace", "sRGB",
        # soft decorative rings on the right
        "-fill", "rgba(255,255,255,0.05)", "-stroke", "none",
        "-draw", "circle 400,30 400,180",
        "-fill", "rgba(255,255,255,0.04)",
        "-draw", "circle 440,-10 440,95",
        # bottom band
        "-fill", "rgba(5,25,60,0.30)",
        "-draw", f"rectangle 0,{band_top} {WIDTH},{HEIGHT}",
        "-fill", "rgba(255,255,255,0.22)",
        "-draw", f"rectangle 0,{band_top} {WIDTH},{band_top}",
    ]
    args += emblem(34, 58)
    args += [
        "-font", font,
        # program name (slightly emboldened with a thin stroke of its own colour)
        "-fill", TEXT_MAIN, "-stroke", TEXT_MAIN, "-strokewidth", "0.9",
        "-pointsize", "40", "-annotate", "+134+94", NAME,
        "-stroke", "none",
        # accent rule
        "-fill", ACCENT,
        "-draw", "roundrectangle 136,106 172,109 1,1",
        # Chinese title
        "-fill", TEXT_MAIN, "-pointsize", "19",
        "-annotate", "+135+141", TITLE,
        # bottom band texts
        "-fill", TEXT_SOFT, "-pointsize", "13",
        "-annotate", f"+24+{band_top + 28}", SLOGAN,
        "-gravity", "SouthEast",
        "-annotate", f"+24+{HEIGHT - band_top - 28 - 3}", VERSION,
        "-gravity", "NorthWest",
        # output: plain baseline JFIF, no metadata
        "-strip",
        "-interlace", "none",
        "-sampling-factor", "4:4:4",
        "-quality", "92",
        "-type", "TrueColor",
        f"jpeg:{output}",
    ]
    return args


def scaled(args, factor):
    """The same drawing, factor times as large: every length in it scaled."""
    if factor == 1:
        return args

    def number(match):
        return f"{float(match.group(0)) * factor:g}"

    lengths = re.compile(r"-?\d+(?:\.\d+)?")
    out = list(args)
    for i in range(1, len(out)):
        option = out[i - 1]
        if option in ("-draw", "-strokewidth", "-pointsize", "-annotate", "-size"):
            out[i] = lengths.sub(number, out[i])
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--font", default=DEFAULT_FONT,
                        help="font file with Chinese glyphs (default: %(default)s)")
    parser.add_argument("--output",
                        help="JPEG file to write (default: resources/splash.jpg, "
                             "with --scale 2 resources/splash@2x.jpg)")
    parser.add_argument("--scale", type=int, default=1, choices=(1, 2),
                        help="draw the picture this many times as large (default: 1)")
    opts = parser.parse_args()
    if not opts.output:
        opts.output = DEFAULT_OUTPUT_2X if opts.scale == 2 else DEFAULT_OUTPUT

    if not os.path.isfile(opts.font):
        sys.exit(f"make-splash: font not found: {opts.font} "
                 "(install fonts-wqy-microhei or pass --font)")

    out_dir = os.path.dirname(os.path.abspath(opts.output))
    os.makedirs(out_dir, exist_ok=True)
    fd, tmp = tempfile.mkstemp(suffix=".jpg", dir=out_dir)
    os.close(fd)
    try:
        command = build_command(find_imagemagick(), opts.font, tmp)
        subprocess.run(scaled(command, opts.scale), check=True)
        os.chmod(tmp, 0o644)
        os.replace(tmp, opts.output)
    finally:
        if os.path.exists(tmp):
            os.unlink(tmp)
    print(f"wrote {opts.output} ({os.path.getsize(opts.output)} bytes)")


if __name__ == "__main__":
    main()
