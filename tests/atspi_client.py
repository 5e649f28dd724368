"""Reads the running game's accessibility tree through AT-SPI, as a screen reader would, and
presses the Start button through it. Exits 0 when everything is found, 1 otherwise."""

import sys
import time

import pyatspi

MAIN_TITLE = "    --= VARKOZ 1.0 beta =--"
COUNTDOWN_TITLE = "               START"


def wait_for(find, what, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: {what} did not appear")


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def frame(app, title):
    for window in app:
        if window is not None and window.getRoleName() == "frame" and window.name == title:
            return window
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def named(node, role, name):
    for child in descendants(node):
        if child.getRoleName() == role and child.name == name:
            return child
    return None


def expect(node, role, name):
    found = named(node, role, name)
    if found is None:
        sys.exit(f"FAIL: no {role} named {name!r}")
    print(f"found {role} {name!r}")
    return found


def main():
    app = wait_for(lambda: application(sys.argv[1]), "the game")
    window = wait_for(lambda: frame(app, MAIN_TITLE), "the main window")
    for name in ("Hits", "Misses", "Precision", "Hits:", "Misses:", "Precision:"):
        expect(window, "label", name)
    for number in range(1, 10):
        expect(window, "image", f"Hole {number}")
    field = expect(window, "panel", "Field")
    if "miss" not in field.description:
        sys.exit(f"FAIL: the field's description is {field.description!r}")
    for name in ("File", "New Game", "Exit", "Help", "About"):
        expect(window, "menu item", name)
    expect(window, "push button", "Exit")
    start = expect(window, "push button", "Start")

    # Press Start as assistive technology does: the countdown window comes up.
    actions = start.queryAction()
    press = next(i for i in range(actions.nActions) if actions.getName(i) == "Press")
    actions.doAction(press)
    countdown = wait_for(lambda: frame(app, COUNTDOWN_TITLE), "the countdown window")
    expect(countdown, "label", "Countdown")
    expect(countdown, "label", "Get Ready...")
    print("PASS: the game speaks through AT-SPI")


if __name__ == "__main__":
    main()
