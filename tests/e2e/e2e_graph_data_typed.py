#!/usr/bin/env python3
"""A pie and a bar chart typed into the new-graph wizard with the mouse and
the keyboard only, in the real program under a private X server that runs no
window manager: no window ever gets the keyboard focus from the system, so no
edit hears a focus change.

Objects > Graph; a click on the kind's picture and on "Next >"; a click into
the name, the name typed, a click into the number of columns, 4 typed, a click
on "Next >"; in "Input Graph Data" a click into each cell of each row and its
text typed (the pie's fourth Percent is left at 0.00); a click on "OK"; a
click in the scene puts the chart down. After Ctrl+S the saved ".apn" holds
every label, value text and value typed, the pie's fourth slice the 15 percent
the others leave, and the pie's values sum to at most 100; the saved chart
blocks are printed.

e2e_graph_data_typed.py PROGRAM SOURCE_DIR
"""

import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

check = ep.check

# (label, value text, value) per row; None is a cell left as it stands.
PIE = ("Regions", [("North", "40 M", "40"), ("South", "25 M", "25"), ("East", "20 M", "20"), ("West", "15 M", None)])
# A slice takes no 0: the fourth gets what the others leave of 100.
PIE_SAVED = PIE[1][:3] + [("West", "15 M", "15")]
BAR = ("Sales", [("Q1", "12 k", "12"), ("Q2", "30 k", "30"), ("Q3", "18.5 k", "18.5"), ("Q4", "7 k", "7")])
PIE_RED = (230, 90, 60)  # the red slice of the pie picture in "Graph Type Selection"


def click(env, spot):
    xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1]), "click", "1"], env)
    time.sleep(0.5)


def type_text(env, text):
    xh.run(["xdotool", "type", "--delay", "40", text], env)
    time.sleep(0.3)


def shot(window, home, env, name):
    x0, y0, w, h = ep.geometry(window, env)
    png = ep.screenshot(home, name, env)
    return png, x0, y0, w, h


def wizard_step(title, env):
    window = xh.wait_for_window(title, env, timeout=20)
    if check(window is not None, f"no '{title}' step"):
        time.sleep(1.0)  # drawn
    return window


def click_button(window, home, env, name, which):
    """Clicks the which-th (from the left, -1 the last) of the buttons in the
    dialog's lowest row of framed boxes."""
    png, x0, y0, w, h = shot(window, home, env, name)
    boxes = ep.framed_boxes(png, x0, y0, w, h, env)
    if not check(boxes, f"{name}: no buttons found"):
        return False
    lowest = max(y for _, y, _ in boxes)
    bottom = sorted(b for b in boxes if lowest - b[1] <= 4)
    x, y, width = bottom[which]
    click(env, (x + width // 2, y))
    return True


def choose_kind(env, home, kind):
    step = wizard_step("Graph Type Selection", env)
    if step is None:
        return False
    if kind == "pie":
        png, x0, y0, w, h = shot(step, home, env, "kind")
        red = ep.find_colour(png, PIE_RED, env)
        if not check(red is not None, "no pie picture in 'Graph Type Selection'"):
            return False
        click(env, ((red[0] + red[2]) // 2, (red[1] + red[3]) // 2))
    return click_button(step, home, env, "kind-next", -1)


def name_and_count(env, home, name, count):
    step = wizard_step("Graph Name", env)
    if step is None:
        return False
    png, x0, y0, w, h = shot(step, home, env, "name")
    fields = ep.white_fields(png, x0, y0, w, h, env)
    if not check(len(fields) >= 2, f"'Graph Name' shows {len(fields)} fields, not the name and the count"):
        return False
    (nx, ny, nw), (cx, cy, cw) = fields[0], fields[1]
    # Click, select what stands (a triple click selects the line), type.
    xh.run(["xdotool", "mousemove", "--sync", str(nx + nw // 2), str(ny), "click", "--repeat", "3", "1"], env)
    time.sleep(0.4)
    type_text(env, name)
    xh.run(["xdotool", "mousemove", "--sync", str(cx + cw // 2), str(cy), "click", "--repeat", "3", "1"], env)
    time.sleep(0.4)
    type_text(env, str(count))
    return click_button(step, home, env, "name-next", -1)


def type_rows(env, home, rows):
    step = wizard_step("Input Graph Data", env)
    if step is None:
        return False
    png, x0, y0, w, h = shot(step, home, env, "data")
    fields = ep.white_fields(png, x0, y0, w, h, env)
    # Three enabled cells per row (label, value text, value), rows top to bottom.
    cells = []
    for field in fields:
        if cells and abs(cells[-1][0][1] - field[1]) <= 4:
            cells[-1].append(field)
        else:
            cells.append([field])
    cells = [sorted(row) for row in cells]
    if not check(len(cells) >= len(rows) and all(len(c) == 3 for c in cells[:len(rows)]),
                 f"'Input Graph Data' shows the cells {cells}, not 3 a row for {len(rows)} rows"):
        return False
    for row, texts in zip(cells, rows):
        for (x, y, width), text in zip(row, texts):
            if text is None:
                continue
            xh.run(["xdotool", "mousemove", "--sync", str(x + width // 2), str(y), "click", "--repeat", "3", "1"],
                   env)
            time.sleep(0.3)
            type_text(env, text)
    # OK is the middle button: "< Back", "OK", "Cancel".
    if not click_button(step, home, env, "data-ok", 1):
        return False
    return check(ep.wait_gone("Input Graph Data", env, 15), "OK left 'Input Graph Data' open")


def add_chart(env, home, window, kind, name, rows, spot):
    ep.point_at(window, env, 300, 300)
    ep.key_slowly(env, "alt+o")
    ep.key_slowly(env, "g")
    if not (choose_kind(env, home, kind) and name_and_count(env, home, name, len(rows))
            and type_rows(env, home, rows)):
        return False
    time.sleep(1.0)
    # The new chart follows the pointer until a click puts it down.
    click(env, spot)
    time.sleep(1.0)
    return True


def check_block(text, keyword, name, rows):
    """The chart block holds a data block per row with its label, value text
    and value, in order."""
    found = ep.block(text, keyword, name)
    if not check(found is not None, f"no {keyword} block named {name!r} in the saved scene"):
        return
    points = re.findall(r"\n    data \{\n(.*?)\n    \}", "\n" + found, re.S)
    check(len(points) == len(rows), f"{name}: {len(points)} data blocks, not {len(rows)}")
    for point, (label, text, value) in zip(points, rows):
        got_label = re.search(r'^\s*label\s+"([^"]*)"', point, re.M)
        got_text = re.search(r'^\s*text\s+"([^"]*)"', point, re.M)
        got_value = re.search(r"^\s*growValue\s+(\S+)", point, re.M)
        check(got_label and got_label.group(1) == label,
              f"{name}: label {got_label.group(1) if got_label else None!r}, not {label!r}")
        check(got_text and got_text.group(1) == text,
              f"{name}: value text {got_text.group(1) if got_text else None!r}, not {text!r}")
        check(got_value and abs(float(got_value.group(1)) - float(value)) < 1e-4,
              f"{name}: value {got_value.group(1) if got_value else None}, not {value}")
    if keyword == "pieChart":
        total = sum(float(v) for v in re.findall(r"^\s*growValue\s+(\S+)", found, re.M))
        check(total <= 100.0 + 1e-4, f"{name}: the slices sum to {total}, more than 100")
    print(f"--- saved {keyword} {name!r} ---\n{keyword} {{\n{found}\n}}", flush=True)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work, scene, proc, log, window = ep.start_on_sample(program, source, home, env, "counter.apn")
        if window is None:
            return 1
        found = ep.wait_until(lambda: ep.scene_window(window, env)[1], 60)
        time.sleep(2.0)
        if not check(found, "no scene window"):
            ep.stop(proc, display, window, log, env, "graph data")
            return 1
        w, h, x, y = ep.scene_window(window, env)[1][0]
        add_chart(env, home, window, "pie", PIE[0], PIE[1], (x + w // 4, y + h // 3))
        add_chart(env, home, window, "bar", BAR[0], BAR[1], (x + 3 * w // 4, y + 2 * h // 3))
        ep.point_at(window, env, 300, 300)
        text = "\n".join(ep.save_and_read(scene, env, "graph data"))
        check_block(text, "pieChart", PIE[0], PIE_SAVED)
        check_block(text, "barChart", BAR[0], BAR[1])
        ep.stop(proc, display, window, log, env, "graph data")
        ep.check_log(work)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
