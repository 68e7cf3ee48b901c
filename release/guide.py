#!/usr/bin/env python3
"""The user guide, docs/user-guide.md, is the one place where the settings are told: the
plain-text guide shipped in the release archive is made from it, wrapped at 80 columns,
with no Markdown marks left (render_text), and the README links to it.

  guide.py --guide docs/user-guide.md --text OUT.txt      write the plain-text guide
  guide.py --guide docs/user-guide.md --readme README.md  check that the README points
                                                          at the guide, with no copy
  guide.py ... --keys plugin/records/setting_keys.cpp     check that the guide answers
                                                          every key of the table, and
                                                          that its "N keys" counts them

The Markdown is a small subset: "#" and "##" headings, paragraphs, "- " lists (nested
by two spaces), code blocks indented by four spaces, `code`, **strong** and [links](url).
"""
import argparse
import re
import sys
import unicodedata

WIDTH = 80
SETTINGS_HEADING = "## Settings"
# A row of the settings table: {kSection, "Key", SettingKind::Kind, "default", ...}
KEY_ROW = re.compile(r'\{k(\w+), "(\w+)", SettingKind::\w+, "([^"]*)"')
BAD_VALUE = "A bad value"


def columns(text):
    """Columns on a terminal: East Asian wide and full-width characters take two."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def wrap(text, lead="", hanging=""):
    """Greedy wrap at word breaks by columns; a word wider than a line stands alone."""
    lines, line = [], lead
    for word in text.split():
        bare = line == lead or line == hanging
        candidate = line + ("" if bare else " ") + word
        if columns(candidate) <= WIDTH or bare:
            line = candidate
        else:
            lines.append(line)
            line = hanging + word
    lines.append(line)
    return lines


def plain(text):
    text = re.sub(r"\[([^\]]+)\]\([^)]+\)", r"\1", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    return text.replace("`", "")


def blocks(lines):
    """Yields (kind, indent, text): heading1, heading2, code, item, para."""
    para, para_kind, para_indent = [], None, 0

    def flush():
        nonlocal para, para_kind
        if para:
            yield para_kind, para_indent, " ".join(para)
        para, para_kind = [], None

    for line in lines:
        if not line.strip():
            yield from flush()
            continue
        if line.startswith("    ") and para_kind is None:
            yield "code", 4, line[4:]
            continue
        item = re.match(r"^( *)- (.*)$", line)
        if line.startswith("# ") or line.startswith("## "):
            yield from flush()
            yield ("heading1" if line.startswith("# ") else "heading2"), 0, line.lstrip("# ").strip()
        elif item:
            yield from flush()
            para, para_kind, para_indent = [item.group(2).strip()], "item", len(item.group(1))
        else:
            if para_kind is None:
                para_kind, para_indent = "para", 0
            para.append(line.strip())
    yield from flush()


def render_text(markdown):
    return "\n".join(line for line, _ in render_lines(markdown)) + "\n"


def render_lines(markdown):
    """(line, verbatim) pairs: code lines are quoted as they are, whatever their width."""
    out, previous = [], None
    for kind, indent, text in blocks(markdown.split("\n")):
        text = plain(text) if kind != "code" else text
        if previous is not None and not (kind == previous and kind in ("code", "item")):
            out.append(("", False))
        if kind == "heading1":
            out += [(text, False), ("=" * min(columns(text), WIDTH), False)]
        elif kind == "heading2":
            out += [(text, False), ("-" * min(columns(text), WIDTH), False)]
        elif kind == "code":
            out.append(("    " + text, True))
        elif kind == "item":
            lead = " " * indent + "- "
            out += [(line, False) for line in wrap(text, lead, " " * len(lead))]
        else:
            out += [(line, False) for line in wrap(text)]
        previous = kind
    return out


def settings_part(markdown):
    lines = markdown.split("\n")
    start = lines.index(SETTINGS_HEADING)
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    return "\n".join(lines[start:end]).strip("\n")


def key_gaps(markdown, table_source):
    """What the guide leaves open about the keys of the settings table: each key must
    be named, with its section, in one item of the Settings part that gives its
    default and says what a bad value does."""
    settings = settings_part(markdown)
    items = [text for kind, _, text in blocks(settings.split("\n")) if kind == "item"]
    gaps = []
    # The one place in the documents that gives the number of keys.
    rows = len(KEY_ROW.findall(table_source))
    said = re.findall(r"(\d+) keys\b", settings)
    if said != [str(rows)]:
        gaps.append(f"the Settings part should say once that there are {rows} keys, not {said}")
    for section, key, default in KEY_ROW.findall(table_source):
        item = next((text for text in items if f"`{key}`" in text), None)
        if item is None:
            gaps.append(f"{key}: no item of the Settings part names it")
            continue
        for wanted in (f"`[{section}]`", BAD_VALUE, default):
            if wanted not in item:
                gaps.append(f"{key}: its item lacks {wanted!r}")
    if not KEY_ROW.search(table_source):
        gaps.append("no row of the settings table was found")
    return gaps


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--guide", required=True)
    parser.add_argument("--text")
    parser.add_argument("--readme")
    parser.add_argument("--keys")
    args = parser.parse_args()
    with open(args.guide, encoding="utf-8") as f:
        markdown = f.read()

    if args.text:
        with open(args.text, "w", encoding="utf-8", newline="\n") as f:
            f.write(render_text(markdown))
    if args.readme:
        with open(args.readme, encoding="utf-8") as f:
            readme = f.read()
        if "docs/user-guide.md" not in readme or SETTINGS_HEADING + "\n" in readme:
            sys.exit(f"guide.py: {args.readme} should link to {args.guide} for the settings, with no copy of them")
    if args.keys:
        with open(args.keys, encoding="utf-8") as f:
            gaps = key_gaps(markdown, f.read())
        if gaps:
            sys.exit("guide.py: the guide leaves keys open:\n  " + "\n  ".join(gaps))
    width = max(columns(line) for line, verbatim in render_lines(markdown) if not verbatim)
    if width > WIDTH:
        sys.exit(f"guide.py: a line of the plain-text guide is {width} columns wide")


if __name__ == "__main__":
    main()
