#!/usr/bin/python3
"""The options pane of the real program under Xvfb, driven with xdotool.

Round 1: O opens the pane, drop becomes X, Escape closes and saves settings.xml, then in a game
Space no longer drops the stone and X does. Round 2, after a restart: X still drops it. The rounds
run in a private mount namespace over an empty home; without one, the real settings.xml and
highscores.xml are moved away and put back.

    options_end_to_end.py <pimwarden program> <folder for screenshots>
"""
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "game"))
import end_to_end as e2e  # noqa: E402  (the round of the game's own end-to-end test)

PROGRAM, SHOTS = sys.argv[1], sys.argv[2]
HOME = pwd.getpwuid(os.getuid()).pw_dir
USER_DIR = os.path.join(HOME, ".pimwarden")
SETTINGS = os.path.join(USER_DIR, "settings.xml")
ISOLATED = "PIMWARDEN_OPTIONS_E2E_HOME"

check = e2e.check
STONE = (384, 32, 418, 62)
LETTERING = (20, 40, 780, 135)
HINT = (560, 4, 796, 26)
PANE = (200, 100, 600, 500)


def start_program(log_name):
    log = open(os.path.join(SHOTS, log_name), "w")
    game = subprocess.Popen([PROGRAM], stdout=log, stderr=subprocess.STDOUT)
    window = int(e2e.xdotool("search", "--sync", "--onlyvisible", "--name", "^Pim Warden$")
                 .split()[0])
    e2e.xdotool("windowfocus", "--sync", str(window))
    return game, window


def end_program(game, window, what):
    """Closes the window twice: closing it during a game only leaves the game."""
    e2e.close_window(window)
    time.sleep(1)
    e2e.close_window(window)
    try:
        status = game.wait(timeout=10)
    except subprocess.TimeoutExpired:
        status = None
    check(status == 0, "%s: closing the window ends the program with status 0 (%s)"
          % (what, status))


def start_game(prefix):
    """From the title: a game starts; the shot of its first moments."""
    e2e.key("Return")
    return e2e.wait_for(prefix + "_play", lambda im: e2e.count(im, LETTERING, e2e.white) < 100, 5)


def stone_held(im):
    """Whether Pim holds a stone over his head: its pale grey-beige pixels are there (a dropped
    stone comes back after about 1.7 seconds)."""
    return e2e.count(im, STONE, lambda r, g, b: r > 140 and g > 130 and b > 95 and r - b < 90
                     and abs(r - g) < 30) > 60


def x_drops_the_stone(start, prefix):
    check(stone_held(start), prefix + ": Pim holds a stone")
    e2e.key("x")
    dropped = e2e.wait_for(prefix + "_x", lambda im: not stone_held(im), 1.2)
    check(not stone_held(dropped), prefix + ": X drops the stone")


def round_one():
    game, window = start_program("round1.log")
    e2e.key("Return")  # ends the fade
    title = e2e.wait_for("r1_title", lambda im: e2e.count(im, LETTERING, e2e.white) > 500, 5)
    check(e2e.count(title, HINT, e2e.white) > 30, "the hint line is shown at the top right")

    e2e.key("o")
    pane = e2e.wait_for("r1_pane", lambda im: e2e.changed(title, im, PANE) > 20000, 3)
    check(e2e.changed(title, pane, PANE) > 20000, "O opens the options pane")
    # Music, effects, full screen, left, right, drop: Return arms the captor, X is taken.
    e2e.key("Down", "Down", "Down", "Down", "Down", "Return")
    time.sleep(0.2)
    e2e.key("x")
    time.sleep(0.2)
    e2e.shot("r1_rebound")
    e2e.key("Escape")
    closed = e2e.wait_for("r1_closed", lambda im: e2e.changed(title, im, PANE) < 2000, 3)
    check(e2e.changed(title, closed, PANE) < 2000, "Escape closes the pane")
    time.sleep(0.2)
    try:
        drop = [t for e in ET.parse(SETTINGS).getroot().findall("inputEvaluator")
                for t in e.findall("trigger") if t.get("name") == "drop"]
        keys = [k.get("key") for k in drop[0].findall("keyTranslator")] if drop else None
        check(keys == ["x"], "settings.xml gives drop the key X only (%s)" % keys)
    except (OSError, ET.ParseError) as error:
        check(False, "settings.xml saved: %s" % error)

    start = start_game("r1")
    e2e.key("space")
    time.sleep(0.5)
    check(stone_held(e2e.shot("r1_space")), "Space no longer drops the stone")
    x_drops_the_stone(start, "round 1")
    end_program(game, window, "round 1")


def round_two():
    game, window = start_program("round2.log")
    e2e.key("Return")  # ends the fade
    e2e.wait_for("r2_title", lambda im: e2e.count(im, LETTERING, e2e.white) > 500, 5)
    x_drops_the_stone(start_game("r2"), "after a restart")
    end_program(game, window, "round 2")


def rounds():
    try:
        round_one()
        round_two()
    except Exception as error:  # a failed step ends the rounds; the caller cleans up
        check(False, "rounds broke off: %r" % error)
    print("%d failed checks" % len(e2e.failures), flush=True)
    return 1 if e2e.failures else 0


def with_files_kept_aside():
    keep = tempfile.mkdtemp()
    had_dir = os.path.isdir(USER_DIR)
    names = ["settings.xml", "highscores.xml"]
    kept = [n for n in names if os.path.exists(os.path.join(USER_DIR, n))]
    for n in kept:
        shutil.move(os.path.join(USER_DIR, n), os.path.join(keep, n))
    try:
        return rounds()
    finally:
        for n in names:
            if os.path.exists(os.path.join(USER_DIR, n)):
                os.remove(os.path.join(USER_DIR, n))
        for n in kept:
            shutil.move(os.path.join(keep, n), os.path.join(USER_DIR, n))
        if not had_dir and os.path.isdir(USER_DIR) and not os.listdir(USER_DIR):
            os.rmdir(USER_DIR)
        shutil.rmtree(keep, ignore_errors=True)


def main():
    os.makedirs(SHOTS, exist_ok=True)
    if os.environ.get(ISOLATED):
        check(not os.listdir(HOME), "the rounds run over an empty home")
        return rounds()
    try:
        probe = subprocess.run(["unshare", "--mount", "--propagation", "private", "mount",
                                "--bind", "/", "/mnt"], capture_output=True).returncode
    except OSError:
        probe = None
    if probe != 0:
        print("no private mount namespace; the real files are kept aside", flush=True)
        return with_files_kept_aside()
    home = tempfile.mkdtemp()
    try:
        script = 'mount --bind "$1" "$2" && shift 2 && exec "$@"'
        return subprocess.run(
            ["unshare", "--mount", "--propagation", "private", "sh", "-c", script, "sh", home,
             HOME, "env", ISOLATED + "=" + home, sys.executable, os.path.abspath(__file__),
             PROGRAM, SHOTS]).returncode
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
