#!/usr/bin/env python3
"""Every script of scripts/ answers --help with its usage (its own name in it) and exit
status 0, and does nothing else: the commands that build, set up, start Wine or a display
are stand-ins here that note each call, and no folder the scripts make may appear.

  python3 tests/scripts/help_test.py ROOT
"""
import glob
import os
import subprocess
import sys
import tempfile

ACTING = ("cmake ctest make wine wineboot wineserver winepath Xvfb Xephyr apt-get dpkg dpkg-query "
          "locale-gen convert identify clang++-14 git iconv timeout mktemp").split()


def run(script, scratch):
    calls = os.path.join(scratch, "calls")
    stubs = os.path.join(scratch, "stubs")
    os.makedirs(stubs)
    for name in ACTING:
        with open(os.path.join(stubs, name), "w") as f:
            f.write(f'#!/bin/sh\necho "{name} $*" >>"{calls}"\n')
        os.chmod(os.path.join(stubs, name), 0o755)
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env.update(PATH=stubs + os.pathsep + env["PATH"], TMPDIR=scratch, BUILD_DIR=f"{scratch}/made",
               NATIVE_BUILD_DIR=f"{scratch}/made", DIST_DIR=f"{scratch}/made", RELEASE_CHECK_DIR=f"{scratch}/made")
    command = ["bash", script, "--help"]
    if script.endswith(".py"):
        command = [sys.executable, script, "--help"]
    elif script.endswith("wine-env.sh"):  # sourced, as the scripts take it
        command = ["bash", "-c", 'source "$0" --help', script]
    done = subprocess.run(command, cwd=scratch, env=env, capture_output=True, text=True, timeout=60)
    left = sorted(set(os.listdir(scratch)) - {"stubs"})
    problems = [f"exit status {done.returncode}"] * (done.returncode != 0)
    problems += [f"no usage naming {os.path.basename(script)}"] * (os.path.basename(script) not in done.stdout)
    problems += [f"stderr: {done.stderr.strip()}"] * bool(done.stderr)
    problems += [f"made or ran: {' '.join(left)} {open(calls).read() if 'calls' in left else ''}".strip()] * bool(left)
    return problems


def main():
    root = os.path.abspath(sys.argv[1])
    scripts = sorted(glob.glob(os.path.join(root, "scripts", "*.sh")) + glob.glob(os.path.join(root, "scripts", "*.py")))
    failed = 0
    for script in scripts:
        with tempfile.TemporaryDirectory() as scratch:
            problems = run(script, scratch)
        failed += bool(problems)
        print(f"{'FAIL' if problems else 'ok  '} {os.path.relpath(script, root)} --help", *problems, sep="\n  " if problems else "")
    print(f"help_test: {len(scripts) - failed} passed, {failed} failed")
    sys.exit(1 if failed or not scripts else 0)


if __name__ == "__main__":
    main()
