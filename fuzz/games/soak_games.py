#!/usr/bin/env python3
"""The random-input soak: plays undamaged games headless through many random automation commands
(clicks, double clicks, drags, keys with modifiers, answers, menu commands, waits of up to a minute
of game time) and fails on a signal, a sanitizer finding, an undocumented exit status, a hang, or a
player that ends before its commands do. Seeded: the same seed plays the same commands.

  soak_games.py --player build/asan/src/app/taviro-player --commands 10000 --seed 1 examples/demo
"""
import argparse
import os
import random
import shutil
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import commands  # noqa: E402
import player_run  # noqa: E402

# The state is asked for (and progress checked) once per this many commands.
COMMANDS_PER_STEP = 250


def soak(player, game, count, seed, hang_seconds, on_state=None):
    """Plays count random commands on a copy of the game; the outcome and the standard error."""
    rng = random.Random(seed)
    script = commands.random_commands(rng, count, quits=False)
    scratch = tempfile.mkdtemp(prefix="taviro-soak-")
    try:
        copy = os.path.join(scratch, "game")
        shutil.copytree(game, copy, symlinks=True)
        stderr_path = os.path.join(scratch, "stderr.txt")
        outcome = player_run.play(player, copy, script, scratch, stderr_path, hang_seconds, on_state,
                                  COMMANDS_PER_STEP)
        with open(stderr_path, encoding="utf-8", errors="replace") as f:
            stderr = f.read()
        return outcome, script, stderr
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", required=True)
    parser.add_argument("--commands", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--hang-seconds", type=float, default=120.0,
                        help="longest real time for one step of %d commands" % COMMANDS_PER_STEP)
    parser.add_argument("games", nargs="+")
    args = parser.parse_args()

    failed = False
    for game in args.games:
        started = time.monotonic()
        outcome, script, stderr = soak(os.path.abspath(args.player), game, args.commands, args.seed,
                                       args.hang_seconds)
        expected_steps = len(player_run.steps_of(script, COMMANDS_PER_STEP))
        finished = outcome.steps == expected_steps and not outcome.finding
        print("%s: %d commands, seed %d: %s after %d of %d steps, %.0f s" % (
            game, args.commands, args.seed, outcome, outcome.steps, expected_steps,
            time.monotonic() - started), flush=True)
        if not finished:
            failed = True
            sys.stdout.write(stderr[-6000:])
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
