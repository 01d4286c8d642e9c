"""Starts a desktop of a given kind for a test or a benchmark, with its own servers and session bus, and
stops it again: Xvfb with openbox or KDE Plasma's kwin_x11, or a Wayland compositor with XWayland (mutter,
GNOME Shell, KDE Plasma's kwin_wayland). The session's environment (DISPLAY, WAYLAND_DISPLAY, XAUTHORITY,
the session bus, the user's folders) is what programs started in it get."""

import contextlib
import os
import shutil
import signal
import subprocess
import time

KINDS = ("openbox", "mutter", "gnome-shell", "kwin-x11", "kwin-wayland")
SIZE = (1440, 900)


class Unavailable(Exception):
    """The desktop cannot be started here; the message says why."""


class Session:
    def __init__(self, kind, work):
        self.kind = kind
        self.work = work
        self.environment = {}
        self._processes = []

    def start(self, arguments, log, environment=None, **options):
        process = subprocess.Popen(arguments, env=environment or self.environment, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True, **options)
        self._processes.append(process)
        return process

    def stop(self):
        for process in reversed(self._processes):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGTERM)
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


def _need(*programs):
    for program in programs:
        if not shutil.which(program):
            raise Unavailable(f"{program} is not installed (scripts/install-deps)")


def _wait(what, found, seconds, process=None):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = found()
        if value:
            return value
        if process and process.poll() is not None:
            break
        time.sleep(0.05)
    raise Unavailable(f"{what} did not come up (see the logs in the test's scratch folder)")


def _log(session, name):
    return open(os.path.join(session.work, f"{name}.log"), "ab")


def _bus(session, variable):
    read, write = os.pipe()
    process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", f"--print-address={write}"],
                               env=session.environment, pass_fds=(write,), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    session._processes.append(process)
    os.close(write)
    with os.fdopen(read) as reading:
        address = reading.readline().strip()
    if not address:
        raise Unavailable("dbus-daemon did not start")
    session.environment[variable] = address


def _xvfb(session):
    read, write = os.pipe()
    session._processes.append(subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{SIZE[0]}x{SIZE[1]}x24", "-nolisten", "tcp"],
        pass_fds=(write,), stdout=_log(session, "xvfb"), stderr=subprocess.STDOUT, start_new_session=True))
    os.close(write)
    with os.fdopen(read) as reading:
        number = reading.readline().strip()
    if not number:
        raise Unavailable("Xvfb did not start")
    session.environment["DISPLAY"] = f":{number}"


def _wayland_with_xwayland(session, arguments, socket, find_xwayland):
    """Starts a compositor and waits for its Wayland socket and its XWayland's display."""
    compositor = session.start(arguments, _log(session, session.kind))
    runtime = session.environment["XDG_RUNTIME_DIR"]
    _wait(f"{session.kind}'s Wayland socket", lambda: os.path.exists(os.path.join(runtime, socket)), 30, compositor)
    display, authority = _wait(f"{session.kind}'s XWayland", lambda: find_xwayland(compositor.pid), 30, compositor)
    session.environment.update(WAYLAND_DISPLAY=socket, DISPLAY=display, XDG_SESSION_TYPE="wayland")
    if authority:
        session.environment["XAUTHORITY"] = authority


def _descendants(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as listing:
            children = [int(child) for child in listing.read().split()]
    except OSError:
        return []
    return children + [grandchild for child in children for grandchild in _descendants(child)]


def _xwayland_of(pid):
    """The display and authority file of the Xwayland a compositor started, once it accepts clients."""
    for child in _descendants(pid):
        try:
            with open(f"/proc/{child}/cmdline", "rb") as line:
                arguments = line.read().decode(errors="replace").split("\0")
        except OSError:
            continue
        if os.path.basename(arguments[0]) != "Xwayland":
            continue
        display = next((a for a in arguments if a.startswith(":")), None)
        authority = arguments[arguments.index("-auth") + 1] if "-auth" in arguments else None
        if display and os.path.exists(f"/tmp/.X11-unix/X{display[1:]}"):
            return display, authority
    return None


def connect(session):
    """A connection of the caller's own to the session's X display."""
    from Xlib import display as xdisplay
    import Xlib.ext

    # python3-xlib 0.33 mixes up the event tables of two connections to servers with RANDR; nothing here
    # needs its events, so the extension is left unused.
    Xlib.ext.__extensions__ = [e for e in Xlib.ext.__extensions__ if e[0] not in ("RANDR", "XInputExtension")]
    if "XAUTHORITY" in session.environment:
        os.environ["XAUTHORITY"] = session.environment["XAUTHORITY"]
    return xdisplay.Display(session.environment["DISPLAY"])


def _window_manager_ready(session, seconds=30, process=None):
    """Waits until an EWMH window manager has claimed the display."""
    from Xlib import X, error

    connection = _wait(f"{session.kind}'s X server", lambda: _try_connect(session, error), seconds, process)
    check = connection.intern_atom("_NET_SUPPORTING_WM_CHECK")
    try:
        _wait(f"{session.kind}'s window manager",
              lambda: (connection.screen().root.get_full_property(check, X.AnyPropertyType) or None), seconds, process)
    finally:
        connection.close()


def _try_connect(session, error):
    try:
        return connect(session)
    except (error.DisplayError, error.ConnectionClosedError, OSError):
        return None


def _start_openbox(session):
    _need("Xvfb", "openbox")
    _xvfb(session)
    # openbox reads its theme from the system's data folders, which a test may point elsewhere.
    environment = {k: v for k, v in session.environment.items() if k != "XDG_DATA_DIRS"}
    process = session.start(["openbox", "--sm-disable"], _log(session, session.kind), environment)
    _window_manager_ready(session, process=process)


def _start_kwin_x11(session):
    _need("Xvfb", "kwin_x11", "dbus-daemon")
    _xvfb(session)
    _bus(session, "DBUS_SESSION_BUS_ADDRESS")
    session.environment.update(XDG_SESSION_TYPE="x11", XDG_CURRENT_DESKTOP="KDE", KDE_FULL_SESSION="true",
                               KDE_SESSION_VERSION="5")
    process = session.start(["kwin_x11", "--replace"], _log(session, session.kind))
    _window_manager_ready(session, process=process)


def _start_mutter(session):
    _need("mutter", "Xwayland", "dbus-daemon")
    _bus(session, "DBUS_SESSION_BUS_ADDRESS")
    session.environment["XDG_CURRENT_DESKTOP"] = "GNOME"
    socket = f"wayland-dayvane-{os.getpid()}"
    _wayland_with_xwayland(session, ["mutter", "--wayland", "--headless", "--virtual-monitor", f"{SIZE[0]}x{SIZE[1]}",
                                     "--wayland-display", socket],
                           socket, _xwayland_of)
    _window_manager_ready(session)


def _start_gnome_shell(session):
    _need("gnome-shell", "Xwayland", "dbus-daemon", "gdbus")
    # GNOME Shell asks logind on the system bus for the session; a bus of its own, on which nobody answers,
    # lets it go on as on a machine without logind.
    _bus(session, "DBUS_SYSTEM_BUS_ADDRESS")
    _bus(session, "DBUS_SESSION_BUS_ADDRESS")
    session.environment["XDG_CURRENT_DESKTOP"] = "GNOME"
    socket = f"wayland-dayvane-{os.getpid()}"
    _wayland_with_xwayland(session, ["gnome-shell", "--headless", "--wayland", "--virtual-monitor",
                                     f"{SIZE[0]}x{SIZE[1]}", "--wayland-display", socket], socket, _xwayland_of)
    _window_manager_ready(session)

    # A session begins in the overview, which the user's first launch leaves; here it is left at once.
    def overview(*value):
        method = ["org.freedesktop.DBus.Properties." + ("Set" if value else "Get"), "org.gnome.Shell",
                  "OverviewActive", *value]
        return subprocess.run(["gdbus", "call", "--session", "--dest", "org.gnome.Shell", "--object-path",
                               "/org/gnome/Shell", "--method", *method], env=session.environment,
                              capture_output=True, text=True).stdout

    _wait("GNOME Shell's overview at the start of the session", lambda: "true" in overview(), 30)
    overview("<false>")
    _wait("GNOME Shell's overview left", lambda: "false" in overview(), 30)


def _start_kwin_wayland(session):
    _need("kwin_wayland", "Xwayland", "dbus-daemon")
    # The installed program carries a file capability (to raise its own limits) that a container without
    # that privilege refuses to execute; a copy without it runs the same.
    copy = os.path.join(session.work, "kwin_wayland")
    shutil.copyfile(shutil.which("kwin_wayland"), copy)
    os.chmod(copy, 0o755)
    _bus(session, "DBUS_SESSION_BUS_ADDRESS")
    session.environment.update(XDG_CURRENT_DESKTOP="KDE", KDE_FULL_SESSION="true", KDE_SESSION_VERSION="5")
    socket = f"wayland-dayvane-{os.getpid()}"
    _wayland_with_xwayland(session, [copy, "--virtual", "--xwayland", "--width", str(SIZE[0]), "--height",
                                     str(SIZE[1]), "--socket", socket], socket, _xwayland_of)
    _window_manager_ready(session)


_STARTERS = {
    "openbox": _start_openbox,
    "mutter": _start_mutter,
    "gnome-shell": _start_gnome_shell,
    "kwin-x11": _start_kwin_x11,
    "kwin-wayland": _start_kwin_wayland,
}


@contextlib.contextmanager
def desktop(kind, work):
    """A running desktop of this kind, with the user's folders inside `work`; raises Unavailable when it
    cannot start here."""
    session = Session(kind, work)
    environment = {k: v for k, v in os.environ.items()
                   if not k.startswith(("QT_", "DISPLAY", "WAYLAND_", "XAUTHORITY", "DBUS_", "XDG_SESSION",
                                        "XDG_CURRENT", "DESKTOP_STARTUP_ID", "XDG_ACTIVATION"))}
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    environment.update(XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
                       XDG_CACHE_HOME=os.path.join(work, "cache"), XDG_RUNTIME_DIR=runtime, LC_ALL="C.UTF-8")
    session.environment = environment
    try:
        _STARTERS[kind](session)
        yield session
    finally:
        session.stop()
