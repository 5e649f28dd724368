"""Plays a short game through AT-SPI, as a screen reader and its user would: reads the windows,
listens for the changes the game announces, presses Start through its action, shoots with the
accessibility bus's own mouse and starts a new game from the menu. Run inside a D-Bus session
(dbus-run-session), it starts a virtual X display (Xvfb, on a display number the server itself
finds free, so that runs side by side never meet), the accessibility bus and the game (the first
argument) in a copy of the sample pix folder (the second). Exits 0 when everything was
read and heard, 1 otherwise, and 77 (a skip, unless VARKOZ_NO_SKIPS is set) without the client."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    print("SKIP: the AT-SPI client is not installed (Debian package python3-pyatspi)")
    sys.exit(1 if os.environ.get("VARKOZ_NO_SKIPS") else 77)

heard = []  # (the label whose name changed, the new name)


def fail(message):
    sys.exit(f"FAIL: {message}")


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def find(node, role, name=None, where=lambda found: True):
    return next((child for child in descendants(node) if child.getRoleName() == role
                 and name in (None, child.name) and where(child)), None)


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def beside(caption):
    """The label to the right of the caption, in its row: the value it names."""
    x, y, width, _ = extents(caption)
    return lambda label: extents(label)[1] == y and extents(label)[0] > x + width


def wait_for(what, found, timeout=30.0):
    """Runs the client's event loop until found() gives something, and gives that."""
    context = GLib.MainContext.default()
    end = time.time() + timeout
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        result = found()
        if result:
            return result
        time.sleep(0.05)
    fail(f"{what} within {timeout:.0f} s; heard {heard}")


def on_name_changed(event):
    if event.source.getRoleName() == "label":
        # Qt sends the object itself along, not its new name: the client asks for that.
        heard.append((event.source, event.source.name))


def click(node, dx=None, dy=None):
    """A click of the bus's mouse on the node: at its middle, or dx, dy from its corner."""
    x, y, width, height = extents(node)
    dx, dy = (width / 2, height / 2) if dx is None else (dx, dy)
    pyatspi.Registry.generateMouseEvent(int(x + dx), int(y + dy), pyatspi.MOUSE_B1C)


def press(button):
    button.queryAction().doAction(0)  # a push button's first action is Press


def running(name):
    return next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == name), None)


def play(name, game):
    app = wait_for("the game", lambda: running(name))
    window = wait_for("the main window", lambda: find(app, "frame", "    --= VARKOZ 1.0 beta =--"))
    values = {caption: find(window, "label", where=beside(find(window, "label", caption)))
              for caption in ("Hits:", "Misses:", "Precision:")}
    if [value and value.name for value in values.values()] != ["", "", ""]:
        fail(f"not an empty value beside each caption: {values}")
    field = find(window, "panel", "The Varkoz") or fail("no panel named by its caption")
    if "miss" not in field.description:
        fail(f"the field's description is {field.description!r}")

    pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")
    press(find(window, "push button", "Start"))
    countdown = wait_for("the countdown window", lambda: find(app, "frame", "               START"))
    number = find(countdown, "label", "5") or fail("no number 5 in the countdown")
    wait_for("the countdown to 1", lambda: (number, "1") in heard)

    # A miss beside the targets as soon as the wave runs, then a hit on any target of the wave:
    # a press that finds the target gone on is one more miss.
    def wave():
        return field.getState().contains(pyatspi.STATE_ENABLED)
    wait_for("the wave", wave)
    click(field, 93, 56)  # the gap between the first two holes
    wait_for("a miss", lambda: (values["Misses:"], "1") in heard)

    def shoot():
        hole = find(window, "image", where=lambda h: h.name.startswith("Hole")
                    and h.getState().contains(pyatspi.STATE_SHOWING))
        if hole is not None and wave():
            click(hole)
        return (values["Hits:"], "1") in heard
    wait_for("a hit", shoot)
    precision = wait_for("the precision", lambda: re.fullmatch(r"\d+%", values["Precision:"].name))
    hits, misses = int(values["Hits:"].name), int(values["Misses:"].name)
    if precision.group() != f"{100 * hits // (hits + misses)}%":
        fail(f"precision {precision.group()} for {hits} hits and {misses} misses")

    find(window, "menu item", "New Game").queryAction().doAction(0)
    wait_for("the score cleared", lambda: all(value.name == "" for value in values.values())
             and all((value, "") in heard for value in values.values()))

    press(find(window, "push button", "Exit"))
    wait_for("the program's end", lambda: game.poll() is not None)
    print("PASS: the game speaks through AT-SPI, is played through it, and ends by its Exit button")


def main():
    program, pix = sys.argv[1:3]
    work = tempfile.mkdtemp()
    shutil.copytree(pix, os.path.join(work, "pix"))
    # The display stays as it is when its last client leaves: a server that resets then refuses
    # whoever connects meanwhile, such as the game.
    chosen, told = os.pipe()
    display = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1024x768x24",
                                "-nolisten", "tcp", "-noreset"],
                               pass_fds=[told], stderr=subprocess.DEVNULL)
    os.close(told)
    with os.fdopen(chosen) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = open(os.path.join(work, "game.log"), "w+")
    game = subprocess.Popen([program], cwd=work, stdout=log, stderr=subprocess.STDOUT, env=dict(
        os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        play(os.path.basename(program), game)
    except SystemExit:
        log.seek(0)
        print(log.read())
        raise
    finally:
        game.kill()
        bus.terminate()  # which takes its own bus down with it
        bus.wait()
        display.terminate()
        display.wait()
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
