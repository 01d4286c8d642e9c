#!/usr/bin/python3
"""The real application and widget host on the desktops people run, each with its real window manager:
a second launch brings the main window back over another program's window; a link shows a pinned mini
window that stays above a window raised after it and, released, lets it go over; placed widgets stay on
the desktop layer below other windows and come back after "show desktop"; without a tray, starting the
host again or through its desktop entry's action opens the gallery. What is checked is what the window manager tells X clients.
Panels and widgets follow a drag and come back there after a restart; a text-only panel lets the desktop
through where the window manager composites; a dayvane:// link opened through the desktop's own opener
(xdg-open, gio open) from an installed copy reaches the running instance, or starts one.
Usage: desktop-check.py DESKTOP APPLICATION HOST BUILD CMAKE. Exits 77 with a message where the desktop cannot
start."""

import contextlib
import os
import select
import signal
import sqlite3
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Support"))
import desktop_session  # noqa: E402

from Xlib import X, Xatom, protocol  # noqa: E402

SKIPPED = 77
KIND, APPLICATION, HOST = sys.argv[1:4]
BUILD, CMAKE = (sys.argv[4:6] + ["", ""])[:2]
MAIN, CLOCK_PANEL, CALENDAR_PANEL, GALLERY, CLOCK_WIDGET = "Dayvane", "时钟", "日历", "小组件库", "Lumadi 时钟"
WIDGETS_KEY = "dayvane.widgetHost.placedWidgets"
WIDGET_PLACE = (1090, 60)

DRAG = (120, 80)

# Where the window managers differ, what each is expected to do: does "show desktop" leave windows kept below
# (the widgets) in view; does it composite translucent windows; which openers route a link as the desktop's
# own launchers do.
DESKTOPS = {
    "openbox": {"widgets_while_desktop_shown": False, "composites": False, "openers": (["xdg-open"],)},
    "mutter": {"widgets_while_desktop_shown": False, "composites": True, "openers": (["xdg-open"], ["gio", "open"])},
    "gnome-shell": {"widgets_while_desktop_shown": False, "composites": True,
                    "openers": (["xdg-open"], ["gio", "open"])},
    "kwin-x11": {"widgets_while_desktop_shown": False, "composites": True, "openers": (["xdg-open"],)},
    "kwin-wayland": {"widgets_while_desktop_shown": False, "composites": True, "openers": (["xdg-open"],)},
}


def fail(message):
    sys.exit(f"desktop-check {KIND}: {message}")


class Desktop:
    """The test's own view of the session: its X connection, a window of another program, the programs."""

    def __init__(self, session):
        self.session = session
        self.x = desktop_session.connect(session)
        self.root = self.x.screen().root
        self.root.change_attributes(event_mask=X.PropertyChangeMask | X.SubstructureNotifyMask)
        self.other = self._other_window()
        self.processes = []
        # Programs started by the desktop's openers rather than by the test.
        self.strays = []

    def atom(self, name):
        return self.x.intern_atom(name)

    def numbers(self, window, name):
        try:
            reply = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except Exception:  # the window is gone
            return []
        return list(reply.value) if reply and reply.format == 32 else []

    def text(self, window, name):
        try:
            reply = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except Exception:
            return ""
        return reply.value.decode(errors="replace") if reply and reply.format == 8 else ""

    def client(self, title):
        for number in self.numbers(self.root, "_NET_CLIENT_LIST"):
            window = self.x.create_resource_object("window", number)
            if self.text(window, "_NET_WM_NAME") == title:
                return window
        return None

    def stacking(self):
        return self.numbers(self.root, "_NET_CLIENT_LIST_STACKING")

    def above(self, upper, lower):
        order = self.stacking()
        return upper.id in order and lower.id in order and order.index(upper.id) > order.index(lower.id)

    def active(self):
        return next(iter(self.numbers(self.root, "_NET_ACTIVE_WINDOW")), 0)

    def state(self, window):
        return {self.x.get_atom_name(a) for a in self.numbers(window, "_NET_WM_STATE")}

    def viewable(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except Exception:
            return False

    def origin(self, window):
        spot = window.translate_coords(self.root, 0, 0)
        return -spot.x, -spot.y

    def pid(self, window):
        return next(iter(self.numbers(window, "_NET_WM_PID")), 0)

    def drag(self, window, spot, by=DRAG):
        """Presses at a spot of the window (its own coordinates), moves the pointer by `by` and releases."""
        x, y = (o + s for o, s in zip(self.origin(window), spot))
        self.xdotool("mousemove", "--sync", x, y, "mousedown", 1, "mousemove", "--sync", x + by[0] // 2,
                     y + by[1] // 2, "mousemove", "--sync", x + by[0], y + by[1], "mouseup", 1)

    def click_button(self, window, spot):
        """Clicks a panel's chrome button once the pointer's hover has brought it into view: drawn, its
        square is no longer of one colour."""
        x, y = (o + s for o, s in zip(self.origin(window), spot))
        self.xdotool("mousemove", "--sync", x, y)

        def drawn():
            try:
                pixels = window.get_image(spot[0] - 5, spot[1] - 5, 11, 11, X.ZPixmap, 0xFFFFFFFF).data
            except Exception:
                return False
            return len({pixels[i:i + 4] for i in range(0, len(pixels), 4)}) > 1

        self.wait("the chrome button shown under the pointer", drawn)
        self.xdotool("click", 1)

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *map(str, arguments)], env=self.session.environment, check=True)

    def alpha(self, window, spot):
        """The alpha of the window's own pixel at a spot; 255 for a window without one."""
        try:
            depth = window.get_geometry().depth
            pixel = window.get_image(spot[0], spot[1], 1, 1, X.ZPixmap, 0xFFFFFFFF).data
        except Exception:
            return None
        return pixel[3] if depth == 32 else 255

    def composites(self):
        owner = self.x.get_selection_owner(self.atom(f"_NET_WM_CM_S{self.x.get_default_screen()}"))
        return owner != X.NONE

    def wait(self, what, condition, seconds=45):
        """Looks again each time the server reports something, and at least every 50 ms."""
        deadline = time.monotonic() + seconds
        while True:
            found = condition()
            if found:
                return found
            if time.monotonic() > deadline:
                fail(f"{what}: not so within {seconds} s")
            select.select([self.x], [], [], 0.05)
            while self.x.pending_events():
                self.x.next_event()

    def server_time(self):
        """The X server's time now, as a launcher stamps a click."""
        stamp = self.atom("_DAYVANE_TEST_TIME")
        self.other.change_property(stamp, Xatom.CARDINAL, 32, [0])
        self.x.flush()
        while True:
            event = self.x.next_event()
            if event.type == X.PropertyNotify and event.window.id == self.other.id and event.atom == stamp:
                return event.time

    def _other_window(self):
        window = self.root.create_window(200, 150, 900, 600, 0, self.x.screen().root_depth,
                                         event_mask=X.PropertyChangeMask | X.StructureNotifyMask)
        window.set_wm_name("other")
        window.change_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"), 8, "另一个程序".encode())
        window.set_wm_class("other", "Other")
        window.map()
        self.x.flush()
        return window

    def raise_other(self):
        """Activates the other program's window as a task bar would for the user's click."""
        self.message(self.other, "_NET_ACTIVE_WINDOW", [2, self.server_time(), 0])
        self.wait("the other program's window active", lambda: self.active() == self.other.id)

    def message(self, window, name, data):
        event = protocol.event.ClientMessage(window=window, client_type=self.atom(name),
                                             data=(32, (data + [0] * 5)[:5]))
        self.root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.x.flush()

    def start(self, program, *arguments, environment=None):
        log = open(os.path.join(self.session.work, f"{os.path.basename(program)}.log"), "ab")
        process = subprocess.Popen([program, *arguments], env=environment or self.session.environment, stdout=log,
                                   stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def launch(self, program, *arguments):
        """A second start from a launcher, with a startup id stamped with the user's click; it hands over."""
        environment = dict(self.session.environment,
                           DESKTOP_STARTUP_ID=f"launcher-{os.getpid()}-{time.monotonic_ns()}_TIME{self.server_time()}")
        if subprocess.run([program, *arguments], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=20).returncode != 0:
            fail(f"{os.path.basename(program)} {' '.join(arguments)} did not hand over to the running one")

    def stop(self, process):
        process.send_signal(signal.SIGTERM)
        if process.wait(20) != 0:
            fail(f"{process.args[0]} ended with {process.returncode}")
        self.processes.remove(process)

    def close(self):
        for process in self.processes:
            process.kill()
            process.wait()
        for pid in self.strays:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        self.x.close()


def start_and_reopen(d):
    d.instance = d.start(APPLICATION)
    main = d.wait("main window mapped", lambda: d.client(MAIN))
    d.wait("main window viewable", lambda: d.viewable(main))
    d.raise_other()
    d.wait("the other window above the main window", lambda: d.above(d.other, main))
    d.launch(APPLICATION)
    d.wait("second launch: main window active", lambda: d.active() == main.id)
    d.wait("second launch: main window above the other window", lambda: d.above(main, d.other))
    d.main = main


def mini_window(d):
    d.launch(APPLICATION, "dayvane://clock")
    panel = d.wait("clock mini window", lambda: d.client(CLOCK_PANEL))
    d.wait("main window hidden for the mini window", lambda: not d.viewable(d.main))
    wanted = {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}
    d.wait("pinned panel above, out of task bar and pager", lambda: wanted <= d.state(panel))
    d.wait("pinned panel on all desktops", lambda: d.numbers(panel, "_NET_WM_DESKTOP") == [0xFFFFFFFF])
    d.raise_other()
    if not d.above(panel, d.other):
        fail("the pinned panel went below a window raised after it")

    # The pin button: 8 points from the right edge and 6 from the top, 17 points square.
    d.click_button(panel, (panel.get_geometry().width - 25 + 8, 14))
    d.wait("released panel no longer above", lambda: "_NET_WM_STATE_ABOVE" not in d.state(panel))
    d.raise_other()
    d.wait("another window over the released panel", lambda: d.above(d.other, panel))


def panel_spots(panel):
    """Spots of the clock panel's background, left and right of the time."""
    size = panel.get_geometry()
    return (10, size.height // 2), (size.width - 10, size.height // 2)


def panel_drag_and_text_only(d):
    panel = d.client(CLOCK_PANEL)
    if not all(d.alpha(panel, spot) for spot in panel_spots(panel)):
        fail("the clock panel has no surface behind its text before text-only")
    # Brought back over the other window, as a click in a pager would.
    d.message(panel, "_NET_ACTIVE_WINDOW", [2, d.server_time(), 0])
    d.wait("the released panel raised again", lambda: d.above(panel, d.other))
    origin = d.origin(panel)
    d.panel_place = (origin[0] + DRAG[0], origin[1] + DRAG[1])
    # Pressed on the header, left of the date.
    d.drag(panel, (60, 10))
    d.wait("the clock panel follows a drag on its header", lambda: d.origin(panel) == d.panel_place)
    # The text-only button: 21 points left of the pin button.
    d.click_button(panel, (panel.get_geometry().width - 38, 14))
    store = os.path.join(d.session.environment["XDG_CONFIG_HOME"], "dayvane", "settings.sqlite3")

    def stored_text_only():
        with contextlib.closing(sqlite3.connect(f"file:{store}?mode=ro", uri=True)) as db:
            return db.execute("SELECT count(*) FROM settings WHERE key = 'dayvane.clock.window.textOnly' AND value = 1"
                              ).fetchone()[0]

    d.wait("text-only stored for the clock panel", stored_text_only)
    text_only_look(d, panel)


def text_only_look(d, panel):
    if d.composites() != DESKTOPS[KIND]["composites"]:
        fail(f"expected the window manager {'' if DESKTOPS[KIND]['composites'] else 'not '}to composite")
    if DESKTOPS[KIND]["composites"]:
        d.wait("text-only panel clear around its text",
               lambda: all(d.alpha(panel, spot) == 0 for spot in panel_spots(panel)))
    else:
        # A clear surface would show black without a compositor: the panel keeps its own.
        d.wait("text-only panel opaque without a compositor",
               lambda: all(d.alpha(panel, spot) == 255 for spot in panel_spots(panel)))


def panel_restart(d):
    d.stop(d.instance)
    d.instance = d.start(APPLICATION, "dayvane://clock")
    panel = d.wait("clock mini window after a restart", lambda: d.client(CLOCK_PANEL))
    d.wait("the clock panel back where it was dragged", lambda: d.viewable(panel) and d.origin(panel) == d.panel_place)
    text_only_look(d, panel)


def links(d):
    """dayvane:// through the desktop's opener, from an installed copy that the desktop finds by its entry."""
    if not DESKTOPS[KIND]["openers"]:
        return
    prefix = os.path.join(d.session.work, "prefix")
    if subprocess.run([CMAKE, "--install", BUILD, "--prefix", prefix, "--component", "dayvane"],
                      stdout=subprocess.DEVNULL).returncode != 0:
        fail("the staged install failed")
    subprocess.run(["update-desktop-database", os.path.join(prefix, "share", "applications")], check=True)
    environment = dict(d.session.environment, PATH=f"{prefix}/bin:{os.environ['PATH']}",
                       XDG_DATA_DIRS=f"{prefix}/share:/usr/share")

    def opened(opener, running):
        d.start(shutil.which(opener[0]), *opener[1:], "dayvane://calendar", environment=environment)
        panel = d.wait(f"{' '.join(opener)}: the calendar mini window", lambda: d.client(CALENDAR_PANEL))
        d.wait(f"{' '.join(opener)}: the calendar mini window viewable", lambda: d.viewable(panel))
        pid = d.pid(panel)
        if running and pid != running.pid:
            fail(f"{' '.join(opener)}: the link reached process {pid}, not the running instance {running.pid}")
        if not running and not pid:
            fail(f"{' '.join(opener)}: the calendar mini window names no process")
        d.strays.append(pid)
        return panel, pid

    for opener in DESKTOPS[KIND]["openers"]:
        panel, _ = opened(opener, d.instance)
        d.message(panel, "_NET_CLOSE_WINDOW", [d.server_time(), 2])
        d.wait("the calendar mini window closed", lambda: not d.viewable(panel))
    d.stop(d.instance)
    _, pid = opened(DESKTOPS[KIND]["openers"][0], None)
    os.kill(pid, signal.SIGTERM)
    d.wait("Dayvane started by the link ended", lambda: not os.path.exists(f"/proc/{pid}"))


def widgets(d):
    host = d.start(HOST)
    gallery = d.wait("gallery on the first start", lambda: d.client(GALLERY))
    d.stop(host)
    store = os.path.join(d.session.environment["XDG_CONFIG_HOME"], "dayvane-widget-host", "settings.sqlite3")
    with sqlite3.connect(store) as db:
        db.execute("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)",
                   (WIDGETS_KEY, f"DayvaneClockWidget small {WIDGET_PLACE[0]} {WIDGET_PLACE[1]}\n"))
    host = d.start(HOST)
    widget = d.wait("placed widget", lambda: d.client(CLOCK_WIDGET))
    d.wait("widget where it was placed", lambda: d.viewable(widget) and d.origin(widget) == WIDGET_PLACE)
    wanted = {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}
    d.wait("widget below others, out of task bar and pager", lambda: wanted <= d.state(widget))
    d.raise_other()
    d.wait("a normal window over the widget", lambda: d.above(d.other, widget))

    showing = "_NET_SHOWING_DESKTOP"
    d.message(d.root, showing, [1])
    d.wait("desktop shown", lambda: d.numbers(d.root, showing) == [1])
    if DESKTOPS[KIND]["widgets_while_desktop_shown"]:
        d.wait("widget in view while the desktop is shown", lambda: d.viewable(widget))
    d.message(d.root, showing, [0])
    d.wait("desktop no longer shown", lambda: d.numbers(d.root, showing) == [0])
    d.wait("widget back in place after show desktop",
           lambda: d.viewable(widget) and d.origin(widget) == WIDGET_PLACE and wanted <= d.state(widget))

    # No tray here (none runs on a bare window manager, nor by default on GNOME): starting the host again is
    # the way to the gallery.
    owner = d.x.get_selection_owner(d.atom(f"_NET_SYSTEM_TRAY_S{d.x.get_default_screen()}"))
    if owner != X.NONE:
        fail("a tray runs; this check is for a desktop without one")
    d.raise_other()
    d.launch(HOST)
    gallery = d.wait("gallery opened by a second start", lambda: d.client(GALLERY))
    d.wait("gallery active", lambda: d.active() == gallery.id)
    d.wait("gallery above the other window", lambda: d.above(gallery, d.other))
    d.stop(host)
    # The desktop entry's 小组件库 action starts the host with the gallery open though widgets are placed.
    host = d.start(HOST, "--gallery")
    d.wait("gallery opened by the desktop entry's action", lambda: d.client(GALLERY) and d.client(CLOCK_WIDGET))
    d.stop(host)


def widget_drag(d):
    host = d.start(HOST)
    widget = d.wait("placed widget", lambda: d.client(CLOCK_WIDGET))
    d.wait("widget where it was placed", lambda: d.viewable(widget) and d.origin(widget) == WIDGET_PLACE)
    moved = (WIDGET_PLACE[0] + DRAG[0], WIDGET_PLACE[1] + DRAG[1])
    # Pressed on its right part, which the other window (900 points wide, where the window manager put it)
    # leaves free.
    d.drag(widget, (widget.get_geometry().width - 20, widget.get_geometry().height // 2))
    d.wait("the widget follows a drag", lambda: d.origin(widget) == moved)
    d.stop(host)
    host = d.start(HOST)
    widget = d.wait("placed widget after a restart", lambda: d.client(CLOCK_WIDGET))
    d.wait("the widget back where it was dragged", lambda: d.viewable(widget) and d.origin(widget) == moved)
    d.stop(host)


def window_manager_content(work):
    """Every activation carried the time of the user's action: the window manager had none to guess."""
    with open(os.path.join(work, f"{KIND}.log"), errors="replace") as log:
        if any("META_CURRENT_TIME" in line for line in log):
            fail("a window asked for the focus without a time (META_CURRENT_TIME in the window manager's log)")


def print_logs(work):
    for name in sorted(os.listdir(work)):
        if name.endswith(".log"):
            with open(os.path.join(work, name), errors="replace") as log:
                print(f"--- {name}\n" + "".join(log.readlines()[-40:]), file=sys.stderr)


# What every desktop goes through, in this order; each check leaves the session as the next expects it.
CHECKS = (start_and_reopen, mini_window, panel_drag_and_text_only, panel_restart, links, widgets, widget_drag)


def main():
    if KIND not in DESKTOPS:
        fail(f"unknown desktop {KIND}; known: {', '.join(DESKTOPS)}")
    with tempfile.TemporaryDirectory(prefix=f"dayvane-{KIND}-") as work:
        try:
            with desktop_session.desktop(KIND, work) as session:
                d = Desktop(session)
                try:
                    for check in CHECKS:
                        check(d)
                    window_manager_content(work)
                except SystemExit:
                    print_logs(work)
                    raise
                finally:
                    d.close()
        except desktop_session.Unavailable as reason:
            print(f"desktop-check {KIND}: SKIPPED: {reason}")
            sys.exit(SKIPPED)
    print(f"desktop-check {KIND}: start, reopen, mini windows, links, widgets and the gallery behave")


main()
