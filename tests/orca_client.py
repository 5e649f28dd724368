"""Plays a short game (the game and the sample pix folder are its arguments) with the screen
reader Orca listening, and checks what a blind player hears, as Orca's debug log has it. Orca
speaks through speech-dispatcher into a null audio device; the game runs in a virtual display
with a window manager, played with the accessibility bus's keys and clicks. Run it in a process
namespace and a D-Bus session of its own: Orca refuses to start beside another Orca of its user.
Exits 0, 1 on a failure, or 77 (a skip, but under VARKOZ_NO_SKIPS) without Orca."""

import os
import pty
import re
import shutil
import subprocess
import sys
import tempfile
import termios
import threading
import time

try:
    import pyatspi
except ImportError:
    pyatspi = None
if pyatspi is None or not all(map(shutil.which, ("orca", "speech-dispatcher", "openbox", "Xvfb"))):
    print("SKIP: Orca, speech-dispatcher, openbox, Xvfb or pyatspi is not installed")
    sys.exit(1 if os.environ.get("VARKOZ_NO_SKIPS") else 77)

TITLE = "    --= VARKOZ 1.0 beta =--"
# What the game announces: a countdown step, the wave's start and end, a count, the score cleared.
ANNOUNCEMENT = re.compile(r"(Get Ready\.\.\. |Starting in\.\.\. )?-?\d+|Wave started|"
                          r"(Hits|Misses): \d+|Wave over\. Precision: \d+%|Score cleared")
said = []  # everything Orca said, in order
heard = 0  # how much of it the play has followed


def fail(message):
    sys.exit(f"FAIL: {message}\nOrca said:\n" + "\n".join(f"  {line!r}" for line in said))


def listen(log):
    pending = b""
    while chunk := os.read(log, 65536):
        *lines, pending = (pending + chunk).split(b"\n")
        for line in lines:
            # Without the full stop that Orca adds, as a pause, after a letter or a digit.
            utterance = re.search(r"SPEECH OUTPUT: '(.*?)\.?'(?: voice=\w+)?\s?\{",
                                  line.decode(errors="replace"))
            if utterance:
                said.append(utterance.group(1))


def wait_for(what, found, timeout=60):
    end = time.time() + timeout
    while time.time() < end:
        if result := found():
            return result
        time.sleep(0.05)
    fail(f"{what} within {timeout} s")


def hear(pattern):
    """Waits for an utterance that matches, after the last one heard, and gives it."""
    def find():
        global heard
        at = next((at for at in range(heard, len(said)) if re.fullmatch(pattern, said[at])), None)
        if at is not None:
            heard = at + 1
            return said[at]
    return wait_for(f"{pattern!r} to be heard", find)


def since(pattern):
    return any(re.fullmatch(pattern, text) for text in said[heard:])


def click(node, dx=None, dy=None):
    """A click at the node's middle, or dx, dy from its corner."""
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + (width // 2 if dx is None else dx),
                                        y + (height // 2 if dy is None else dy), pyatspi.MOUSE_B1C)


def descendants(node):
    for child in filter(None, node):
        yield child
        yield from descendants(child)


def window(title, role):
    return wait_for(f"the {role} {title.strip()!r}", lambda: next(
        (window for app in filter(None, pyatspi.Registry.getDesktop(0)) if app.name == "varkoz"
         for window in filter(None, app) if (window.name, window.getRoleName()) == (title, role)),
        None))


def play(game):
    hear(re.escape(f"{TITLE} frame"))
    hear("Exit push button")
    nodes = list(descendants(window(TITLE, "frame")))
    field = next(node for node in nodes if node.name == "The Varkoz")
    holes = [node for node in nodes if node.name.startswith("Hole")]

    def control(name, role):
        return next(node for node in nodes if (node.name, node.getRoleName()) == (name, role))

    # The player's hands are the mouse, the menus' actions and Tab: under load, Qt's handing of
    # keys to the screen reader and back can reorder a modifier and its key (Alt+S reaching the
    # game as Alt alone opens the menu bar).
    # The countdown (its steps are checked at the end with all that the game announced); in the
    # wave a miss in the field's top left corner, beside every hole, and at once a click on the
    # standing target, until both are heard: one click that finds the target gone on is one
    # more miss, another lands on the miss's bullet hole and counts nothing.
    click(control("Start", "push button"))
    hear("Wave started")

    def shoot():
        click(field, 4, 8)
        standing = [hole for hole in holes if hole.getState().contains(pyatspi.STATE_SHOWING)]
        if standing:
            click(standing[0])
        time.sleep(0.3)
        return since("Hits: 1") and since("Misses: 1") or since("Wave over.*")
    wait_for("a hit and a miss", shoot)
    precision = hear(r"Wave over\. Precision: \d+%")
    control("New Game", "menu item").queryAction().doAction(0)
    hear("Score cleared")

    # About reads as a dialog: its title and its texts (but those of fewer than three words,
    # which Orca leaves out: the web address), the control with the focus; then Tab to OK.
    control("About", "menu item").queryAction().doAction(0)
    about = window("                          About", "dialog")
    summary = hear(re.escape(f"{about.name} dialog ") + ".*")
    texts = [node.name for node in descendants(about)
             if node.getRoleName() == "label" and len(node.name.split()) >= 3]
    if len(texts) < 4 or any(text not in summary for text in texts):
        fail(f"the About window's texts {texts} are not all in its summary")
    hear("Photograph of the maker image")
    pyatspi.Registry.generateKeyboardEvent(23, None, pyatspi.KEY_PRESSRELEASE)  # Tab (evdev)
    hear("OK push button")
    click(next(node for node in descendants(about) if node.name == "OK"))
    hear(re.escape(f"{TITLE} frame"))
    # The countdown again, its number written afresh after falling unseen since the wave began,
    # and the Exit button, which ends the game even then.
    click(control("Start", "push button"))
    hear(r"Starting in\.\.\. 5")
    click(control("Exit", "push button"))
    wait_for("the game's end by Exit", lambda: game.poll() is not None)

    # Each announcement once, nothing else, and no number the countdown did not show: once its
    # window has hidden itself, the number falls on unseen below 0.
    announced = [text for text in said if ANNOUNCEMENT.fullmatch(text)]
    shots = [text for text in announced if text.startswith(("Hits: ", "Misses: "))]
    counts = [[int(text.split()[1]) for text in shots if text.startswith(kind)]
              for kind in ("Hits", "Misses")]
    if not counts[0] or any(each != list(range(1, len(each) + 1)) for each in counts):
        fail(f"counts heard: {shots}")
    expected = ["Get Ready... 5", "4", "Starting in... 3", "2", "1", "Wave started", *shots,
                precision, "Score cleared", "Starting in... 5"]
    if announced[:len(expected)] != expected or announced[len(expected):] not in ([], ["4"]):
        fail(f"announced {announced}, not {expected}")
    hits, misses = map(len, counts)
    if precision != f"Wave over. Precision: {100 * hits // (hits + misses)}%":
        fail(f"{precision!r} after {hits} hits and {misses} misses")
    print("PASS: Orca said, in order:\n" + "\n".join(f"  {line!r}" for line in said))


def main():
    program, pix = sys.argv[1:3]
    work = tempfile.mkdtemp(prefix="varkoz-orca.")
    shutil.copytree(pix, os.path.join(work, "pix"))
    # Orca's settings, speech-dispatcher's socket and configuration: all of this run's own.
    for name in ("HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
        os.environ[name] = os.path.join(work, name.lower())
        os.mkdir(os.environ[name], mode=0o700)
    os.mkdir(os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher"))
    for file, text in (("xdg_config_home/speech-dispatcher/speechd.conf",
                        'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                        'DefaultModule espeak-ng\nAudioOutputMethod "libao"\n'),
                       ("home/.libao", "default_driver=null\n")):
        with open(os.path.join(work, file), "w") as conf:
            conf.write(text)

    # A display that stays as it is when its last client leaves, on a number it finds free.
    chosen, told = os.pipe()
    processes = [subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1024x768x24",
                                   "-nolisten", "tcp", "-noreset"],
                                  pass_fds=[told], stderr=subprocess.DEVNULL)]
    os.close(told)
    with os.fdopen(chosen) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    for command in (["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                    ["openbox", "--sm-disable"]):
        processes.append(subprocess.Popen(command, **quiet))
    # Orca's debug log goes to a terminal, which Python writes to a line at a time.
    log, terminal = pty.openpty()
    mode = termios.tcgetattr(terminal)
    mode[1] &= ~termios.ONLCR
    termios.tcsetattr(terminal, termios.TCSANOW, mode)
    processes.append(subprocess.Popen(["orca", "--debug-file", os.ttyname(terminal)], **quiet))
    threading.Thread(target=listen, args=(log,), daemon=True).start()
    output = open(os.path.join(work, "game.log"), "w+")
    game = None
    try:
        wait_for("Orca", lambda: "Screen reader on" in said)
        game = subprocess.Popen([program], cwd=work, stdout=output, stderr=subprocess.STDOUT,
                                env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        play(game)
    except SystemExit:
        output.seek(0)
        print(output.read())
        raise
    finally:
        # All is heard already: nothing needs to end well, nor may hang. What these started
        # (speech-dispatcher) goes with the process namespace.
        for process in filter(None, [game, *processes]):
            process.kill()
            process.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
