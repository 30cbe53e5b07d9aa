#!/usr/bin/python3
"""One round of the real program under Xvfb, played with keys typed by xdotool:

title fade, a game, a drop, pause and resume, a foe knocked off (foes and Pim are found on
screenshots), the game lost, a name typed, the table, the title again, and closing the window
in a game and then at the title (status 0). Screenshots are 800 x 600 from the top left, y
downwards. The real ~/.pimwarden/highscores.xml is moved away for the round and put back.

    end_to_end.py <pimwarden program> <folder for screenshots>
"""
import ctypes
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from PIL import ImageChops, ImageGrab

PROGRAM, SHOTS = sys.argv[1], sys.argv[2]
HOME = pwd.getpwuid(os.getuid()).pw_dir
SCORES = os.path.join(HOME, ".pimwarden", "highscores.xml")
NAME = "ZED"

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def key(*names):
    xdotool("key", *names)


def shot(name):
    im = ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).crop((0, 0, 800, 600)).convert("RGB")
    im.save(os.path.join(SHOTS, name + ".png"))
    return im


def count(im, box, test):
    """Pixels in box (x0, y0, x1, y1) for which test(r, g, b) holds."""
    return sum(1 for p in im.crop(box).getdata() if test(*p))


def white(r, g, b):
    return r > 230 and g > 230 and b > 230


def light(r, g, b):
    return min(r, g, b) > 180


def yellow(r, g, b):
    return r > 200 and g > 200 and b < 90


def dark_red(r, g, b):
    return r > 110 and g < 50 and b < 50


def brightness(im):
    data = list(im.resize((80, 60)).getdata())
    return sum(sum(p) for p in data) / (3 * len(data))


def changed(a, b, box):
    diff = ImageChops.difference(a.crop(box), b.crop(box)).convert("L")
    return sum(1 for v in diff.getdata() if v > 40)


SCORE_BOX = (735, 4, 786, 24)


def foes(reference, im, box):
    """Foes inside box as (centre x, top y): green pixels that the reference (the wall before
    any foe came up) does not have, grouped by columns."""
    a, b = reference.crop(box).load(), im.crop(box).load()
    w, h = box[2] - box[0], box[3] - box[1]
    tops = {}
    for x in range(0, w, 2):
        for y in range(0, h, 2):
            r, g, bl = b[x, y]
            if g > 120 and g > r + 40 and g > bl + 60 and sum(
                    abs(u - v) for u, v in zip(a[x, y], b[x, y])) > 90:
                tops[x] = min(tops.get(x, h), y)
    found, run = [], []
    for x in sorted(tops):
        if run and x - run[-1] > 8:
            found.append(run)
            run = []
        run.append(x)
    if run:
        found.append(run)
    return [((r[0] + r[-1]) / 2 + box[0], min(tops[x] for x in r) + box[1])
            for r in found if len(r) >= 3]


def pim_x(im):
    """Pim's x from his red tunic on the walkway."""
    xs = [x for x in range(800) for y in range(55, 105, 3)
          if (lambda p: p[0] > 150 and p[1] < 70 and p[2] < 70)(im.getpixel((x, y)))]
    return sum(xs) / len(xs) if xs else None


def walk_to(target, im):
    for _ in range(6):
        here = pim_x(im)
        if here is None or abs(here - target) < 6:
            return
        direction = "Right" if target > here else "Left"
        xdotool("keydown", direction)
        time.sleep(min(abs(target - here) / 0.2 / 1000.0, 4.0) * 0.9)
        xdotool("keyup", direction)
        time.sleep(0.05)
        im = shot("aim")


def close_window(window):
    """Asks the window to close the way a window manager does (WM_DELETE_WINDOW)."""
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    d = x.XOpenDisplay(None)
    e = Event()
    e.xclient.type = 33  # ClientMessage
    e.xclient.window = window
    e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
    e.xclient.format = 32
    e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
    x.XSendEvent(d, window, 0, 0, ctypes.byref(e))
    x.XFlush(d)
    x.XCloseDisplay(d)


def wait_for(name, ready, timeout):
    """Screenshots until ready(shot) holds or the time is up; the last shot."""
    end = time.time() + timeout
    while True:
        im = shot(name)
        if ready(im) or time.time() > end:
            return im
        time.sleep(0.1)


def play(game):
    window = int(xdotool("search", "--sync", "--onlyvisible", "--name", "^Pim Warden$")
                 .split()[0])
    xdotool("windowfocus", "--sync", str(window))
    started = time.time()

    # The title fades in: dark at first, the picture after a few seconds, then the lettering
    # (black with a white outline) at the top.
    lettering = (20, 40, 780, 135)
    early = shot("title_early")
    time.sleep(max(0.0, started + 2.5 - time.time()))
    middle = shot("title_fading")
    title = wait_for("title", lambda im: count(im, lettering, white) > 500, 15)
    check(brightness(early) + 15 < brightness(middle) < brightness(title) - 15,
          "title fades in (brightness %.0f, %.0f, %.0f)" % (brightness(early), brightness(middle),
                                                            brightness(title)))
    check(count(early, lettering, white) < 50 and count(title, lettering, white) > 500,
          "title lettering is outlined in white once the fade is over")

    # A game starts: the score "0" in white at the top right, the title gone.
    key("Return")
    start = wait_for("play_start", lambda im: count(im, lettering, white) < 100, 5)
    check(count(start, SCORE_BOX, light) > 5, "score shown at the top right")
    check(count(start, lettering, white) < 100, "the title is gone")
    check(pim_x(start) is not None and abs(pim_x(start) - 400) < 10, "Pim stands at x = 400")

    # A stone drops: the held stone leaves Pim's hands and falls.
    # (Polled well within the reload time, while the stone is still on its way down.)
    held, below = (380, 30, 420, 75), (370, 140, 430, 600)
    key("space")
    dropped = wait_for(
        "play_drop",
        lambda im: changed(start, im, held) > 40 and changed(start, im, below) > 40, 1.2)
    check(changed(start, dropped, held) > 40, "the held stone is gone")
    check(changed(start, dropped, below) > 40, "a stone falls below Pim")

    # Pause and resume.
    pause_box = (350, 285, 450, 302)
    before = count(dropped, pause_box, white)
    key("p")
    paused = wait_for("pause", lambda im: count(im, pause_box, white) > before + 30, 3)
    check(count(paused, pause_box, white) > before + 30, "\"P A U S E\" shown")
    time.sleep(0.5)
    still = shot("pause_still")
    check(changed(paused, still, (0, 130, 800, 600)) < 20, "nothing moves while paused")
    key("p")
    resumed = wait_for("resumed", lambda im: count(im, pause_box, white) < before + 10, 3)
    check(count(resumed, pause_box, white) < before + 10, "resumed")

    # Knock a foe off: walk above the highest foe and drop, until the score changes.
    banner = (150, 10, 650, 95)
    scored = lost = False
    last_drop = time.time()
    deadline = time.time() + 40
    while time.time() < deadline:
        im = shot("aim")
        if count(im, lettering, white) > 500:
            break  # lost with no point and back at the title: nothing more to see
        lost = count(im, banner, dark_red) > 1500
        scored = changed(start, im, SCORE_BOX) > 5
        if lost or scored:
            break
        found = foes(start, im, (0, 135, 800, 600))
        if not found:
            time.sleep(0.2)
            continue
        walk_to(min(found, key=lambda f: f[1])[0], im)
        if time.time() - last_drop > 1.8:  # reloaded
            key("space")
            last_drop = time.time()
    if lost and not scored:  # a foe still falling scores after the game is lost
        scored = changed(start, wait_for("aim", lambda im: changed(start, im, SCORE_BOX) > 5, 3),
                         SCORE_BOX) > 5
    check(scored, "a foe was knocked off and scored")
    if not scored:
        return

    # Lose the game (unless a foe has just won it): "GAME OVER" in dark red with a white
    # outline at the top.
    if not lost:
        key("Escape")
    over = wait_for("game_over", lambda im: count(im, banner, dark_red) > 1500, 5)
    check(count(over, banner, dark_red) > 1500 and count(start, banner, dark_red) < 300,
          "game over shown")

    # When everything has fallen: the name entry (prompt and field in the middle).
    prompt, field = (300, 270, 500, 294), (295, 308, 505, 323)
    entry = wait_for("enter_name", lambda im: count(im, prompt, white) > 30, 10)
    check(count(entry, prompt, white) > 30, "\"Enter your name\" shown")
    check(count(entry, field, lambda r, g, b: r + g + b < 40) > 2000, "name field shown")
    xdotool("type", "--delay", "60", NAME)
    typed = wait_for("name_typed", lambda im: count(im, (290, 305, 340, 326), yellow) > 10, 3)
    check(count(typed, (290, 305, 340, 326), yellow) > 10, "typed name shown in the field")
    key("Return")

    # The table: its title, this game's row (the first) in white, the other rows in yellow.
    heading, first_row = (340, 215, 460, 232), (320, 238, 360, 252)
    table = wait_for("table", lambda im: count(im, heading, white) > 30, 3)
    check(count(table, heading, white) > 30, "\"- GREATEST PIMS -\" shown")
    check(count(table, first_row, white) > 15, "the new row is white")
    check(count(table, first_row, yellow) == 0, "the new row is not yellow")
    check(count(table, (290, 254, 317, 390), yellow) > 40, "the other rows are yellow")
    try:
        root = ET.parse(SCORES).getroot()
        entries = root.findall("entry")
        check(root.tag == "highscores" and len(entries) == 10, "table saved with ten rows")
        # A drop pressed just as the game was lost may have typed a space first.
        check(entries[0].get("name").strip() == NAME and int(entries[0].get("score")) >= 1,
              "saved row: %s %s" % (entries[0].get("name"), entries[0].get("score")))
    except (OSError, ET.ParseError) as error:
        check(False, "table saved: %s" % error)

    # Back to the title, shown complete at once.
    key("space")
    back = wait_for("title_again", lambda im: count(im, lettering, white) > 500, 3)
    check(count(back, lettering, white) > 500, "back at the title")

    # Closing the window during a game leaves the game for the title; closing it there ends
    # the program.
    key("Return")
    wait_for("play_again", lambda im: count(im, lettering, white) < 100, 5)
    close_window(window)
    again = wait_for("title_after_close", lambda im: count(im, lettering, white) > 500, 5)
    check(count(again, lettering, white) > 500 and game.poll() is None,
          "closing the window during a game returns to the title")
    close_window(window)
    try:
        status = game.wait(timeout=10)
    except subprocess.TimeoutExpired:
        status = None
    check(status == 0, "closing the window ends the program with status 0 (%s)" % status)


def main():
    os.makedirs(SHOTS, exist_ok=True)
    keep = tempfile.mkdtemp()
    had_scores = os.path.exists(SCORES)
    had_dir = os.path.isdir(os.path.dirname(SCORES))
    if had_scores:
        shutil.move(SCORES, os.path.join(keep, "highscores.xml"))
    log = open(os.path.join(SHOTS, "pimwarden.log"), "w")
    game = subprocess.Popen([PROGRAM], stdout=log, stderr=subprocess.STDOUT)
    try:
        play(game)
    except Exception as error:  # a failed step ends the round, the cleanup below still runs
        check(False, "round broke off: %r" % error)
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
        if not had_dir:
            shutil.rmtree(os.path.dirname(SCORES), ignore_errors=True)
        elif had_scores:
            shutil.move(os.path.join(keep, "highscores.xml"), SCORES)
        elif os.path.exists(SCORES):
            os.remove(SCORES)
        shutil.rmtree(keep, ignore_errors=True)
    print("%d failed checks" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
