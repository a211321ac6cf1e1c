#!/usr/bin/env python3
"""Installs the build into a scratch prefix and checks what desktops read:
the desktop entry, the ".apn" type (through shared-mime-info's own tools),
the icons, the program with its link in bin, and beside the program the
stock folders as the source tree holds them."""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile


def main():
    build, source = sys.argv[1], sys.argv[2]
    prefix = tempfile.mkdtemp(prefix="kelvano-install-")
    failures = []
    try:
        env = dict(os.environ, DESTDIR="")
        r = subprocess.run(["cmake", "--install", build, "--prefix", prefix], env=env, capture_output=True, text=True)
        if r.returncode != 0:
            print(r.stdout, r.stderr)
            return 1
        share = os.path.join(prefix, "share")
        desktop = os.path.join(share, "applications", "kelvano.desktop")
        for path in [desktop, os.path.join(share, "mime", "packages", "kelvano.xml"),
                     os.path.join(share, "icons", "hicolor", "scalable", "apps", "kelvano.svg"),
                     os.path.join(share, "icons", "hicolor", "scalable", "mimetypes", "application-x-kelvano-scene.svg"),
                     os.path.join(prefix, "lib", "kelvano", "kelvano")]:
            if not os.path.isfile(path):
                failures.append("missing " + path)
        # The choosers open on these folders beside the program: real folders
        # holding the stock set.
        for folder in ("Textures", "Backgrounds", "Sounds"):
            installed, stock = os.path.join(prefix, "lib", "kelvano", folder), os.path.join(source, "data", folder)
            names = sorted(os.listdir(stock))
            if os.path.islink(installed) or not os.path.isdir(installed):
                failures.append(f"{folder} is not a folder beside the installed program")
                continue
            if sorted(os.listdir(installed)) != names:
                failures.append(f"{folder} holds {sorted(os.listdir(installed))}, not {names}")
            _, differ, unread = filecmp.cmpfiles(stock, installed, names, shallow=False)
            if differ or unread:
                failures.append(f"{folder}: {differ + unread} differ from the source tree")
        program = os.path.join(prefix, "bin", "kelvano")
        if not (os.path.islink(program) and os.access(program, os.X_OK)):
            failures.append("bin/kelvano is not a link to the program")

        if shutil.which("desktop-file-validate"):
            r = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
            if r.returncode != 0 or r.stdout.strip():
                failures.append("desktop entry: " + r.stdout + r.stderr)
        with open(desktop) as f:
            entry = f.read()
        for line in ["Exec=kelvano %f", "MimeType=application/x-kelvano-scene;", "Icon=kelvano"]:
            if line not in entry.splitlines():
                failures.append("desktop entry lacks " + line)

        # shared-mime-info compiles the package; its glob table must map *.apn.
        mime = os.path.join(share, "mime")
        r = subprocess.run(["update-mime-database", mime], capture_output=True, text=True)
        if r.returncode != 0:
            failures.append("update-mime-database: " + r.stderr)
        globs = os.path.join(mime, "globs2")
        if not os.path.isfile(globs) or "application/x-kelvano-scene:*.apn" not in open(globs).read():
            failures.append("*.apn is not in the compiled glob table")
        if not os.path.isfile(os.path.join(mime, "application", "x-kelvano-scene.xml")):
            failures.append("no compiled entry for application/x-kelvano-scene")
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
