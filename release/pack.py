#!/usr/bin/env python3
"""Writes the release archive and its SHA-256 file, byte for byte the same on every run.

The user guide is rendered from its Markdown source as plain text wrapped at 80
columns (release/guide.py), with the version filled in, CRLF line ends and a UTF-8
mark, so Notepad shows the Japanese log line right. Members go to the archive's
root in the order given, with one fixed time and fixed attributes.

  pack.py --version 0.2.0 --file-version 0.2.0.0 --guide docs/user-guide.md \
          --guide-name ZlvnHint-README.txt --out dist/ZlvnHint-0.2.0.zip FILE...
"""
import argparse
import hashlib
import os
import sys
import time
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import guide  # noqa: E402  the plain-text guide from its Markdown source

# Zip times start in 1980; SOURCE_DATE_EPOCH (the last commit's time) sets ours.
ZIP_EPOCH_FLOOR = 315532800


def member_time():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", ZIP_EPOCH_FLOOR))
    return time.gmtime(max(epoch, ZIP_EPOCH_FLOOR))[:6]


def render_guide(path, version, file_version):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = text.replace("@VERSION@", version).replace("@FILE_VERSION@", file_version)
    if "@" + "VERSION" in text:
        sys.exit(f"pack.py: {path}: a version placeholder was left")
    lines = guide.render_text(text).split("\n")
    return ("\ufeff" + "\r\n".join(lines)).encode("utf-8")


def add(archive, name, data, when):
    info = zipfile.ZipInfo(name, date_time=when)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # attributes below are Unix ones: a plain file, rw-r--r--
    info.external_attr = 0o100644 << 16
    archive.writestr(info, data, compresslevel=9)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--file-version", required=True)
    parser.add_argument("--guide", required=True)
    parser.add_argument("--guide-name", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    when = member_time()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    partial = args.out + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in args.files:
            with open(path, "rb") as f:
                add(archive, os.path.basename(path), f.read(), when)
        add(archive, args.guide_name, render_guide(args.guide, args.version, args.file_version), when)
    os.replace(partial, args.out)

    with open(args.out, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    # sha256sum's format, with the bare name, so `sha256sum -c` works beside the zip.
    with open(args.out + ".sha256", "w", newline="\n") as f:
        f.write(f"{digest}  {os.path.basename(args.out)}\n")


if __name__ == "__main__":
    main()
