#!/usr/bin/env python3
"""Every script of scripts/ answers --help with its usage (its own name in it), exit status
0 and nothing else: the commands that build, set up or start Wine or a display are
stand-ins that note each call, and no file may appear.   help_test.py ROOT"""
import glob
import os
import subprocess
import sys
import tempfile

ACTING = ("cmake ctest make wine wineboot wineserver winepath Xvfb Xephyr apt-get dpkg dpkg-query "
          "locale-gen convert identify clang++-14 git iconv timeout mktemp").split()


def problems(script, scratch):
    os.makedirs(f"{scratch}/stubs")
    for name in ACTING:
        with open(f"{scratch}/stubs/{name}", "w") as f:
            f.write(f'#!/bin/sh\necho "{name} $*" >>"{scratch}/calls"\n')
        os.chmod(f"{scratch}/stubs/{name}", 0o755)
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env.update({"PATH": f"{scratch}/stubs:{env['PATH']}", "TMPDIR": scratch,
                **{k: f"{scratch}/made" for k in ("BUILD_DIR", "NATIVE_BUILD_DIR", "DIST_DIR", "RELEASE_CHECK_DIR")}})
    command = ([sys.executable, script, "--help"] if script.endswith(".py") else
               ["bash", "-c", 'source "$0" --help', script] if script.endswith("wine-env.sh")  # sourced, as used
               else ["bash", script, "--help"])
    done = subprocess.run(command, cwd=scratch, env=env, capture_output=True, text=True, timeout=60)
    left = sorted(set(os.listdir(scratch)) - {"stubs"})
    calls = open(f"{scratch}/calls").read() if "calls" in left else ""
    return ([f"exit status {done.returncode}"] * (done.returncode != 0) + [f"stderr: {done.stderr}"] * bool(done.stderr)
            + ["no usage with its name"] * (os.path.basename(script) not in done.stdout)
            + [f"made or ran: {left} {calls}"] * bool(left))


root = os.path.abspath(sys.argv[1])
scripts = sorted(glob.glob(f"{root}/scripts/*.sh") + glob.glob(f"{root}/scripts/*.py"))
failed = 0
for script in scripts:
    with tempfile.TemporaryDirectory() as scratch:
        found = problems(script, scratch)
    failed += bool(found)
    print(f"{'FAIL' if found else 'ok  '} {os.path.relpath(script, root)} --help", *found, sep="\n  ")
sys.exit(1 if failed or not scripts else 0)
