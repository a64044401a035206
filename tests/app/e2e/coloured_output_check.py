#!/usr/bin/env python3
"""The coloured HTML page and the coloured standard output of the real program carry exactly
the plain result's text: the page as Python's own HTML parser reads it (spans of one colour
each, nothing else inside the font element), the output with its colour sequences removed.
Usage: coloured_output_check.py GLYPHMILL_EXE PICTURE_FOLDER GLYPH_IMAGE_FOLDER (in a running
Wine session)."""
import html.parser
import os
import re
import subprocess
import sys
import tempfile

program, pictures, glyph_images = sys.argv[1:4]
wine = os.environ.get("WINE", "/usr/lib/wine/wine64")
work = tempfile.mkdtemp(prefix="coloured-check-")
failures = []


def windows(path):
    return "Z:" + path.replace("/", "\\")


def run(arguments, name):
    """Runs the program, standard output to a file (never a pipe to a Wine process)."""
    out_path = os.path.join(work, name)
    with open(out_path, "wb") as out, open(out_path + ".err", "wb") as err:
        code = subprocess.call([wine, program] + arguments, stdout=out, stderr=err, stdin=subprocess.DEVNULL)
    with open(out_path, "rb") as out:
        return code, out.read().decode("latin-1")


class FontText(html.parser.HTMLParser):
    """The text inside <font>, and every problem with the spans around it."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.text, self.problems, self.in_font, self.in_span, self.spans = "", [], False, False, 0

    def handle_starttag(self, tag, attrs):
        if tag == "font":
            self.in_font = True
        elif tag == "span":
            style = dict(attrs).get("style", "")
            if self.in_span or not self.in_font or not re.fullmatch(r"color:#[0-9a-f]{6}", style):
                self.problems.append("span %r inside span or outside font" % style)
            self.in_span, self.spans = True, self.spans + 1
        elif self.in_font:
            self.problems.append("unexpected <%s>" % tag)

    def handle_endtag(self, tag):
        if tag == "font":
            self.in_font = False
        elif tag == "span":
            self.in_span = False

    def handle_data(self, data):
        if self.in_font:
            self.text += data


# A picture of the glyphs of "<b>&lt;", which "Exakt" gives back as those characters: unless
# the page escapes them, a parser reads a tag and a "<" there.
glyphs = os.path.join(work, "glyphs.bmp")
subprocess.check_call(["convert"] + [os.path.join(glyph_images, "fixedsys%d.bmp" % ord(c)) for c in "<b>&lt;"] +
                      ["+append", "-type", "TrueColor", "BMP3:" + glyphs])

escaped_seen = False
for method in ("4pixel", "exakt", "graustufen"):
    for picture in ("scene.bmp", "shade.bmp", "scene.jpg", glyphs):
        arguments = ["--convert", windows(os.path.join(pictures, picture)), "--method", method]
        label = "%s %s" % (picture, method)
        code, plain = run(arguments, "plain.txt")
        page_path = os.path.join(work, "page.htm")
        page_code, _ = run(arguments + ["--color", "--out", windows(page_path)], "page.out")
        ansi_code, ansi = run(arguments + ["--color"], "ansi.txt")
        if (code, page_code, ansi_code) != (0, 0, 0) or not plain:
            failures.append("%s: exit codes %s, %d plain bytes" % (label, (code, page_code, ansi_code), len(plain)))
            continue
        with open(page_path, "rb") as page_file:
            page = page_file.read().decode("latin-1")
        parser = FontText()
        parser.feed(page)
        parser.close()
        failures += ["%s: %s" % (label, problem) for problem in parser.problems]
        # The footer puts a line end before </font>.
        if parser.text != plain + "\r\n":
            failures.append("%s: the page's text differs from the plain result" % label)
        if parser.spans == 0:
            failures.append("%s: no coloured span" % label)
        escaped_seen = escaped_seen or any(c in plain for c in "<>&")
        if re.sub(r"\x1b\[[0-9;]*m", "", ansi) != plain:
            failures.append("%s: the coloured output's text differs from the plain result" % label)
        if ansi.count("\x1b[0m") != plain.count("\r\n"):
            failures.append("%s: not one reset per line" % label)
if not escaped_seen:
    failures.append("no result had <, > or & to escape")
for failure in failures:
    print("FAILED:", failure)
print("%d failures" % len(failures))
sys.exit(1 if failures else 0)
