#!/usr/bin/env python3
"""The benchmark table: our readers, writers and full-HD drawing beside their peers.

    bench/table.py BUILD [--runs N] [--before OLD_BUILD]

BUILD is a build folder configured with -DKELVANO_BENCH=ON (Release for
figures worth quoting). Each run starts every benchmark program once, so ours
and the peer alternate within a run; with --before the two builds alternate
run by run as well. Each figure is the median of the runs (3 by default).
Peers: assimp and lib3ds (models), ffmpeg (Motion JPEG), ffmpeg and
ImageMagick (animated GIF). The full-HD rows come from bench_playback; when a
build's bench_playback lacks that case, every build is measured the same way,
with its kelvano-render as `--repeat 40` prints the rate.
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LEVELS = (0, 4, 8)

# (program, filter); each result is keyed by the benchmark's name up to its first '/...:'.
PROGRAMS = [
    ("bench_models", "."),
    ("bench_movies", "BM_MotionJpegAvi|BM_FfmpegMjpeg"),
    ("bench_gif", "GifAnimation"),
    ("bench_playback", "FullHd"),
]


def run_program(build, program, pattern):
    """Benchmark name -> its JSON entry, for one start of the program."""
    path = os.path.join(build, "bench", program)
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        cmd = [path, "--benchmark_filter=" + pattern, "--benchmark_out=" + out.name, "--benchmark_out_format=json"]
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, cwd=SOURCE)
        with open(out.name) as f:
            text = f.read()
    report = json.loads(text) if text.strip() else {}  # nothing matched the filter
    found = {}
    for b in report.get("benchmarks", []):
        if b.get("error_occurred"):
            sys.exit("%s: %s failed: %s" % (program, b["name"], b.get("error_message", "")))
        found[b["name"]] = b
    return found


def millis(entry):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry["time_unit"]]
    return entry["real_time"] * scale


def entry(found, prefix):
    for name, b in found.items():
        if name.startswith(prefix):
            return b
    return None


def render_fps(build, level):
    tool = os.path.join(build, "tools", "kelvano-render")
    scene = os.path.join(SOURCE, "data", "scenes", "allcharts.apn")
    out = subprocess.run([tool, scene, "--size", "1920x1080", "--aa", str(level), "--repeat", "40"], check=True,
                         capture_output=True, text=True, cwd=SOURCE).stdout
    m = re.search(r"([0-9.]+) frames per second", out)
    if not m:
        sys.exit("kelvano-render printed no rate: " + out)
    return float(m.group(1))


def has_full_hd(build):
    out = subprocess.run([os.path.join(build, "bench", "bench_playback"), "--benchmark_list_tests",
                          "--benchmark_filter=FullHd"], check=True, capture_output=True, text=True).stdout
    return "FullHd" in out


def one_run(build, render_tool):
    """Figure name -> value for one run of every program."""
    v = {}
    models = run_program(build, *PROGRAMS[0])
    for key, prefix in [("obj", "OBJ_1M_triangles/kelvano"), ("obj_peer", "OBJ_1M_triangles/assimp"),
                        ("tds", "3DS_500k_triangles/kelvano"), ("tds_peer", "3DS_500k_triangles/lib3ds")]:
        v[key] = millis(entry(models, prefix))
    movies = run_program(build, *PROGRAMS[1])
    for key, prefix in [("mjpeg", "BM_MotionJpegAvi"), ("mjpeg_peer", "BM_FfmpegMjpeg")]:
        b = entry(movies, prefix)
        v[key] = millis(b)
        v[key + "_db"] = b["psnr_db"]
    gif = run_program(build, *PROGRAMS[2])
    for key, prefix in [("gif", "BM_GifAnimationOurs"), ("gif_ffmpeg", "BM_GifAnimationFfmpeg"),
                        ("gif_magick", "BM_GifAnimationImageMagick")]:
        v[key] = millis(entry(gif, prefix))
    playback = {} if render_tool else run_program(build, *PROGRAMS[3])
    for level in LEVELS:
        b = entry(playback, "BM_FullHdAllcharts/%d/" % level)
        v["fps%d" % level] = b["fps"] if b else render_fps(build, level)
    return v


def table(med, label):
    def ratio(peer, ours):
        return "%.1fx faster" % (med[peer] / med[ours])

    rows = [
        ("`bench_models`: OBJ, 1M triangles", "assimp %.0f ms" % med["obj_peer"], "%.0f ms" % med["obj"],
         ratio("obj_peer", "obj"), ">= 3x faster"),
        ("`bench_models`: 3DS, 500k triangles", "lib3ds %.0f ms" % med["tds_peer"], "%.0f ms" % med["tds"],
         ratio("tds_peer", "tds"), "keep"),
        ("`bench_movies`: Motion JPEG, 100 frames",
         "ffmpeg %.0f ms, %.2f dB" % (med["mjpeg_peer"], med["mjpeg_peer_db"]),
         "%.0f ms, %.2f dB" % (med["mjpeg"], med["mjpeg_db"]), ratio("mjpeg_peer", "mjpeg"), "keep"),
        ("`bench_gif`: 100 frames",
         "ffmpeg %.2f s, ImageMagick %.1f s" % (med["gif_ffmpeg"] / 1e3, med["gif_magick"] / 1e3),
         "%.2f s" % (med["gif"] / 1e3),
         "%.1fx / %.0fx faster" % (med["gif_ffmpeg"] / med["gif"], med["gif_magick"] / med["gif"]), "keep"),
    ]
    for level, goal in [(8, ">= 30 fps"), (4, "-"), (0, "keep")]:
        rows.append(("allcharts 1920x1080 `--aa %d --repeat 40`" % level, "-", "%.1f fps" % med["fps%d" % level], "-",
                     goal))
    lines = ["%s" % label, "", "| work | peer | ours | ratio | goal |", "|---|---|---|---|---|"]
    lines += ["| %s |" % " | ".join(r) for r in rows]
    return "\n".join(lines)


def load():
    try:
        with open("/proc/loadavg") as f:
            return f.read().split()[0]
    except OSError:
        return "?"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build", help="build folder with -DKELVANO_BENCH=ON")
    ap.add_argument("--runs", type=int, default=3, help="runs to take the median of (default 3)")
    ap.add_argument("--before", help="a second build, measured alternately, whose table comes first")
    args = ap.parse_args()
    builds = ([("before", args.before)] if args.before else []) + [("after" if args.before else "ours", args.build)]
    render_tool = not all(has_full_hd(build) for _, build in builds)
    results = {name: [] for name, _ in builds}
    loads = []
    for i in range(args.runs):
        for name, build in builds:
            print("run %d of %d: %s (%s), load %s" % (i + 1, args.runs, name, build, load()), file=sys.stderr)
            loads.append(load())
            results[name].append(one_run(build, render_tool))
    for name, build in builds:
        med = {k: statistics.median(r[k] for r in results[name]) for k in results[name][0]}
        print(table(med, "%s: %s, median of %d runs" % (name, build, args.runs)))
        print()
    print("full HD drawn by %s" % ("kelvano-render --repeat 40" if render_tool else "bench_playback"))
    print("load averages at the runs' starts: " + ", ".join(loads))


if __name__ == "__main__":
    main()
