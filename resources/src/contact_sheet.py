"""One PNG of every picture at its real size, both layouts, with the colour-keyed areas shown
as a checkerboard so what turns transparent on screen is plain to see."""

import os
import subprocess
import sys
import tempfile

KEYS = {
    "magenta": "#FF00FF",
    "white": "#FFFFFF",
    "black": "#000000",
}

# (file, key) per group; the order follows the screens.
NORMAL = ["GIF/156.gif:-", "BITMAP/134.bmp:black", "BITMAP/135.bmp:black", "BITMAP/136.bmp:black",
          "GIF/161.gif:magenta", "BITMAP/142.bmp:black", "BITMAP/145.bmp:white",
          "BITMAP/144.bmp:white", "GIF/174.gif:magenta", "GIF/175.gif:magenta",
          "GIF/178.gif:magenta", "GIF/190.gif:magenta", "GIF/177.gif:magenta",
          "GIF/164.gif:magenta", "GIF/163.gif:magenta", "GIF/170.gif:magenta",
          "GIF/169.gif:magenta"]
WIDE = ["GIF/166.gif:-", "BITMAP/139.bmp:black", "BITMAP/140.bmp:black", "BITMAP/141.bmp:black",
        "GIF/162.gif:magenta", "BITMAP/143.bmp:black", "BITMAP/189.bmp:white",
        "BITMAP/188.bmp:white", "GIF/179.gif:magenta", "GIF/180.gif:magenta",
        "GIF/183.gif:magenta", "GIF/191.gif:magenta", "GIF/182.gif:magenta",
        "GIF/184.gif:magenta", "GIF/185.gif:magenta", "GIF/187.gif:magenta",
        "GIF/186.gif:magenta"]
SHARED = ["GIF/157.gif:magenta", "BITMAP/133.bmp:-", "ICON/101.png:-"]


def prepare(top, work, entry):
    path, key = entry.split(":")
    name = path.split("/")[1].split(".")[0]
    out = os.path.join(work, name + ".png")
    cmd = ["convert", os.path.join(top, path)]
    if key != "-":
        w, h = subprocess.run(["identify", "-format", "%w %h", os.path.join(top, path)],
                              capture_output=True, check=True, text=True).stdout.split()
        cmd = ["convert", "-size", f"{w}x{h}", "pattern:checkerboard", "(",
               os.path.join(top, path), "-fuzz", "0", "-transparent", KEYS[key], ")",
               "-composite"]
    subprocess.run(cmd + [out], check=True)
    return out, f"{name} (key {key})" if key != "-" else name


def group(top, work, title, entries, tile, cell):
    labelled = []
    for entry in entries:
        path, name = prepare(top, work, entry)
        labelled += ["-label", name, path]
    out = os.path.join(work, title.replace(" ", "_").replace(",", "") + ".png")
    subprocess.run(["montage", "-tile", tile, "-geometry", cell + "+8+4>", "-background", "#9E9E9E",
                    "-pointsize", "12", "-title", title] + labelled + [out], check=True)
    return out


def tiled(top, work):
    """The picture background repeated, to show that its edges meet without a seam."""
    out = os.path.join(work, "tiled.png")
    subprocess.run(["convert", "-size", "240x160", "tile:" + os.path.join(top, "BITMAP/133.bmp"),
                    "-background", "#9E9E9E", "-gravity", "north", "-splice", "0x16",
                    "-pointsize", "12", "-annotate", "+0+1", "133 repeated as on the work screen",
                    out], check=True)
    return out


def main(top, sheet):
    with tempfile.TemporaryDirectory() as work:
        parts = [group(top, work, "backgrounds 156 and 166", [NORMAL[0], WIDE[0]], "2x", "480x640"),
                 group(top, work, "normal layout", NORMAL[1:], "8x", "160x76"),
                 group(top, work, "wide layout", WIDE[1:], "6x", "320x152"),
                 group(top, work, "vehicle, picture background, icon", SHARED, "3x", "500x720"),
                 tiled(top, work)]
        subprocess.run(["convert", "-background", "#9E9E9E"] + parts
                       + ["-gravity", "west", "-append", "+repage", "-depth", "8", sheet], check=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
