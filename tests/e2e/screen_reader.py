"""Fretloom as a screen reader meets it: the real program on a private X server under a real
window manager, with accessibility on, read and driven through AT-SPI on a private D-Bus session.
Controls are found by role and name, buttons are pressed through the Action interface and the
tab is read through the Text interface; keys go in through XTest (xdotool), as a keyboard's do.

Usage: python3 screen_reader.py FRETLOOM_PROGRAM
"""

import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

started = time.monotonic()
processes = []  # (name, Popen), stopped in reverse order


def step(text):
    print(f"[{time.monotonic() - started:5.1f}s] {text}", flush=True)


class Failure(Exception):
    pass


class Stopped(Failure):
    """The time is up, or a signal came: no wait may swallow it."""


def check(condition, text):
    if not condition:
        raise Failure(text)


def wait_for(what, probe, seconds=10):
    """Polls probe() until it gives something true, and returns that."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Stopped:
            raise
        except Exception:  # not there yet, or gone between two questions
            found = None
        if found:
            return found
        if time.monotonic() > end:
            raise Failure(f"gave up waiting for {what}")
        time.sleep(0.1)


def start(name, command, **options):
    # A process group of its own, so that whatever it starts goes with it.
    process = subprocess.Popen(command, start_new_session=True, **options)
    processes.append((name, process))
    return process


def stop_all():
    for _, process in reversed(processes):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                continue
    for _, process in reversed(processes):
        try:
            process.wait(timeout=3)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        # Anything the process started and left behind in its group.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, check=False).stdout.strip()


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "40", *names], check=True)
    time.sleep(0.3)


def typed(text):
    subprocess.run(["xdotool", "type", "--delay", "40", "--", text], check=True)
    time.sleep(0.3)


def activate(window):
    if run("xdotool", "getactivewindow") != str(window):
        run("xdotool", "windowactivate", str(window))
    wait_for(f"window {window} to take the keys",
             lambda: run("xdotool", "getactivewindow") == str(window))
    time.sleep(0.2)  # lets the toolkit hand the focus to the window's own control


def x_windows(pid, title):
    found = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", title)
    return [int(line) for line in found.split()]


def transient_for(window):
    # "WM_TRANSIENT_FOR(WINDOW): window id # 0x400006"
    line = run("xprop", "-id", str(window), "WM_TRANSIENT_FOR")
    return int(line.split("#")[-1], 16) if "#" in line else None


def start_x_server(work):
    """A private X server on the first free display from a random place in 20..99 on."""
    offset = random.randrange(80)
    for i in range(80):
        n = 20 + (offset + i) % 80
        if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
            continue
        log = open(os.path.join(work, "xvfb.log"), "w")
        xvfb = start("Xvfb", ["Xvfb", f":{n}", "-screen", "0", "1600x1200x24", "-nolisten",
                              "tcp", "-noreset"], stdout=log, stderr=log)
        for _ in range(50):
            if xvfb.poll() is not None:
                break
            try:
                # Ours, not another server that took the number at the same moment.
                with open(f"/tmp/.X{n}-lock") as lock:
                    mine = lock.read().strip() == str(xvfb.pid)
            except OSError:
                mine = False
            if mine and subprocess.run(["xdpyinfo", "-display", f":{n}"], capture_output=True
                                       ).returncode == 0:
                return f":{n}"
            time.sleep(0.1)
        processes.remove(("Xvfb", xvfb))
        os.killpg(xvfb.pid, signal.SIGKILL)
        xvfb.wait()
    raise Failure("no free X display between :20 and :99")


def main(program):
    work = tempfile.mkdtemp(prefix="fretloom-atspi.")
    for folder in ("home", "config", "cache", "runtime"):
        os.makedirs(os.path.join(work, folder), mode=0o700)
    try:
        session(program, work)
    except Failure:
        try:
            with open(os.path.join(work, "fretloom.log")) as log:
                print("--- the program's output:", *log.readlines()[-30:], sep="\n",
                      file=sys.stderr)
        except OSError:
            pass
        raise
    finally:
        stop_all()
        shutil.rmtree(work, ignore_errors=True)


def session(program, work):
    for tool in ("Xvfb", "openbox", "xdotool", "xprop", "xdpyinfo", "wmctrl", "dbus-daemon"):
        check(shutil.which(tool), f"{tool} was not found; tools/setup installs it")
    launcher = "/usr/libexec/at-spi-bus-launcher"
    check(os.path.exists(launcher), "the AT-SPI bus launcher was not found (at-spi2-core)")

    # Only the private display and bus below are used, never those this was started from.
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                 "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "QT_QPA_PLATFORMTHEME",
                 "QT_STYLE_OVERRIDE", "SESSION_MANAGER"):
        os.environ.pop(name, None)
    os.environ.update(HOME=os.path.join(work, "home"), XDG_CONFIG_HOME=os.path.join(work, "config"),
                      XDG_CACHE_HOME=os.path.join(work, "cache"),
                      XDG_RUNTIME_DIR=os.path.join(work, "runtime"))
    os.environ["DISPLAY"] = start_x_server(work)
    step(f"X server on {os.environ['DISPLAY']}")
    start("openbox", ["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the window manager", lambda: subprocess.run(
        ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True
    ).stdout.count("window id"))

    # A private session bus, then the accessibility bus beside it, as a desktop session starts
    # them for a screen reader.
    bus = start("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--print-address"],
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    check(os.environ["DBUS_SESSION_BUS_ADDRESS"], "the session bus did not start")
    start("at-spi-bus-launcher", [launcher, "--launch-immediately"],
          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    step("session bus and accessibility bus")

    # Imported only now: the library finds the accessibility bus through the session bus.
    import gi
    gi.require_version("Atspi", "2.0")
    import pyatspi
    from gi.repository import GLib

    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    if "ASAN_OPTIONS" in environment:
        # libxkbcommon-x11 copies the X server's length-counted key names with strndup, which
        # strict string checks take for reading past the end. Every other check stays.
        environment["ASAN_OPTIONS"] += ":strict_string_checks=0"
    log = open(os.path.join(work, "fretloom.log"), "w")
    app_process = start("fretloom", [program], env=environment, stdout=log, stderr=log)
    step(f"started {program}")

    def find_app():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            found = desktop.getChildAtIndex(i)
            if found is not None and found.get_process_id() == app_process.pid:
                return found
        return None

    app = wait_for("the program on the accessibility bus", find_app, 20)
    # Every question goes to the program: names and states change under the test's feet.
    app.set_cache_mask(pyatspi.Atspi.Cache.NONE)
    main_window = wait_for("the main window", lambda: x_windows(app_process.pid, "^Fretloom - "))[0]

    def walk(node):
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from walk(child)

    def find(root, role, name=None, showing=None):
        return [node for node in walk(root) if node.getRoleName() == role and
                (name is None or node.name == name) and
                (showing is None or node.getState().contains(pyatspi.STATE_SHOWING) == showing)]

    def one(root, role, name, showing=None):
        found = find(root, role, name, showing)
        check(len(found) == 1, f"{len(found)} {role}s named {name!r}, expected one")
        return found[0]

    def window(role, name):
        """A window of the program's: a child of the application."""
        return [node for node in app if node.getRoleName() == role and node.name == name]

    def text_of(node):
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def press(button):
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        check("Press" in names, f"{button.name!r} offers {names}, not Press")
        action.doAction(names.index("Press"))

    def focused(node):
        return node.getState().contains(pyatspi.STATE_FOCUSED)

    frame = wait_for("the main window's frame", lambda: window("frame", "Fretloom - (Untitled)"))[0]

    # --- The grid: 96 cells, found by name and role, described as the instrument shows them.
    step("the cells")
    cells = [node for node in find(frame, "text") if ", column " in node.name]
    names = [f"string {string}, column {column}" for string in "eBGDAE" for column in range(1, 17)]
    check([cell.name for cell in cells] == names, f"cells named {[c.name for c in cells][:20]}...")

    def cell(string, column):
        return cells[16 * "eBGDAE".index(string) + column - 1]

    def description(string, column=1):
        return cell(string, column).description

    check(description("e") == "string 1 of 6, the highest", description("e"))
    check(description("E", 16) == "string 6 of 6, the lowest", description("E", 16))
    check(focused(cell("e", 1)), "the focus does not start in the first cell")

    # --- About from the menu bar by keyboard; once it is closed, the focus is back in its cell.
    step("About by keyboard")
    cell("G", 5).queryComponent().grabFocus()
    wait_for("the focus in string G, column 5", lambda: focused(cell("G", 5)))
    entries = [entry.name for entry in find(frame, "menu bar")[0]]
    keys("alt")
    keys(*["Right"] * entries.index("About"), "Return")
    wait_for("the About box", lambda: window("alert", "About"))
    keys("Return")
    wait_for("the About box to close", lambda: not window("alert", "About"))
    wait_for("the focus back in string G, column 5", lambda: focused(cell("G", 5)))

    # --- Bass mode: the four strings shown are described as four.
    step("descriptions in bass mode")
    keys("ctrl+b")
    wait_for("bass descriptions", lambda: description("G") == "string 1 of 4, the highest")
    check(description("D") == "string 2 of 4", description("D"))
    check(description("E") == "string 4 of 4, the lowest", description("E"))
    keys("ctrl+b", "ctrl+b")
    wait_for("guitar descriptions", lambda: description("e") == "string 1 of 6, the highest")

    # --- The chord picker: a dialog of the main window's, its boxes named by what they are for
    # and their values read as text.
    step("the chord picker")
    press(one(frame, "menu item", "Chords/Bar lines"))
    picker = wait_for("the chord picker dialog", lambda: window("dialog", "Chord picker"))[0]
    picker_window = wait_for("the chord picker's window",
                             lambda: x_windows(app_process.pid, "^Fretloom$"))[0]
    check(transient_for(picker_window) == main_window, "the chord picker is not the main window's")
    chord = one(picker, "combo box", "Chord", showing=True)
    column = one(picker, "combo box", "Column")

    def value(box):
        return text_of(one(box, "text", None))

    check(value(chord) == "Open Chords", value(chord))
    check(value(column) == "1", value(column))
    wait_for("the focus in the chord box", lambda: focused(chord))
    keys("ctrl+a")
    typed("C")
    keys("Tab", "Tab", "ctrl+a")
    typed("3")
    wait_for("C in column 3", lambda: value(chord) == "C" and value(column) == "3")
    check(chord.name == "Chord" and column.name == "Column", f"{chord.name}, {column.name}")
    press(one(picker, "push button", "Enter"))
    chord_c = ["0", "1", "0", "2", "3", "3"]
    wait_for("the chord in column 3", lambda: [text_of(cell(s, 3)) for s in "eBGDAE"] == chord_c)
    keys("Escape")
    wait_for("Escape to close the chord picker", lambda: not window("dialog", "Chord picker"))

    # --- The string notes window: the bottom string renamed "D", so that two strings share it.
    step("renaming a string")
    activate(main_window)
    keys("ctrl+n")
    notes = wait_for("the string notes dialog", lambda: window("dialog", "String notes"))[0]
    notes_window = wait_for("the string notes' window",
                            lambda: x_windows(app_process.pid, "^Fretloom$"))[0]
    check(transient_for(notes_window) == main_window, "the string notes are not the main window's")
    wait_for("the focus in the bottom string's box",
             lambda: focused(one(notes, "text", "Bottom E string")))
    keys("ctrl+a")
    typed("D")
    press(one(notes, "push button", "Change"))
    wait_for("the bottom string renamed", lambda: cell("E", 1).name == "string D, column 1")
    check(description("D") == "string 4 of 6, the higher of two strings named D", description("D"))
    check(description("E") == "string 6 of 6, the lowest", description("E"))
    keys("Escape")
    wait_for("Escape to close the string notes", lambda: not window("dialog", "String notes"))

    # --- Enter, pressed through AT-SPI: the new bar is read from the tab box and announced.
    step("Enter")
    heard = []

    def listen(event):
        if event.detail1 == 1 and event.source.getRoleName() == "notification":
            heard.append(event.source.name)

    pyatspi.Registry.registerEventListener(listen, "object:state-changed:showing")
    press(one(frame, "push button", "Enter"))
    tab = one(frame, "text", "Tab")
    bar = []
    for string, caption in zip("eBGDAE", "eBGDAD"):
        frets = ["--"] * 16
        frets[2] = chord_c["eBGDAE".index(string)]
        bar.append(f"{caption}  |-" + "-".join(frets) + "-|")
    wait_for("the bar in the tab box", lambda: text_of(tab).splitlines() == bar + [""])
    context = GLib.MainContext.default()
    wait_for("the bar announced", lambda: (context.iteration(False), "Bar 1 added" in heard)[1])
    pyatspi.Registry.deregisterEventListener(listen, "object:state-changed:showing")

    # --- Leaving: the save question answered No, and the program ends cleanly.
    step("closing")
    subprocess.run(["wmctrl", "-i", "-c", str(main_window)], check=True)
    wait_for("the save question", lambda: window("alert", "Save"))
    keys("n")
    try:
        status = app_process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("the program still runs after its window was closed")
    check(status == 0, f"the program ended with status {status}")
    step("passed")


if __name__ == "__main__":
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit(f"usage: {sys.argv[0]} FRETLOOM_PROGRAM")
    # Every wait is bounded; should the run still take far too long, it fails on its own, before
    # CTest's timeout, so that the clean-up runs. A signal to stop cleans up as well.
    def give_up(number, frame):
        raise Stopped("gave up after 120 s" if number == signal.SIGALRM else "stopped by a signal")

    for number in (signal.SIGALRM, signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, give_up)
    signal.alarm(120)
    try:
        main(os.path.realpath(sys.argv[1]))
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
