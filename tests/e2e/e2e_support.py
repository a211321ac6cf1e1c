"""What the walk-throughs share: the program's start and end, the check of its
output, screenshots and pixels, keys and clicks, dialogs and saves.

Every other e2e_*.py script is one test; it takes its helpers from here and
from xvfb_harness, never from another test script.
"""

import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xvfb_harness as xh  # noqa: E402

TITLE = "Kelvano 2.6 Std"
# A new scene's background, and that of the sample scene (0.05, 0.1, 0.3).
BACKGROUND = (36, 89, 171)
SAMPLE = "titles.apn"
SAMPLE_BACKGROUND = (13, 26, 77)
LAST_FRAME = 60  # the sample's last event frame
BLACK = (0, 0, 0)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, flush=True)
    return condition


# What in the program's output is a fault: sanitizer reports, the wx
# assertions that the program writes out instead of showing them, and the
# toolkit's criticals and warnings (notes about the machine, such as dconf's or
# ALSA's, are not faults of the program).
LOG_FAULTS = [("ERROR: AddressSanitizer", "sanitizer reports"), ("runtime error", "sanitizer reports"),
              ("ERROR: LeakSanitizer", "sanitizer reports"), ("kelvano: wx assertion", "wx assertions"),
              ("Gtk-CRITICAL", "toolkit criticals"), ("GLib-GObject-CRITICAL", "toolkit criticals"),
              ("Gtk-WARNING", "toolkit warnings")]


def log_faults(text):
    """The kinds of fault found in a program's output, each once."""
    found = []
    for needle, kind in LOG_FAULTS:
        if needle in text and kind not in found:
            found.append(kind)
    return found


def check_log(work, name="program.log"):
    """No sanitizer reports, wx assertions or toolkit complaints in the
    program's output; its end (or the first report) printed on failure."""
    with open(os.path.join(work, name), errors="replace") as f:
        text = f.read()
    faults = log_faults(text)
    for kind in faults:
        check(False, kind + " in the program's output")
    if failures:
        first = min((text.find(n) for n, _ in LOG_FAULTS if n in text), default=-1)
        print(text[first:first + 6000] if first >= 0 else text[-6000:])


# Under a heavy load the X server now and then refuses a new client: GTK
# cannot open the display, and the program ends before it has done anything.
# Such a start is made again, twice at most.
DISPLAY_REFUSED = "Unable to initialize GTK+"


def start(program, cwd, args, env, log_name="program.log"):
    path = os.path.join(cwd, log_name)
    for attempt in range(3):
        seen = os.path.getsize(path) if os.path.exists(path) else 0
        log = open(path, "a")
        proc = subprocess.Popen([program] + args, cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT)
        deadline = time.time() + 3.0
        while proc.poll() is None and time.time() < deadline:
            time.sleep(0.1)
        if proc.poll() is None or proc.returncode == 0:
            return proc, log
        with open(path, errors="replace") as f:
            f.seek(seen)
            refused = DISPLAY_REFUSED in f.read()
        if not refused or attempt == 2:
            return proc, log
        log.close()
        print("NOTE: the X server refused the program; it starts again", flush=True)
    return proc, log


def missing_tool_exit(*tools):
    """None when every tool is installed; else the exit code: a failure
    where CI is set, a skip elsewhere."""
    for tool in tools:
        if not shutil.which(tool):
            print("FAIL:" if os.environ.get("CI") else "SKIP:", tool, "is not installed")
            return 1 if os.environ.get("CI") else 0
    return None


def main_window(proc, cwd, env, timeout=120.0):
    """The started program's main window, or None after a failure that says
    whether the program ended or still runs, with the end of its output."""
    window = xh.wait_for_window(TITLE, env, timeout=timeout)
    if window is not None:
        return window
    rc = proc.poll()
    proc.kill()
    proc.wait()
    state = f"it ended with {rc}" if rc is not None else f"it still ran after {timeout:.0f} s"
    check(False, "no main window: " + state)
    with open(os.path.join(cwd, "program.log"), errors="replace") as f:
        print(f.read()[-4000:])
    return None


def start_on_sample(program, source, home, env, sample=SAMPLE):
    """The program started on a copy of a sample scene in a new work folder:
    (work, scene, proc, log, window); window is None (and the log closed) when
    no main window showed."""
    work = tempfile.mkdtemp(prefix="work-", dir=home)
    scene = os.path.join(work, sample)
    shutil.copyfile(os.path.join(source, "data", "scenes", sample), scene)
    proc, log = start(program, work, [scene], env)
    window = main_window(proc, work, env)
    if window is None:
        log.close()
    return work, scene, proc, log, window


def exit_code(proc, timeout=30):
    """The program's exit status, or None when it had to be killed."""
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        return None


def stop(proc, display, window, log, env, what):
    xh.close_window(display, window)
    rc = exit_code(proc)
    log.close()
    check(rc == 0, f"{what}: the program ended with {rc} after the close request")


def tree(window, env):
    return xh.run(["xwininfo", "-tree", "-id", str(window)], env).stdout


def geometry(window, env):
    """(x, y, width, height) of a window on the screen."""
    out = xh.run(["xwininfo", "-id", str(window)], env).stdout
    values = {}
    for key, name in [("Absolute upper-left X", "x"), ("Absolute upper-left Y", "y"), ("Width", "w"),
                      ("Height", "h")]:
        m = re.search(key + r":\s+(-?\d+)", out)
        values[name] = int(m.group(1)) if m else None
    return values["x"], values["y"], values["w"], values["h"]


def children_named(window, env):
    """Names and geometry of the direct and deeper children: {name: (w, h, x, y)}."""
    found = {}
    for line in tree(window, env).splitlines():
        m = re.match(r'\s+0x[0-9a-f]+ (?:"([^"]*)"|\(has no name\)):.*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)',
                     line)
        if m:
            name = m.group(1) or ""
            found.setdefault(name, []).append(tuple(int(v) for v in m.group(2, 3, 6, 7)))
    return found


def scene_window(window, env):
    kids = children_named(window, env)
    return kids, [g for g in kids.get("", []) if g[0] == 580 and g[1] == 392]


def pixel(png, x, y, env):
    out = xh.run(["convert", png, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"], env).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1] if out else "")
    return tuple(int(v) for v in m.groups()) if m else None


def pixels(png, x, y, w, h, env):
    """Every pixel of a rectangle of a picture, as (r, g, b) tuples."""
    out = subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
                         env=env, capture_output=True)
    data = out.stdout
    return [tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)]


def close(a, b, tol=3):
    return a is not None and all(abs(p - q) <= tol for p, q in zip(a, b))


def shot_when(png, x, y, colour, env, tol=3, timeout=30.0):
    """Screenshots the screen into png until (x, y) has the colour: a busy
    machine may draw the scene late."""
    deadline = time.time() + timeout
    while True:
        xh.run(["import", "-window", "root", png], env)
        if close(pixel(png, x, y, env), colour, tol) or time.time() > deadline:
            return
        time.sleep(0.5)


def xdo(env, *args):
    return xh.run(["xdotool"] + [str(a) for a in args], env)


def key(env, *keys, delay=60, pause=0.3):
    """Keys typed delay ms apart, then a pause for the program to follow."""
    xh.run(["xdotool", "key", "--delay", str(delay)] + list(keys), env)
    time.sleep(pause)


def key_slowly(env, *keys):
    """As key, spaced for the bars and dialogs, which take keys late."""
    key(env, *keys, delay=80, pause=0.4)


def typed(env, text):
    xh.run(["xdotool", "type", "--delay", "20", text], env)
    time.sleep(0.3)


def point_at(window, env, dx=40, dy=40):
    x, y, _, _ = geometry(window, env)
    xh.run(["xdotool", "mousemove", "--sync", str(x + dx), str(y + dy)], env)
    time.sleep(0.3)


def click(env, x, y):
    xdo(env, "mousemove", x, y)
    time.sleep(0.2)
    xdo(env, "click", 1)
    time.sleep(0.4)


def menu(env, *keys):
    """A menu command by its mnemonics: alt+first, then the others."""
    xdo(env, "key", "alt+" + keys[0])
    time.sleep(0.6)
    for k in keys[1:]:
        xdo(env, "key", k)
        time.sleep(0.6)


def clear_field(env):
    # Ctrl+A is the frame's Select All: empty the field key by key.
    xdo(env, "key", "End")
    for _ in range(8):
        xdo(env, "key", "BackSpace")


def key_each(env, *keys, delay=0.3):
    """Each key on its own, with the modifiers a user holds cleared first."""
    for k in keys:
        xh.run(["xdotool", "key", "--clearmodifiers", k], env)
        time.sleep(delay)


def ask_grow_shrink(at, env):
    """Selects the chart at the point and picks the last item of its context
    menu, "Add Grow/Shrink Effect" in animation mode."""
    xh.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1])], env)
    time.sleep(0.3)
    xh.run(["xdotool", "click", "1"], env)
    time.sleep(0.5)
    xh.run(["xdotool", "click", "3"], env)
    time.sleep(1.0)
    xh.run(["xdotool", "key", "--delay", "80", "End", "Return"], env)


def focus(window, env):
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    time.sleep(0.3)


def wait_until(done, timeout=20.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if done():
            return True
        time.sleep(0.2)
    return done()


def visible(name, env):
    return bool(xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"], env).stdout.strip())


def wait_gone(name, env, timeout=10.0):
    return wait_until(lambda: not visible(name, env), timeout)


def add_text(env, text, at, settle=1.0):
    """T, the text typed into the 'Text' dialog and OK; a click at `at` puts
    the new text down. The view must have the keyboard."""
    key(env, "t")
    if not check(wait_until(lambda: visible("Text", env), 30), "T showed no 'Text' dialog"):
        return False
    time.sleep(1.0)
    found = xh.run(["xdotool", "search", "--onlyvisible", "--name", "^Text$"], env).stdout.split()
    if found:
        xh.run(["xdotool", "windowfocus", "--sync", found[0]], env)
    typed(env, text)
    key(env, "Return")
    check(wait_until(lambda: not visible("Text", env), 15), "OK left the 'Text' dialog open")
    time.sleep(settle)
    # Placement: the text follows the pointer until the click.
    xh.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1]), "click", "1"], env)
    time.sleep(settle)
    return True


def wait_done(env, what, timeout=180):
    """Return on the message that ends a recording. A recording whose progress
    window still shows is given up to twice as long again: a loaded machine
    draws its frames slowly."""
    box = xh.wait_for_window("Kelvano", env, timeout)
    end = time.time() + 2 * timeout
    while box is None and time.time() < end and visible("Creating .*", env):
        box = xh.wait_for_window("Kelvano", env, 5)
    if not check(box is not None, f"{what}: no closing message"):
        return
    focus(box, env)
    key_each(env, "Return")
    time.sleep(0.5)


def screenshot(home, name, env):
    png = os.path.join(home, name + ".png")
    xh.run(["import", "-window", "root", png], env)
    keep = os.environ.get("KV_E2E_SHOTS")
    if keep:
        shutil.copy(png, os.path.join(keep, name + ".png"))
    return png


def find_colour(png, colour, env):
    """Bounding box (x0, y0, x1, y1) of the pixels of exactly this colour, or None."""
    out = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], env=env, capture_output=True).stdout
    width = int(xh.run(["identify", "-format", "%w", png], env).stdout or 0)
    want = bytes(colour)
    xs, ys = [], []
    for i in range(0, len(out) - 2, 3):
        if out[i:i + 3] == want:
            p = i // 3
            xs.append(p % width)
            ys.append(p // width)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def first_white(window, home, env, name, width=20, timeout=20.0):
    """(x, y) on the screen of the top-left of the top-left run of pure white
    pixels at least width long: an edit's or a list's face. A busy machine
    may draw the window late."""
    deadline = time.time() + timeout
    while True:
        x0, y0, w, h = geometry(window, env)
        # Only what lies on the screen (a floating bar may reach past its edge).
        screen = xh.run(["xdotool", "getdisplaygeometry"], env).stdout.split()
        if len(screen) == 2:
            w, h = min(w, int(screen[0]) - x0), min(h, int(screen[1]) - y0)
        png = os.path.join(home, name + ".png")
        xh.run(["import", "-window", "root", png], env)
        every = pixels(png, x0, y0, w, h, env)
        # The leftmost run among the rows near the first one that has one:
        # spin arrows beside an edit may start a few rows higher.
        found = []
        for row in range(h if len(every) == w * h else 0):
            if found and row > found[0][1] + 12:
                break
            run = 0
            for col in range(w):
                if every[row * w + col] == (255, 255, 255):
                    run += 1
                    if run >= width:
                        found.append((col - run + 1, row))
                        break
                else:
                    run = 0
        if found:
            col, row = min(found)
            return x0 + col, y0 + row
        if time.time() > deadline:
            return None
        time.sleep(0.5)


def menu_row_selected(window, env, work, y, x=8, timeout=3.0):
    """Whether the open menu's row at (x, y) in the window shows the selection;
    a busy machine opens the menu late."""
    wx, wy, _, _ = geometry(window, env)
    shot = os.path.join(work, "menu.png")
    deadline = time.time() + timeout
    while True:
        xh.run(["import", "-window", "root", shot], env)
        p = pixel(shot, wx + x, wy + y, env)
        if p is not None and p[2] > 180 and p[0] < 120:
            return True
        if time.time() > deadline:
            return False
        time.sleep(0.3)


HEADING = (0x30, 0x50, 0xA0)  # the text page's heading picture
BORDER = (205, 199, 194)  # an edit's frame


def name_edit(x0, y0, w, h, png, env):
    """A point inside the text page's Name edit: the first edit frame (a
    horizontal run of the frame colour) below the page's heading picture."""
    every = pixels(png, x0, y0, w, h, env)
    if len(every) != w * h:
        return None
    rows = [r for r in range(h) if any(close(every[r * w + c], HEADING, 6) for c in range(w))]
    if not rows:
        return None
    for row in range(rows[-1] + 1, h):
        run = 0
        for col in range(w):
            run = run + 1 if close(every[row * w + col], BORDER, 24) else 0
            if run >= 80:
                return x0 + col - run // 2, y0 + row + 10
    return None


def _spans(png, x0, y0, w, h, env, runs_of_row, least_rows):
    """Boxes made of the horizontal spans that runs_of_row(row pixels) finds,
    spans on consecutive rows that overlap being one box, at least least_rows
    high: [(screen x, screen y of the middle row, width)], top to bottom, left
    to right."""
    every = pixels(png, x0, y0, w, h, env)
    boxes, open_boxes = [], []  # [x0, x1, first row, last row]
    for row in range(h if len(every) == w * h else 0):
        still = []
        for start, end in runs_of_row(every[row * w:(row + 1) * w]):
            box = next((b for b in open_boxes if b[3] == row - 1 and start < b[1] and end > b[0]), None)
            if box is None:
                box = [start, end, row, row]
                boxes.append(box)
            else:
                open_boxes.remove(box)
                box[0], box[1], box[3] = min(box[0], start), max(box[1], end), row
            still.append(box)
        open_boxes = still
    found = [(x0 + a, y0 + (top + bottom) // 2, b - a) for a, b, top, bottom in boxes if bottom - top + 1 >= least_rows]
    found.sort(key=lambda f: (f[1], f[0]))
    return found


def white_fields(png, x0, y0, w, h, env, least_width=30):
    """The enabled edits of a window region: faces of pure white at least
    least_width wide and 10 rows high, as (x, middle y, width) on the screen."""
    def runs(line):
        spans, start = [], None
        for col, p in enumerate(line + [None]):
            if p == (255, 255, 255):
                start = col if start is None else start
            else:
                if start is not None and col - start >= least_width:
                    spans.append((start, col))
                start = None
        return spans
    return _spans(png, x0, y0, w, h, env, runs, 10)


def framed_boxes(png, x0, y0, w, h, env, least_width=40):
    """Buttons of a window region: boxes between two frame-coloured columns
    that are not white inside, as (x, middle y, width) on the screen."""
    def runs(line):
        edges = [col for col, p in enumerate(line) if close(p, BORDER, 2)]
        spans = []
        for a, b in zip(edges, edges[1:]):
            inside = line[a + 1:b]
            if b - a >= least_width and sum(p == (255, 255, 255) for p in inside) < len(inside) // 2:
                spans.append((a, b))
        return spans
    return _spans(png, x0, y0, w, h, env, runs, 10)


def show_pane(window, letter, caption, env):
    """Opens the View menu by its mnemonic and chooses a pane's item."""
    for _ in range(3):
        point_at(window, env, 300, 300)
        key_slowly(env, "alt+v")
        key_slowly(env, letter)
        pane = xh.wait_for_window(caption, env, timeout=10)
        if pane is not None:
            return pane
        key_slowly(env, "Escape")
    return None


def animation_file_item(window, env, work, mnemonic):
    """File > Create Animation Files (the sixth entry) > the item of the
    mnemonic. The menu key selects New, which a scene in animation mode keeps
    enabled."""
    focus(window, env)
    key_each(env, "alt+f")
    check(menu_row_selected(window, env, work, 37), "File > New is greyed")
    key_each(env, "Down", "Down", "Down", "Down", "Down", "Right", mnemonic)


def identity(path):
    try:
        st = os.stat(path)
        return (st.st_ino, st.st_mtime_ns, st.st_size)
    except OSError:
        return None


def rewritten(path, before, timeout=60.0):
    """Waits until the file was written anew (saves replace the file)."""
    return wait_until(lambda: identity(path) not in (None, before), timeout)


def saved(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def block(text, kind, name):
    """The lines of the first `kind { ... }` block named name."""
    for m in re.finditer(kind + r" \{\n(.*?)\n\}", text, re.S):
        if re.search(r'^\s*name\s+"' + re.escape(name) + '"$', m.group(1), re.M):
            return m.group(1)
    return None


def save_and_read_text(env, path, before):
    """Ctrl+S, then the file's text once its time differs from before."""
    xdo(env, "key", "ctrl+s")
    deadline = time.time() + 15
    while time.time() < deadline and os.path.getmtime(path) == before:
        time.sleep(0.2)
    time.sleep(0.3)
    return saved(path)


def save_and_read(path, env, what):
    """Ctrl+S until the file changes, then its lines."""
    before = os.stat(path).st_mtime_ns
    # A busy machine may not have the program ready for the first key: the
    # save is asked for again until the file changes.
    for _ in range(6):
        key_slowly(env, "ctrl+s")
        deadline = time.time() + 10
        while time.time() < deadline and os.stat(path).st_mtime_ns == before:
            time.sleep(0.2)
        if os.stat(path).st_mtime_ns != before:
            break
    check(os.stat(path).st_mtime_ns != before, what + ": Ctrl+S did not save the scene")
    time.sleep(0.3)
    with open(path) as f:
        return f.read().splitlines()


def save_as(title, path, env, timeout=30):
    """The whole path typed into the file dialog named `title` and Return;
    True once the dialog has gone. The chooser takes keys a moment after it
    maps, later still on a loaded machine; a name typed too early is lost, so
    it is typed again while the dialog stays."""
    dialog = xh.wait_for_window(title, env, timeout)
    if not check(dialog is not None, f"no '{title}' dialog"):
        xh.run(["xdotool", "key", "Escape", "Escape", "Escape"], env)
        return False
    for _ in range(4):
        time.sleep(1.0)
        if not visible(title, env):
            return True
        xh.run(["xdotool", "windowfocus", "--sync", str(dialog)], env)
        xh.run(["xdotool", "key", "ctrl+a"], env)
        xh.run(["xdotool", "type", "--delay", "20", path], env)
        xh.run(["xdotool", "key", "Return"], env)
        if wait_gone(title, env, 15):
            return True
    return check(False, f"the '{title}' dialog stays open")


def probe(args, path, env):
    return xh.run(["ffprobe", "-v", "error"] + args + ["-of", "csv=p=0", path], env).stdout.strip()


def recording_browser(home, record):
    """A program that writes its arguments to record, known as the text/html handler, xdg-open and $BROWSER."""
    bindir = os.path.join(home, "bin")
    os.makedirs(bindir)
    script = os.path.join(bindir, "record-url")
    with open(script, "w") as f:
        f.write(f'#!/bin/sh\necho "$@" >> "{record}"\n')
    os.chmod(script, stat.S_IRWXU)
    os.symlink(script, os.path.join(bindir, "xdg-open"))
    apps = os.path.join(home, ".local", "share", "applications")
    os.makedirs(apps)
    with open(os.path.join(apps, "record-url.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Record URL\n"
                f"Exec={script} %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/file;\n")
    os.makedirs(os.path.join(home, ".config"), exist_ok=True)
    with open(os.path.join(home, ".config", "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\ntext/html=record-url.desktop\n"
                "x-scheme-handler/http=record-url.desktop\nx-scheme-handler/file=record-url.desktop\n")
    return bindir, script


class Program:
    """One run of the program on a scene, up to its shown scene window."""

    def __init__(self, program, work, args, env, display):
        self.env, self.display = env, display
        self.proc, self.log = start(program, work, args, env)
        self.window = main_window(self.proc, work, env)
        self.scene = None
        if self.window is None:
            return
        wait_until(lambda: not visible("Kelvano", env))  # the splash
        time.sleep(1.0)
        # A busy machine may lay the scene window out late.
        found = []
        wait_until(lambda: found.append(scene_window(self.window, env)[1]) or bool(found[-1]), 30.0)
        scenes = found[-1] if found else []
        self.scene = scenes[0] if scenes else None
        if self.scene:
            # The view has the keyboard; the pointer rests over it.
            w, h, x, y = self.scene
            xh.run(["xdotool", "mousemove", str(x + w - 10), str(y + h - 10)], env)

    def ok(self, what):
        if self.window is None:
            return False  # main_window has said why
        if check(self.scene is not None, what + ": no scene window"):
            return True
        self.proc.kill()
        return False

    def shot(self, path, colour=SAMPLE_BACKGROUND):
        w, h, x, y = self.scene
        shot_when(path, x + 3, y + 3, colour, self.env)
        return pixel(path, x + 3, y + 3, self.env)

    def menu(self, *keys):
        """A File menu command chosen with the keyboard as a user would."""
        key(self.env, "alt+f")
        time.sleep(0.7)  # the menu opens before its key is typed
        key(self.env, *keys)

    def dialog(self, title, path, what):
        """Types a full path into the file dialog titled title and accepts it."""
        if not check(wait_until(lambda: visible(title, self.env), 60), f"{what}: no '{title}' dialog"):
            return False
        time.sleep(1.5)  # a loaded machine fills the dialog late
        found = xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"], self.env).stdout.split()
        if found:
            xh.run(["xdotool", "windowfocus", "--sync", found[0]], self.env)
        key(self.env, "ctrl+l" if title == "Open" else "ctrl+a")
        typed(self.env, path)
        # A completion pop-up may take the first Return.
        for _ in range(4):
            key(self.env, "Return")
            if wait_until(lambda: not visible(title, self.env), 15):
                return True
        return check(False, f"{what}: the '{title}' dialog stays")

    def stop(self, what):
        stop(self.proc, self.display, self.window, self.log, self.env, what)
