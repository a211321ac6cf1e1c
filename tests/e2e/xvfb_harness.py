"""A private X server and home folder for tests of the real program.

Xvfb picks a free display itself (-displayfd), so tests may run side by side.
HOME and XDG_CONFIG_HOME point into a fresh temporary folder, so no test reads
or writes the user's settings.
"""

import contextlib
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import tempfile
import time


@contextlib.contextmanager
def private_display(width=1280, height=1024):
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    try:
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        yield ":" + number.decode().strip()
    finally:
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()


@contextlib.contextmanager
def private_home():
    home = tempfile.mkdtemp(prefix="kelvano-home-")
    try:
        yield home
    finally:
        shutil.rmtree(home, ignore_errors=True)


def environment(display, home, source_dir):
    env = dict(os.environ)
    env["DISPLAY"] = display
    env["HOME"] = home
    env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
    env["XDG_RUNTIME_DIR"] = home
    env["NO_AT_BRIDGE"] = "1"          # no accessibility bus in a bare X server
    # No session bus either: GTK's own settings (the file chooser's) stay in
    # memory instead of failing to reach dconf, whose failed writes leak.
    env["GSETTINGS_BACKEND"] = "memory"
    env["GDK_BACKEND"] = "x11"
    env["LC_ALL"] = "C.UTF-8"
    # No sound card here: sound cues play into SDL's silent driver.
    env["SDL_AUDIODRIVER"] = "dummy"
    # LeakSanitizer reads one suppression file: the project's and the window
    # libraries' lists joined.
    merged = os.path.join(home, "lsan.supp")
    with open(merged, "w") as out:
        for part in [("tests", "lsan.supp"), ("tests", "app", "lsan-wx.supp")]:
            path = os.path.join(source_dir, *part)
            if os.path.exists(path):
                with open(path) as f:
                    out.write(f.read() + "\n")
    env["LSAN_OPTIONS"] = "suppressions=" + merged + ":print_suppressions=0"
    return env


def run(args, env, **kw):
    return subprocess.run(args, env=env, capture_output=True, text=True, **kw)


def wait_for_window(name, env, timeout=30.0):
    """Id of the first shown window whose name is `name`, or None."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        out = run(["xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"], env)
        ids = out.stdout.split()
        if ids:
            return int(ids[0])
        time.sleep(0.2)
    return None


def close_window(display, window):
    """Asks a window to close as a window manager's close button does."""
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError("cannot open " + display)
    ev = Event()
    ev.xclient.type = 33  # ClientMessage
    ev.xclient.window = window
    ev.xclient.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
    ev.xclient.format = 32
    ev.xclient.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
    ev.xclient.data[1] = 0  # CurrentTime
    x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(ev))
    x11.XFlush(dpy)
    x11.XCloseDisplay(dpy)
