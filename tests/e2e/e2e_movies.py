#!/usr/bin/env python3
"""Movies recorded through the real program under a private X server: a
sample scene with a sound cue (its chime made by sox) is recorded through the
File menu as an AVI (the compressor dialog's Motion JPEG) and as a Flash movie
(its default options). ffprobe finds every frame and the AVI's audio; Ruffle,
in headless Chromium served from 127.0.0.1, plays a first frame that matches
the scene's frame 0 (PSNR of at least 30 dB).

e2e_movies.py PROGRAM RENDER_TOOL SOURCE_DIR
A missing tool skips the test (exit 77), or fails it where CI is set.
"""

import http.server
import math
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import (LAST_FRAME, animation_file_item, focus, menu_row_selected, probe, save_as,  # noqa: E402
                         wait_done)

SAMPLE = "titles.apn"
WIDTH, HEIGHT = 580, 392
SKIP = 77

failures = ep.failures
check = ep.check
key = ep.key_each


def ruffle_dir():
    """The npm package @ruffle-rs/ruffle as scripts/setup installs it."""
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    for d in [os.environ.get("KELVANO_RUFFLE_DIR", ""),
              os.path.join(cache, "kelvano", "ruffle", "node_modules", "@ruffle-rs", "ruffle")]:
        if d and os.path.isfile(os.path.join(d, "ruffle.js")):
            return d
    return None


def missing_tools():
    tools = [t for t in ["xdotool", "ffprobe", "ffmpeg", "sox", "convert", "chromium"] if not shutil.which(t)]
    if ruffle_dir() is None:
        tools.append("@ruffle-rs/ruffle (npm)")
    return tools


def psnr(a, b):
    if len(a) != len(b) or not a:
        return 0.0
    total = sum((x - y) * (x - y) for x, y in zip(a, b))
    return 99.0 if total == 0 else 10 * math.log10(255.0 * 255.0 * len(a) / total)


def rgb_of(path, env):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], env=env, capture_output=True).stdout


class Collector(http.server.SimpleHTTPRequestHandler):
    """Serves the page, Ruffle and the movie; takes the frame the page posts."""
    frame = None

    def do_POST(self):
        n = int(self.headers.get("Content-Length", "0"))
        Collector.frame = self.rfile.read(n)
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


PAGE = """<!doctype html>
<html><body style="margin:0;background:#000">
<div id="stage" style="width:%(w)dpx;height:%(h)dpx"></div>
<script src="ruffle/ruffle.js"></script>
<script>
window.RufflePlayer = window.RufflePlayer || {};
// Four seconds a frame: the first stays while it is read. Low quality draws
// bitmaps unsmoothed, pixel for pixel.
window.RufflePlayer.config = {autoplay: "on", splashScreen: false, unmuteOverlay: "hidden",
  letterbox: "off", preferredRenderer: "canvas", frameRate: 0.25, quality: "low", logLevel: "error"};
const player = window.RufflePlayer.newest().createPlayer();
player.style.width = "%(w)dpx"; player.style.height = "%(h)dpx";
document.getElementById("stage").appendChild(player);
player.load("movie.swf");
// Polls the player's canvas until the movie is drawn, then posts it.
function grab() {
  const canvas = player.shadowRoot && player.shadowRoot.querySelector("canvas");
  if (canvas && canvas.width >= %(w)d) {
    const c = document.createElement("canvas");
    c.width = %(w)d; c.height = %(h)d;
    const g = c.getContext("2d");
    g.drawImage(canvas, 0, 0, %(w)d, %(h)d);
    const d = g.getImageData(%(w)d / 2, %(h)d / 2, 1, 1).data;
    // Drawn once the middle is neither empty nor the stage's white.
    if (d[3] > 0 && (d[0] < 250 || d[1] < 250 || d[2] < 250) && (d[0] || d[1] || d[2])) {
      c.toBlob(b => fetch("/frame", {method: "POST", body: b}));
      return;
    }
  }
  setTimeout(grab, 200);
}
setTimeout(grab, 500);
</script></body></html>
"""


def first_frame_in_ruffle(swf, work, env):
    """The movie's first frame as Ruffle draws it, as a PNG file, or None."""
    site = os.path.join(work, "site")
    os.makedirs(site)
    shutil.copytree(ruffle_dir(), os.path.join(site, "ruffle"))
    shutil.copy(swf, os.path.join(site, "movie.swf"))
    with open(os.path.join(site, "index.html"), "w") as f:
        f.write(PAGE % {"w": WIDTH, "h": HEIGHT})
    handler = lambda *a, **kw: Collector(*a, directory=site, **kw)  # noqa: E731
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    profile = os.path.join(work, "chromium-profile")
    browser = subprocess.Popen(
        ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--mute-audio",
         "--autoplay-policy=no-user-gesture-required", "--force-device-scale-factor=1",
         f"--user-data-dir={profile}", f"--window-size={WIDTH + 100},{HEIGHT + 100}", url],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 90
    while Collector.frame is None and time.time() < deadline and browser.poll() is None:
        time.sleep(0.2)
    browser.terminate()
    try:
        browser.wait(timeout=20)
    except subprocess.TimeoutExpired:
        browser.kill()
    server.shutdown()
    if Collector.frame is None:
        return None
    png = os.path.join(work, "ruffle-frame0.png")
    with open(png, "wb") as f:
        f.write(Collector.frame)
    return png


def main():
    program, render, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    missing = missing_tools()
    if missing:
        print("missing: " + ", ".join(missing), flush=True)
        return 1 if os.environ.get("CI") else SKIP
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        scenes = os.path.join(work, "scenes")
        os.makedirs(scenes)
        scene = os.path.join(scenes, SAMPLE)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), scene)
        # The scene's sound cue names "chime.wav" beside it.
        xh.run(["sox", "-n", "-r", "22050", "-b", "16", "-c", "1", os.path.join(scenes, "chime.wav"),
                "synth", "0.5", "sine", "880"], env)
        out = os.path.join(work, "out")
        os.makedirs(out)

        proc, log = ep.start(program, work, ["scenes/" + SAMPLE], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        deadline = time.time() + 20
        while time.time() < deadline and xh.run(["xdotool", "search", "--onlyvisible", "--name", "^Kelvano$"],
                                                env).stdout.strip():
            time.sleep(0.2)
        time.sleep(1.0)
        # Mode > Animation Mode, below Object Mode, which the menu key selects.
        focus(window, env)
        key(env, "alt+m")
        if not menu_row_selected(window, env, work, 37, x=260):
            # The mode commands come with the animation editing; until the
            # program has them no animation can be recorded.
            key(env, "Escape")
            print("Object Mode and Animation Mode are greyed: nothing to record", flush=True)
            ep.stop(proc, display, window, log, env, "movies")
            return SKIP
        key(env, "Down", "Return")

        # --- AVI: File > Create Animation Files > AVI ---
        avi = os.path.join(out, "titles.avi")
        animation_file_item(window, env, work, "a")
        if save_as("Save To AVI", avi, env):
            compressor = xh.wait_for_window("Video Compression", env, 30)
            if check(compressor is not None, "no compressor dialog"):
                focus(compressor, env)
                key(env, "Return")  # Motion JPEG, quality 75
                wait_done(env, "AVI")
        if check(os.path.isfile(avi), "no AVI written"):
            video = probe(["-select_streams", "v", "-count_frames", "-show_entries",
                           "stream=codec_name,nb_read_frames"], avi, env)
            check(video == f"mjpeg,{LAST_FRAME + 1}", f"AVI video stream: {video!r}")
            audio = probe(["-select_streams", "a", "-show_entries", "stream=codec_name,duration"], avi, env)
            check(audio.startswith("pcm_s16le,"), f"AVI audio stream: {audio!r}")
        left = sorted(n for n in os.listdir(out) if n.startswith(("_tmp", "merged")))
        check(not left, f"temporary files left: {left}")

        # --- SWF: File > Create Animation Files > Flash SWF ---
        swf = os.path.join(out, "titles.swf")
        animation_file_item(window, env, work, "s")
        if save_as("Save As", swf, env):
            wait_done(env, "SWF")
        if check(os.path.isfile(swf), "no SWF written"):
            frames = probe(["-count_frames", "-show_entries", "stream=nb_read_frames"], swf, env)
            check(frames == str(LAST_FRAME + 1), f"SWF frames: {frames!r}")
            reference = os.path.join(work, "frame0.png")
            xh.run([render, scene, "--frame", "0", "--aa", "4", "-o", reference], env)
            played = first_frame_in_ruffle(swf, work, env)
            if check(played is not None, "Ruffle drew no frame"):
                keep = os.environ.get("KELVANO_E2E_KEEP")
                if keep:
                    for f in (played, reference, swf, avi):
                        shutil.copy(f, keep)
                value = psnr(rgb_of(played, env), rgb_of(reference, env))
                check(value >= 30.0, f"Ruffle's first frame against the scene's frame 0: PSNR {value:.1f} dB")
                print(f"Ruffle first frame PSNR {value:.1f} dB", flush=True)

        ep.stop(proc, display, window, log, env, "movies")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
