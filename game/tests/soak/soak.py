#!/usr/bin/python3
"""The soak: the real program played round after round by a random player, in one process.

Each round starts at the title, plays for a while (random walks, drops, pauses, sometimes until
the foes win) and ends in one of the ways a player ends a game: Escape, closing the window, or
losing; then the name is typed and confirmed, or the entry is left with Escape, or the window is
closed, and the table is left. The screens are told apart by the same pixel checks as the
end-to-end round (end_to_end.py, whose helpers this reuses). After every round, back at the
title, the program's resident memory is read. At the end the window is closed at the title and
the program must end with status 0.

    soak.py <pimwarden program> <folder for screenshots and the log> [rounds] [seed]

Run it through scripts/soak.sh, which builds the program with AddressSanitizer and keeps the
user's high-score file out of reach. Prints one line per round and a memory summary; exits 1
when the program died, a sanitizer reported anything, a screen did not come, or the memory
kept growing.
"""
import os
import random
import re
import string
import subprocess
import sys
import time

import end_to_end as e2e

PROGRAM, FOLDER = sys.argv[1], sys.argv[2]
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 50
SEED = int(sys.argv[4]) if len(sys.argv) > 4 else random.randrange(1 << 30)

LETTERING = (20, 40, 780, 135)    # the title's white-outlined lettering
BANNER = (150, 10, 650, 95)       # "GAME OVER" in dark red
PROMPT = (300, 270, 500, 294)     # "Enter your name"
FIELD = (295, 308, 505, 323)      # the name field, black
HEADING = (340, 215, 460, 232)    # "- GREATEST PIMS -"

# What a name may hold: letters, digits, punctuation the font draws, and a few keys the field
# must ignore or handle (BackSpace, Left, Right, Delete, Home, End).
NAME_KEYS = list(string.ascii_letters + string.digits) + [
    "minus", "period", "comma", "exclam", "question", "apostrophe", "parenleft", "parenright",
    "BackSpace", "Left", "Right", "Delete", "Home", "End", "space", "Tab", "adiaeresis"]


def dark(r, g, b):
    return r + g + b < 40


def screen_of(im):
    over = e2e.count(im, BANNER, e2e.dark_red) > 1500
    if over and e2e.count(im, PROMPT, e2e.white) > 30 and e2e.count(im, FIELD, dark) > 2000:
        return "name"
    if over and e2e.count(im, HEADING, e2e.white) > 30:
        return "table"
    if over:
        return "over"
    if e2e.count(im, LETTERING, e2e.white) > 500:
        return "title"
    return "play"


def screen():
    """Which screen is shown: title, over (game over, waiting), name, table or play. Two
    screenshots in a row must agree, so that a screen changing under the first is not taken
    for another."""
    now = screen_of(e2e.shot("soak"))
    while True:
        time.sleep(0.05)
        again = screen_of(e2e.shot("soak"))
        if again == now:
            return now
        now = again


def wait_screen(wanted, timeout):
    end = time.time() + timeout
    while True:
        now = screen()
        if now in wanted or time.time() > end:
            return now
        time.sleep(0.15)


def rss_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class Broken(Exception):
    pass


class Player:
    def __init__(self, game, window, rng):
        self.game, self.window, self.rng = game, window, rng
        self.ends = {}
        self.start = None
        self.steps = open(os.path.join(FOLDER, "steps.log"), "w")

    def count(self, what):
        self.ends[what] = self.ends.get(what, 0) + 1
        self.note(what)

    def note(self, what):
        """The player's steps, for reading back a failed round."""
        print("%.2f %s" % (time.time(), what), file=self.steps, flush=True)

    def alive(self):
        if self.game.poll() is not None:
            raise Broken("the program ended with status %s" % self.game.returncode)

    def expect(self, wanted, timeout, what):
        self.alive()
        now = wait_screen(wanted, timeout)
        self.alive()
        if now not in wanted:
            raise Broken("%s: %s did not come (the screen shows %s)" % (what, "/".join(wanted),
                                                                        now))
        return now

    def close(self):
        e2e.close_window(self.window)

    def play_a_while(self, seconds):
        """Random walks, drops and pauses; True when the foes won meanwhile."""
        rng = self.rng
        end = time.time() + seconds
        while time.time() < end:
            action = rng.random()
            if action < 0.25 and self.start is not None:
                # Aimed: above the highest foe, then drop, as a player trying to score.
                im = e2e.shot("aim")
                found = e2e.foes(self.start, im, (0, 135, 800, 600))
                if found:
                    e2e.walk_to(min(found, key=lambda f: f[1])[0], im)
                    e2e.key("space")
            elif action < 0.45:
                direction = rng.choice(["Left", "Right", "a", "d"])
                e2e.xdotool("keydown", direction)
                time.sleep(rng.uniform(0.05, 1.2))
                e2e.xdotool("keyup", direction)
            elif action < 0.8:
                e2e.key(rng.choice(["space", "Down"]))
                time.sleep(rng.uniform(0.0, 0.6))
            elif action < 0.9:
                e2e.key("p")
                time.sleep(rng.uniform(0.05, 1.5))
                e2e.key("p")
            else:
                time.sleep(rng.uniform(0.1, 1.0))
            self.alive()
            if screen() != "play":
                return True
        return False

    def enter_name(self):
        rng = self.rng
        keys = [rng.choice(NAME_KEYS) for _ in range(rng.choice([0, 1, 3, 8, 16, 24]))]
        self.note("typing " + " ".join(keys))
        if keys:
            e2e.xdotool("key", "--delay", "30", *keys)
        ending = rng.random()
        if ending < 0.7:
            self.count("name confirmed")
            e2e.key("Return")
            self.expect({"table"}, 5, "after the name")
            self.leave_table()
        elif ending < 0.85:
            self.count("name left with Escape")
            e2e.key("Escape")
        else:
            self.count("window closed at the name entry")
            self.close()

    def leave_table(self):
        ending = self.rng.random()
        if ending < 0.8:
            e2e.key(self.rng.choice(["space", "Down", "Escape"]))
        else:
            self.count("window closed at the table")
            self.close()

    def round(self):
        rng = self.rng
        self.expect({"title"}, 20, "round start")
        if rng.random() < 0.1:
            e2e.key("f")  # full screen and back
            time.sleep(0.5)
            e2e.key("f")
        e2e.key(rng.choice(["Return", "space"]))
        if wait_screen({"play"}, 3) != "play":
            # A key during the title's fade-in only ends the fade.
            e2e.key("Return")
            self.expect({"play"}, 5, "the game start")
        # The wall before any foe came up, for finding foes.
        self.start = e2e.shot("start") if screen() == "play" else None
        # A fifth of the games are left to the foes: a little play, then nothing until a foe
        # reaches the top.
        until_lost = rng.random() < 0.2
        lost = self.play_a_while(rng.choice([1, 3, 8] if until_lost else [1, 3, 8, 20, 30]))
        if lost or until_lost:
            self.count("played until lost")
            # A drop key pressed just as the table came up leaves it, as it would for a player.
            if self.expect({"over", "name", "table", "title"}, 180,
                           "the foes winning") == "title":
                self.count("table left by a key of the game")
                return
        elif rng.random() < 0.2:
            self.count("window closed in the game")
            self.close()
            return
        else:
            self.count("ended with Escape")
            e2e.key("Escape")
        now = self.expect({"name", "table", "title"}, 30, "the end of the game")
        if now == "title":
            # The game was lost just before the Escape, which then left the table.
            self.count("table left by a key of the game")
            return
        if now == "name":
            self.enter_name()
        else:
            self.count("table without a name")
            self.leave_table()


SANITIZER = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|"
                       r"SUMMARY: (Address|Undefined|Leak)")


def main():
    os.makedirs(FOLDER, exist_ok=True)
    e2e.SHOTS = FOLDER
    rng = random.Random(SEED)
    print("soak: %d rounds, seed %d" % (ROUNDS, SEED), flush=True)
    log_path = os.path.join(FOLDER, "pimwarden.log")
    log = open(log_path, "w")
    game = subprocess.Popen([PROGRAM], stdout=log, stderr=subprocess.STDOUT)
    problems = []
    memory = []
    started = time.time()
    player = None
    try:
        window = int(e2e.xdotool("search", "--sync", "--onlyvisible", "--name",
                                 "^Pim Warden$").split()[0])
        e2e.xdotool("windowfocus", "--sync", str(window))
        player = Player(game, window, rng)
        for n in range(1, ROUNDS + 1):
            begun = time.time()
            player.round()
            player.expect({"title"}, 20, "the title after round %d" % n)
            memory.append(rss_kb(game.pid))
            print("round %2d: %5.1f s, resident %6.1f MB" % (n, time.time() - begun,
                                                            memory[-1] / 1024.0), flush=True)
        player.close()
        try:
            status = game.wait(timeout=60)
        except subprocess.TimeoutExpired:
            status = None
        if status != 0:
            problems.append("closing the window at the title ended the program with status %s"
                            % status)
    except (Broken, subprocess.CalledProcessError) as error:
        problems.append(str(error))
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()
        log.close()
    elapsed = time.time() - started

    with open(log_path, errors="replace") as f:
        reports = [line.rstrip() for line in f if SANITIZER.search(line)]
    if reports:
        problems.append("sanitizer reports in %s:\n  %s" % (log_path, "\n  ".join(reports[:20])))
    if player:
        print("ends: " + ", ".join("%s %d" % kv for kv in sorted(player.ends.items())))
    print("%d rounds in %.0f s" % (len(memory), elapsed))
    # Flat after the first rounds: the program settles (caches, the sanitizer's quarantine)
    # while it first plays; afterwards a round must not keep anything.
    if len(memory) >= 10:
        settled = sorted(memory[4:9])[2]
        last = sorted(memory[-5:])[2]
        growth = last - settled
        print("resident memory: first round %.1f MB, after round 5-9 (median) %.1f MB, last "
              "five rounds (median) %.1f MB, largest %.1f MB" %
              (memory[0] / 1024.0, settled / 1024.0, last / 1024.0, max(memory) / 1024.0))
        if growth > max(settled * 0.10, 16 * 1024):
            problems.append("resident memory grew by %.1f MB after the first rounds" %
                            (growth / 1024.0))
    for p in problems:
        print("FAIL " + p)
    print("soak %s" % ("failed" if problems else "passed"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
