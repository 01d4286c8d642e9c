#!/usr/bin/python3
"""The widget host and the application together, as a user has them: the host brings back the widgets it
remembers and forgets a kind the extension no longer offers; a start in the application's stopwatch page
repaints the host's stopwatch widget; the widget's pause button stops the application's stopwatch at its
next tick; a click on the clock widget shows the application's clock mini window; a widget dragged elsewhere is
there again after the host restarts. Arguments: the host, the application, a scratch folder. Exits non-zero
with a message on the first thing that is wrong."""

import os
import signal
import sqlite3
import subprocess
import sys

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Support"))
import waiting  # noqa: E402

HOST, APPLICATION, WORK = sys.argv[1:4]
STORE = os.path.join(os.environ["XDG_CONFIG_HOME"], "dayvane-widget-host", "settings.sqlite3")
WIDGETS_KEY = "dayvane.widgetHost.placedWidgets"
CLOCK = "Lumadi 时钟"
STOPWATCH = "Lumadi 计时器"


def fail(message):
    sys.exit(f"widget-host-desktop: {message}")


def wait_for(what, find, seconds=20):
    return waiting.wait_for(what, find, fail, seconds)


def start(program, name):
    log = open(os.path.join(WORK, f"{name}.log"), "ab")
    return subprocess.Popen([program], stdout=log, stderr=log)


def stop(process):
    process.send_signal(signal.SIGTERM)
    if process.wait(20) != 0:
        fail(f"{process.args[0]} ended with {process.returncode}")


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout


def frames(name):
    """The root-relative frames (x, y, width, height) of the visible windows with this exact name."""
    found = []
    for window in xdotool("search", "--onlyvisible", "--name", f"^{name}$").split():
        values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
        found.append((int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])))
    return found


def frame_at(name, x, y):
    return lambda: next((f for f in frames(name) if f[:2] == (x, y)), None)


def pixels(frame):
    x, y, width, height = frame
    raw = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8", "rgb:-"],
                         capture_output=True).stdout
    return [(i // 3 % width + x, i // 3 // width + y, raw[i], raw[i + 1], raw[i + 2]) for i in range(0, len(raw), 3)]


def orange_points(frame):
    """Where the widget shows the running stopwatch's orange pause button."""
    return [(x, y) for x, y, r, g, b in pixels(frame) if r > 230 and 120 < g < 175 and b < 50]


def stacking():
    """The windows the window manager manages, bottom to top."""
    text = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], capture_output=True, text=True).stdout
    return [int(word.strip(","), 16) for word in text.split("#", 1)[-1].split() if word.startswith("0x")]


def managed(name):
    """The managed window with this name (Qt's own helper windows bear the name too)."""
    order = stacking()
    return next((int(w) for w in xdotool("search", "--name", name).split() if int(w) in order), None)


def above(upper, lower):
    order = stacking()
    return upper in order and lower in order and order.index(upper) > order.index(lower)


def stored_widgets():
    with sqlite3.connect(STORE) as db:
        row = db.execute("SELECT value FROM settings WHERE key = ?", (WIDGETS_KEY,)).fetchone()
    return row[0] if row else ""


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def with_role(app, role, name=None):
    return [n for n in walk(app) if n.getRole() == role and (name is None or n.name == name)]


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else names.index("press"))


def main():
    # The first start makes the host's store and, with nothing placed, shows the gallery.
    host = start(HOST, "host")
    wait_for("gallery", lambda: frames("小组件库"))
    stop(host)
    with sqlite3.connect(STORE) as db:
        db.execute("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)",
                   (WIDGETS_KEY, "DayvaneClockWidget small 1090 40\nNoSuchWidget medium 10 10\n"
                                 "DayvaneStopwatchWidget small 1090 260\n"))

    host = start(HOST, "host")
    clock = wait_for("clock widget where it was placed", frame_at(CLOCK, 1090, 40))
    stopwatch = wait_for("stopwatch widget where it was placed", frame_at(STOPWATCH, 1090, 260))
    wait_for("the unknown kind forgotten", lambda: "NoSuchWidget" not in stored_widgets())
    if orange_points(stopwatch):
        fail("the stopwatch widget shows a running stopwatch before anything started it")

    app_process = start(APPLICATION, "application")
    app = wait_for("application on the accessibility bus", lambda: application(app_process.pid))
    tabs = wait_for("page tabs", lambda: with_role(app, pyatspi.ROLE_PAGE_TAB))
    press(next(tab for tab in tabs if tab.name == "计时器"))
    press(wait_for("start button", lambda: with_role(app, pyatspi.ROLE_PUSH_BUTTON, "开始"))[0])
    # The application's store asked the host to reload; only a fresh timeline turns the button orange.
    pause = wait_for("stopwatch widget repainted as running", lambda: orange_points(stopwatch))

    x = sum(p[0] for p in pause) // len(pause)
    y = sum(p[1] for p in pause) // len(pause)
    xdotool("mousemove", str(x), str(y), "click", "1")
    wait_for("the application's stopwatch paused by the widget",
             lambda: with_role(app, pyatspi.ROLE_PUSH_BUTTON, "开始"), 10)
    wait_for("stopwatch widget repainted as paused", lambda: not orange_points(stopwatch))

    # The gallery, shown by starting the host again, goes over the application's window; a click on the
    # clock widget shows the application's clock mini window on top, in place of its main window.
    main_window = wait_for("application window", lambda: managed("^Dayvane$"))
    again = start(HOST, "host-again")
    if again.wait(20) != 0:
        fail("a second host did not hand over to the running one")
    gallery = wait_for("gallery", lambda: managed("^小组件库$"))
    # As a click on it would, through the window manager.
    xdotool("windowactivate", str(gallery))
    wait_for("gallery above the application", lambda: above(gallery, main_window))
    xdotool("mousemove", str(clock[0] + clock[2] // 2), str(clock[1] + clock[3] // 2), "click", "1")
    panel = wait_for("clock mini window shown by the clock widget", lambda: managed("^时钟$"))
    wait_for("clock mini window above the gallery", lambda: above(panel, gallery))
    wait_for("main window hidden for the mini window", lambda: main_window not in stacking())

    # Dragged by a point of its face to a new place, which the next start brings back.
    grab = (clock[0] + 20, clock[1] + 20)
    xdotool("mousemove", str(grab[0]), str(grab[1]), "mousedown", "1", "mousemove", str(grab[0] - 10),
            str(grab[1] + 10), "mousemove", str(grab[0] - 300), str(grab[1] + 400), "mouseup", "1")
    moved = wait_for("clock widget dragged", frame_at(CLOCK, clock[0] - 300, clock[1] + 400))
    wait_for("the new place stored", lambda: f"DayvaneClockWidget small {moved[0]} {moved[1]}" in stored_widgets())
    stop(host)
    host = start(HOST, "host")
    wait_for("clock widget back where it was dragged", frame_at(CLOCK, moved[0], moved[1]))
    wait_for("stopwatch widget back where it was", frame_at(STOPWATCH, 1090, 260))

    stop(host)
    stop(app_process)
    print("widget-host-desktop: widgets restored, reloaded from the application, actions and links work")


main()
