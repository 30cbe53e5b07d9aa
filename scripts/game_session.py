#!/usr/bin/python3
"""Starts the game on the current X display and drives it with xdotool, checking what the
window shows.

    game_session.py [--round] [--screenshots DIR] PROGRAM TITLE_PICTURE LOG

Always: the window appears, a key ends the intro and the window shows the title picture, and in
the end Escape quits with status 0 and nothing was logged at critical or error level.
With --round, a short round is played in between: Space starts a game (the screen changes to the
wall), Left walks Pim (the top of the screen changes), Space drops the stone, then Escape ends
the game as lost and Escape again returns to the title screen. The round never confirms a name,
so no high-score file is written. --screenshots saves the title screen and, with --round, the play
screen as DIR/title.jpg and DIR/play.jpg (the README's pictures).

Run inside Xvfb (scripts/with-xvfb.sh). Needs xdotool and python3-pil (its ImageGrab reads the X
screen). The program runs from a scratch working directory, so it finds its data only through
its own location.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab, ImageStat

CAPTION = "Pim Warden"
WIDTH, HEIGHT = 800, 600
# Points of the title picture clear of the texts drawn over it.
SAMPLES = [(x, y) for x in range(40, 800, 80) for y in range(140, 520, 20)]
# Mean difference per channel allowed at those points (texture filtering, 24-bit screen).
TOLERANCE = 6.0
# Pim walks on top of the wall, in this band of the play screen.
PIM_BAND = (0, 0, WIDTH, 130)


class Session:
    def __init__(self, program, picture, log, screenshots=None):
        self.screenshots = screenshots
        self.picture = Image.open(picture).convert("RGB")
        self.log = log
        self.out = open(log, "w")
        self.cwd = tempfile.TemporaryDirectory()
        self.game = subprocess.Popen([os.path.abspath(program)], stdout=self.out, stderr=subprocess.STDOUT,
                                     cwd=self.cwd.name)

    def fail(self, message):
        sys.stderr.write("error: %s\n" % message)
        self.out.flush()
        sys.stderr.write("--- program output (tail) ---\n")
        sys.stderr.write("".join(open(self.log, errors="replace").readlines()[-40:]))
        sys.exit(1)

    def xdotool(self, *args, timeout=20):
        try:
            return subprocess.run(("xdotool",) + args, capture_output=True, text=True,
                                  timeout=timeout, check=True).stdout.split()
        except subprocess.TimeoutExpired:
            self.fail("xdotool %s timed out" % " ".join(args))

    def alive(self):
        if self.game.poll() is not None:
            self.fail("the program ended with status %d" % self.game.returncode)

    def screen(self):
        x, y = self.origin
        return ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).crop((x, y, x + WIDTH, y + HEIGHT))

    def title_difference(self, shot):
        diffs = [sum(abs(a - b) for a, b in zip(shot.getpixel(p), self.picture.getpixel(p))) / 3.0
                 for p in SAMPLES]
        return sum(diffs) / len(diffs)

    def wait_for(self, what, test, seconds=10):
        """Polls the screen until `test(shot)` holds."""
        shot = None
        for _ in range(int(seconds / 0.2)):
            time.sleep(0.2)
            self.alive()
            shot = self.screen()
            if test(shot):
                return shot
        shot.save(self.log + ".png")
        self.fail("%s did not show (screenshot in %s.png)" % (what, self.log))

    def start(self):
        window = self.xdotool("search", "--sync", "--onlyvisible", "--name", "^%s$" % CAPTION)[0]
        # Without a window manager, keys go where the pointer is unless the window has focus.
        self.xdotool("windowfocus", "--sync", window)
        # Classic SDL opens the window at the top left corner, SDL 2 (under sdl12-compat) in
        # the middle of the screen.
        geometry = dict(line.split("=") for line in
                        self.xdotool("getwindowgeometry", "--shell", window))
        self.origin = (int(geometry["X"]), int(geometry["Y"]))

    def title_screen(self):
        return self.wait_for("the title screen",
                             lambda s: self.title_difference(s) <= TOLERANCE)

    def save(self, shot, name):
        if self.screenshots:
            os.makedirs(self.screenshots, exist_ok=True)
            shot.save(os.path.join(self.screenshots, name), quality=85, optimize=True)

    def round(self):
        self.xdotool("key", "space")
        # The play screen is the wall, not the title picture.
        self.wait_for("the play screen", lambda s: self.title_difference(s) > 30)
        time.sleep(0.5)
        before = self.screen().crop(PIM_BAND)
        self.xdotool("keydown", "Left")
        time.sleep(0.8)
        self.xdotool("keyup", "Left")
        moved = ImageStat.Stat(ImageChops.difference(before, self.screen().crop(PIM_BAND))).mean
        if max(moved) < 1.0:
            self.fail("Pim did not move with the Left key")
        self.xdotool("key", "space")  # drops the stone
        time.sleep(0.3)
        self.save(self.screen(), "play.jpg")
        time.sleep(1.7)
        self.alive()
        self.xdotool("key", "Escape")  # the game is lost
        time.sleep(1)
        self.xdotool("key", "Escape")  # back to the title screen

    def quit(self):
        self.xdotool("key", "Escape")
        try:
            status = self.game.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end after Escape")
        if status != 0:
            self.fail("the program ended with status %d after Escape" % status)
        text = open(self.log, errors="replace").read()
        if "(critical)" in text or "(error)" in text:
            self.fail("the program logged a critical message or an error")

    def close(self):
        if self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        self.out.close()
        self.cwd.cleanup()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--round", action="store_true", help="play a short round")
    parser.add_argument("--screenshots", help="folder for title.jpg and play.jpg")
    parser.add_argument("program")
    parser.add_argument("picture", help="the title picture (greatPim.png)")
    parser.add_argument("log", help="where the program's output goes")
    args = parser.parse_args()

    session = Session(args.program, args.picture, args.log, args.screenshots)
    try:
        session.start()
        session.xdotool("key", "space")  # ends the intro: the title screen shows at once
        title = session.title_screen()
        print("title screen shown (difference %.2f)" % session.title_difference(title))
        session.save(title, "title.jpg")
        if args.round:
            session.round()
            session.title_screen()
            print("round played, back on the title screen")
        session.quit()
    finally:
        session.close()
    print("the game started, %sshowed its title screen and ended cleanly"
          % ("played a round, " if args.round else ""))


if __name__ == "__main__":
    main()
