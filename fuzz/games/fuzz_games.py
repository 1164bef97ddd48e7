#!/usr/bin/env python3
"""The game-corruption fuzzer: copies a game folder, damages one to four of its files, plays the
copy headless (the game's walkthrough, or random clicks, keys, drags and waits) and reports every
run that ends by a signal, a sanitizer finding, an exit status the player does not document, or a
hang. Each run is seeded: the same seed damages the same files the same way and plays the same
commands, and a finding keeps its damaged folder, commands and output as the reproducer.

  fuzz_games.py --player build/asan/src/app/taviro-player --seeds 1-200
  fuzz_games.py --player ... --minutes 60 --first-seed 100000     (a long run)
  fuzz_games.py --player ... --replay fuzz-findings/seed-123      (a kept reproducer)
"""
import argparse
import concurrent.futures
import os
import random
import shutil
import signal
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import commands  # noqa: E402
import damage  # noqa: E402
import player_run  # noqa: E402

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RANDOM_COMMANDS = 60


def default_games():
    """The demo game and every fixture game of the tests, with the walkthrough each has."""
    games = [(os.path.join(REPOSITORY, "examples", "demo"),
              os.path.join(REPOSITORY, "tests", "automation", "demo_walkthrough.auto"))]
    fixtures = os.path.join(REPOSITORY, "tests", "projects")
    for name in sorted(os.listdir(fixtures)) if os.path.isdir(fixtures) else []:
        folder = os.path.join(fixtures, name)
        if os.path.isfile(os.path.join(folder, "Config", "General")):
            walkthrough = os.path.join(folder, "walkthrough.auto")
            games.append((folder, walkthrough if os.path.isfile(walkthrough) else None))
    return games


def read_commands(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\r\n") for line in f if line.strip() and not line.startswith("#")]


def plan(seed, games):
    """The game, the commands, the player's options and the random generator of damage that a seed
    stands for. One run in five reads the game as UTF-8, where damaged bytes are invalid text."""
    rng = random.Random(seed)
    game, walkthrough = games[rng.randrange(len(games))]
    if walkthrough and rng.random() < 0.7:
        script = ["keep-going"] + [c for c in read_commands(walkthrough) if c.strip() != "state -"]
    else:
        script = commands.random_commands(rng, RANDOM_COMMANDS)
    options = ["--codepage", "65001"] if rng.random() < 0.2 else []
    return game, commands.with_screenshots(rng, script), options, rng


def run_seed(seed, games, player, findings_folder, hang_seconds):
    game, script, options, rng = plan(seed, games)
    scratch = tempfile.mkdtemp(prefix="taviro-fuzz-%d-" % seed)
    try:
        copy = os.path.join(scratch, "game")
        shutil.copytree(game, copy, symlinks=True)
        damaged = damage.damage_game(rng, copy)
        outcome = player_run.play(player, copy, script, scratch, os.path.join(scratch, "stderr.txt"),
                                  hang_seconds, options=options)
        if outcome.finding:
            keep(seed, game, damaged, script, options, outcome, scratch, findings_folder)
        return seed, os.path.basename(game), damaged, outcome
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def keep(seed, game, damaged, script, options, outcome, scratch, findings_folder):
    """The reproducer: the damaged folder, the commands, the player's output and what was done."""
    folder = os.path.join(findings_folder, "seed-%d" % seed)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copytree(os.path.join(scratch, "game"), os.path.join(folder, "game"), symlinks=True,
                    ignore_dangling_symlinks=True, copy_function=_copy_sparse)
    shutil.copy(os.path.join(scratch, "stderr.txt"), os.path.join(folder, "stderr.txt"))
    with open(os.path.join(folder, "commands.auto"), "w", encoding="utf-8") as f:
        f.write("\n".join(script) + "\n")
    with open(os.path.join(folder, "options"), "w", encoding="utf-8") as f:
        f.write(" ".join(options))
    with open(os.path.join(folder, "finding.txt"), "w", encoding="utf-8") as f:
        f.write("seed %d, game %s, options '%s'\n%s\ndamage:\n" % (seed, game, " ".join(options), outcome))
        f.writelines("  %s\n" % line for line in damaged)


def _copy_sparse(source, target):
    """Copies a file, keeping a 100 MB hole a hole; unreadable files are kept as they are."""
    try:
        size = os.path.getsize(source)
        with open(source, "rb") as f:
            head = f.read(1 << 20)
        with open(target, "wb") as f:
            f.write(head)
            f.truncate(size)
        shutil.copymode(source, target)
    except OSError:
        open(target, "wb").close()


def replay(folder, player, hang_seconds):
    scratch = tempfile.mkdtemp(prefix="taviro-replay-")
    try:
        with open(os.path.join(folder, "options"), encoding="utf-8") as f:
            options = f.read().split()
        outcome = player_run.play(player, os.path.join(folder, "game"),
                                  read_commands(os.path.join(folder, "commands.auto")), scratch,
                                  os.path.join(scratch, "stderr.txt"), hang_seconds, options=options)
        print(outcome)
        with open(os.path.join(scratch, "stderr.txt"), encoding="utf-8", errors="replace") as f:
            sys.stdout.write(f.read()[-4000:])
        return 1 if outcome.finding else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def seed_range(text):
    first, _, last = text.partition("-")
    return range(int(first), int(last or first) + 1)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", required=True, help="the taviro-player program (a sanitizer build)")
    parser.add_argument("--seeds", type=seed_range, help="seeds to run, as FIRST-LAST")
    parser.add_argument("--minutes", type=float, help="run seeds from --first-seed on for this long")
    parser.add_argument("--first-seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--findings", default="fuzz-findings", help="where reproducers are kept")
    parser.add_argument("--hang-seconds", type=float, default=10.0)
    parser.add_argument("--replay", help="a reproducer folder to play again")
    parser.add_argument("--verbose", action="store_true", help="print every run, not only findings")
    args = parser.parse_args()

    if args.replay:
        return replay(args.replay, os.path.abspath(args.player), args.hang_seconds)
    player = os.path.abspath(args.player)
    games = default_games()
    deadline = time.monotonic() + args.minutes * 60 if args.minutes else None
    seeds = iter(args.seeds) if args.seeds else iter(range(args.first_seed, 1 << 62))
    lock = threading.Lock()
    runs, findings, kinds = 0, 0, {}
    stopping = threading.Event()
    # Stopped from outside (interrupt or kill), the runs under way end and the summary still comes.
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, lambda *_: stopping.set())

    def next_seed():
        with lock:
            if stopping.is_set() or (deadline and time.monotonic() >= deadline):
                return None
            return next(seeds, None)

    def worker():
        nonlocal runs, findings
        while (seed := next_seed()) is not None:
            seed, game, damaged, outcome = run_seed(seed, games, player, args.findings, args.hang_seconds)
            with lock:
                runs += 1
                if outcome.finding:
                    findings += 1
                    kinds[outcome.kind] = kinds.get(outcome.kind, 0) + 1
                if outcome.finding or args.verbose:
                    print("seed %d (%s): %s; %s" % (seed, game, outcome, "; ".join(damaged)), flush=True)
                elif runs % 1000 == 0:
                    print("%d damaged games played, %d findings so far" % (runs, findings), flush=True)

    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for future in [pool.submit(worker) for _ in range(args.jobs)]:
            future.result()
    summary = ", ".join("%d %s" % (n, kind) for kind, n in sorted(kinds.items()))
    print("%d damaged games played, %d findings%s" % (runs, findings, " (%s)" % summary if summary else ""))
    if findings:
        print("reproducers kept in %s" % os.path.abspath(args.findings))
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
