#!/usr/bin/env python3
"""Holds the libraries to their layers.

Every library may include headers of its own layer and of the layers below it,
never of a layer above; wx headers appear only in the window layers. Tests,
tools, benchmarks and fuzz targets sit on top and may include anything.

usage: check_layers.py [source-root]    exit 0 when clean, 1 with one line per breach
"""

import os
import re
import sys

# Lowest first. A folder's rank is that of the longest matching prefix.
LAYERS = [
    ("platform", 0),
    ("sg", 1),
    ("assets", 2),
    ("scene", 3),
    ("charts", 4),
    ("export", 5),
    ("editor", 6),
    ("ui/properties", 7),
    ("ui/animation", 8),
    ("app", 9),
]
WX_ALLOWED = ("ui/properties", "ui/animation", "app")
# Folders inside a window layer that hold no window code: no wx header and no
# header of their layer outside them.
WINDOW_FREE = ("ui/properties/rules",)
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(rel):
    best = None
    for prefix, rank in LAYERS:
        if rel == prefix or rel.startswith(prefix + "/"):
            if best is None or len(prefix) > len(best[0]):
                best = (prefix, rank)
    return best


def breaches(root):
    found = []
    for prefix, rank in LAYERS:
        top = os.path.join(root, prefix)
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                own = layer_of(rel)
                free = next((f for f in WINDOW_FREE if rel.startswith(f + "/")), None)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = os.path.normpath(m.group(2)).replace(os.sep, "/")
                        if target.startswith("wx/") and not own[0].startswith(WX_ALLOWED):
                            found.append(f"{rel}:{number}: wx header <{target}> below the windows")
                            continue
                        if free and (target.startswith("wx/") or
                                     (target.startswith(own[0] + "/") and not target.startswith(free + "/"))):
                            found.append(f"{rel}:{number}: the window-free {free} includes {target}")
                            continue
                        if m.group(1) != '"':
                            continue
                        other = layer_of(target)
                        if other and other[1] > own[1]:
                            found.append(f"{rel}:{number}: {own[0]} includes {target} of the higher layer {other[0]}")
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = breaches(os.path.abspath(root))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) break the layers")
        return 1
    print("layers: clean")
    return 0


if __name__ == "__main__":
    sys.exit(main())
