#!/usr/bin/env python3
"""Resident memory of the player during a long random game: its size after 10,000 and after
100,000 random automation commands (clicks, drags, keys, answers, menus, waits) on the demo game,
for several seeds, with the median of the ratios. The target: the later size within 10 % of the
earlier one, so that a long game does not grow without end.

  bench/games/resident_memory.py --player build/bench/src/app/taviro-player [--runs 3]
"""
import argparse
import os
import statistics
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.join(REPOSITORY, "fuzz", "games"))
import soak_games  # noqa: E402
from player_run import resident_kb  # noqa: E402


def measure(player, game, early, late, seed):
    sizes = {}
    marks = {early // soak_games.COMMANDS_PER_STEP: "early", late // soak_games.COMMANDS_PER_STEP: "late"}

    def on_state(step, pid):
        if step in marks:
            sizes[marks[step]] = resident_kb(pid)

    outcome, _, stderr = soak_games.soak(player, game, late, seed, 600.0, on_state)
    if outcome.finding or len(sizes) < 2:
        sys.stderr.write(stderr[-3000:])
        raise SystemExit("seed %d: %s after %d steps" % (seed, outcome, outcome.steps))
    return sizes["early"], sizes["late"]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", required=True, help="a release build of taviro-player")
    parser.add_argument("--game", default=os.path.join(REPOSITORY, "examples", "demo"))
    parser.add_argument("--early", type=int, default=10000)
    parser.add_argument("--late", type=int, default=100000)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()

    ratios = []
    for seed in range(1, args.runs + 1):
        early, late = measure(os.path.abspath(args.player), args.game, args.early, args.late, seed)
        ratios.append(late / early)
        print("seed %d: %d KB after %d commands, %d KB after %d (%+.1f %%)" % (
            seed, early, args.early, late, args.late, (late / early - 1) * 100), flush=True)
    median = statistics.median(ratios)
    print("median growth from %d to %d commands: %+.1f %% (target: within 10 %%)" % (
        args.early, args.late, (median - 1) * 100))
    return 0


if __name__ == "__main__":
    sys.exit(main())
