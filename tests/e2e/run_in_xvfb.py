#!/usr/bin/env python3
"""Runs a command under a private X server and home folder:
run_in_xvfb.py SOURCE_DIR -- command args..."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xvfb_harness  # noqa: E402


def main():
    if len(sys.argv) < 4 or sys.argv[2] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    source_dir, command = sys.argv[1], sys.argv[3:]
    with xvfb_harness.private_display() as display, xvfb_harness.private_home() as home:
        env = xvfb_harness.environment(display, home, source_dir)
        return subprocess.call(command, env=env)


if __name__ == "__main__":
    sys.exit(main())
