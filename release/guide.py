#!/usr/bin/env python3
"""The user guide, docs/user-guide.md, is the one source of two texts:

- the plain-text guide shipped in the release archive, wrapped at 80 columns, with no
  Markdown marks left (render_text);
- the README's settings section, which is the guide's "Settings" part word for word,
  between two marker lines (readme_section).

  guide.py --guide docs/user-guide.md --text OUT.txt      write the plain-text guide
  guide.py --guide docs/user-guide.md --readme README.md  check the README's section
  guide.py ... --readme README.md --write                 write it there instead

The Markdown is a small subset: "#" and "##" headings, paragraphs, "- " lists (nested
by two spaces), code blocks indented by four spaces, `code`, **strong** and [links](url).
"""
import argparse
import re
import sys
import unicodedata

WIDTH = 80
BEGIN = "<!-- settings: from docs/user-guide.md by release/guide.py; edit it there -->"
END = "<!-- settings: end -->"
SETTINGS_HEADING = "## Settings"


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


def readme_section(markdown):
    return BEGIN + "\n" + settings_part(markdown) + "\n" + END


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--guide", required=True)
    parser.add_argument("--text")
    parser.add_argument("--readme")
    parser.add_argument("--write", action="store_true")
    args = parser.parse_args()
    with open(args.guide, encoding="utf-8") as f:
        markdown = f.read()

    if args.text:
        with open(args.text, "w", encoding="utf-8", newline="\n") as f:
            f.write(render_text(markdown))
    if args.readme:
        with open(args.readme, encoding="utf-8") as f:
            readme = f.read()
        pattern = re.compile(re.escape(BEGIN) + ".*?" + re.escape(END), re.S)
        if not pattern.search(readme):
            sys.exit(f"guide.py: {args.readme} has no settings section between its marker lines")
        wanted = pattern.sub(lambda _: readme_section(markdown), readme)
        if args.write:
            with open(args.readme, "w", encoding="utf-8", newline="\n") as f:
                f.write(wanted)
        elif wanted != readme:
            sys.exit(f"guide.py: the settings section of {args.readme} differs from {args.guide}; "
                     f"run release/guide.py --guide {args.guide} --readme {args.readme} --write")
        else:
            print(f"guide.py: the settings section of {args.readme} is the guide's")
    width = max(columns(line) for line, verbatim in render_lines(markdown) if not verbatim)
    if width > WIDTH:
        sys.exit(f"guide.py: a line of the plain-text guide is {width} columns wide")


if __name__ == "__main__":
    main()
