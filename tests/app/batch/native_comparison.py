#!/usr/bin/env python3
"""The native command and the Windows program's conversion without a window (under Wine)
give the same bytes: every picture format, each method, with and without --width and
--color, each output form, several pictures at once, and the same exit code and message for
what fails.
Usage: native_comparison.py NATIVE_COMMAND GLYPHMILL_EXE PICTURE_FOLDER (in a running Wine
session)."""
import itertools
import os
import shutil
import subprocess
import sys
import tempfile

native, program, pictures = sys.argv[1:4]
wine = os.environ.get("WINE", "/usr/lib/wine/wine64")
work = tempfile.mkdtemp(prefix="native-comparison-")
formats = ["bmp", "gif", "pcx", "tga", "jpg"]
failures = []


def run(side, arguments):
    """Exit code, standard output and error; output to files (never a pipe to Wine)."""
    command = [native] if side == "native" else [wine, program]
    with open(os.path.join(work, "out"), "wb") as out, open(os.path.join(work, "err"), "wb") as err:
        code = subprocess.call(command + arguments, stdout=out, stderr=err, stdin=subprocess.DEVNULL, cwd=work)
    return code, open(os.path.join(work, "out"), "rb").read(), open(os.path.join(work, "err"), "rb").read()


def compare(label, native_result, windows_result):
    if native_result != windows_result:
        failures.append("%s: native %r, Windows %r" % (label, native_result[:3], windows_result[:3]))


for name in formats:
    shutil.copy(os.path.join(pictures, "scene." + name), os.path.join(work, "scene-%s.%s" % (name, name)))
with open(os.path.join(work, "kein-bild.gif"), "wb") as f:
    f.write(b"kein Bild")

combinations = itertools.product(["4pixel", "exakt", "graustufen"], [[], ["--width", "40"]], [[], ["--color"]])
for number, (method, width, colour) in enumerate(combinations):
    settings = ["--method", method] + width + colour
    for form in ["txt", "htm", "bmp"]:
        if colour and form == "txt":
            continue
        results = {}
        for side in ["native", "windows"]:
            folder = os.path.join(work, side + "-" + form)
            shutil.rmtree(folder, ignore_errors=True)
            code, _, _ = run(side, ["--convert", "scene-*", "--out-dir", side + "-" + form, "--format", form]
                             + settings)
            files = {f: open(os.path.join(folder, f), "rb").read() for f in sorted(os.listdir(folder))}
            results[side] = (code, files)
        compare(" ".join(settings + [form]), results["native"], results["windows"])
        if len(results["native"][1]) != len(formats):
            failures.append("%s %s: %d files" % (" ".join(settings), form, len(results["native"][1])))
    # Standard output, of one picture each time, every format in turn.
    name = formats[number % len(formats)]
    arguments = ["--convert", "scene-%s.%s" % (name, name)] + settings
    compare(" ".join(arguments), run("native", arguments), run("windows", arguments))

# A JPEG scaled down is read row by row; cells past its scaled bottom edge see the
# picture as drawn at its own size.
for method in ["4pixel", "exakt"]:
    arguments = ["--convert", "scene-jpg.jpg", "--method", method, "--width", "8"]
    compare(" ".join(arguments), run("native", arguments), run("windows", arguments))

for arguments in [["--convert", "fehlt.bmp"], ["--convert", "kein-bild.gif"], ["--convert", "scene-bmp.bmp", "--method", "fein"],
                  ["--convert", "scene-bmp.bmp", "--out", "kein-ordner/x.txt"], ["--help"]]:
    compare(" ".join(arguments), run("native", arguments), run("windows", arguments))

shutil.rmtree(work, ignore_errors=True)
for failure in failures:
    print(failure)
print("%d differences" % len(failures))
sys.exit(1 if failures else 0)
