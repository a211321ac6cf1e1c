#!/usr/bin/env python3
"""The layer check fails on each kind of breach planted in a small tree and passes a clean one."""

import os
import subprocess
import sys
import tempfile

CHECK = sys.argv[1]

CASES = [
    # (files of the tree, expected exit code, text the report must name)
    ({"sg/a.h": '#include "platform/p.h"\n', "scene/b.cpp": '#include "charts/../sg/a.h"\n#include "sg/a.h"\n'}, 0, "clean"),
    ({"sg/a.h": '#include "scene/b.h"\n', "scene/b.h": ""}, 1, "sg/a.h:1: sg includes scene/b.h"),
    ({"editor/v.cpp": '#include "app/CMainFrame.h"\n'}, 1, "editor includes app/CMainFrame.h"),
    ({"export/w.cpp": '#include "editor/CDib.h"\n'}, 1, "export includes editor/CDib.h"),
    ({"charts/c.cpp": "#include <wx/string.h>\n"}, 1, "wx header <wx/string.h> below the windows"),
    ({"editor/d.cpp": "#include <wx/string.h>\n"}, 1, "wx header <wx/string.h> below the windows"),
    ({"app/f.cpp": '#include <wx/frame.h>\n#include "ui/properties/p.h"\n'}, 0, "clean"),
    ({"ui/properties/rules/r.cpp": '#include "ui/properties/rules/s.h"\n#include "editor/v.h"\n'}, 0, "clean"),
    ({"ui/properties/rules/r.cpp": "#include <wx/window.h>\n"}, 1,
     "the window-free ui/properties/rules includes wx/window.h"),
    ({"ui/properties/rules/r.cpp": '#include "ui/properties/pages/CTextPage.h"\n'}, 1,
     "the window-free ui/properties/rules includes ui/properties/pages/CTextPage.h"),
]

failures = 0
for files, code, text in CASES:
    with tempfile.TemporaryDirectory() as root:
        for rel, body in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w") as f:
                f.write(body)
        r = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        if r.returncode != code or text not in r.stdout:
            failures += 1
            print(f"FAIL {sorted(files)}: exit {r.returncode}, wanted {code} naming '{text}'\n{r.stdout}")
print(f"{len(CASES) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
