#!/usr/bin/env python3
"""Checks that every path of the repository that README.md, CONTRIBUTING.md and docs/*.md
name is there: each word in backticks that starts with a folder of the repository, and
each relative link. `*` and `<name>` stand for any text; build outputs are not looked at.

  python3 scripts/doc-paths.py [ROOT]   prints each missing path with its document;
                                        fails when any is (ROOT: default the current folder)
"""
import argparse
import glob
import os
import re
import sys

FOLDERS = ("support/", "plugin/", "hint/", "dialogs/", "host/", "tests/", "scripts/", "release/",
           "docs/", "native/", "fuzz/", "cmake/", "assets/", ".ci/")


def named_paths(text):
    for code in re.findall(r"`([^`\n]+)`", text):
        word = code.split()[0] if code.split() else ""
        if word.startswith(FOLDERS):
            yield word.rstrip(".,:;")
    for link in re.findall(r"\]\(([^)#\s]+)\)", text):
        if "://" not in link:
            yield "./" + link


def missing(root, document):
    with open(document, encoding="utf-8") as f:
        text = f.read()
    here = os.path.dirname(document)
    for path in named_paths(text):
        base = here if path.startswith("./") else root
        pattern = re.sub(r"<[^>]*>", "*", os.path.normpath(os.path.join(base, path)))
        if not glob.glob(pattern):
            yield path


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("root", nargs="?", default=".", metavar="ROOT")
    root = parser.parse_args().root
    documents = [os.path.join(root, "README.md"), os.path.join(root, "CONTRIBUTING.md")]
    documents += sorted(glob.glob(os.path.join(root, "docs", "*.md")))
    gaps = [f"{os.path.relpath(d, root)}: {p}" for d in documents for p in missing(root, d)]
    for gap in gaps:
        print("missing: " + gap)
    sys.exit(1 if gaps else 0)


if __name__ == "__main__":
    main()
