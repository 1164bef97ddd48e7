#!/usr/bin/env python3
"""The game checker on damaged games: copies the demo game, damages one to four of its files (as the
game-corruption fuzzer does), runs taviro-player --check on the copy and reports every run that ends
by a signal, a sanitizer finding, an exit status other than 0, 1 or 2, a hang, or a change made to
the game folder. Each seed damages the same files the same way.

  check_games.py --player build/asan/src/app/taviro-player --seeds 1-200
"""
import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no cache folders in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import damage  # noqa: E402

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def fingerprint(root):
    """Names, kinds and contents of everything in the folder, without following links."""
    digest = hashlib.sha256()
    for folder, folders, files in sorted(os.walk(root)):
        folders.sort()
        for name in sorted(files) + folders:
            path = os.path.join(folder, name)
            digest.update(path.encode("utf-8", "surrogateescape"))
            if os.path.islink(path):
                digest.update(os.readlink(path).encode("utf-8", "surrogateescape"))
            elif os.path.isfile(path) and os.access(path, os.R_OK):
                with open(path, "rb") as f:
                    digest.update(f.read())
    return digest.hexdigest()


def run_seed(player, seed, hang_seconds):
    scratch = tempfile.mkdtemp(prefix="taviro-check-%d-" % seed)
    try:
        copy = os.path.join(scratch, "game")
        shutil.copytree(os.path.join(REPOSITORY, "examples", "demo"), copy, symlinks=True)
        damaged = damage.damage_game(random.Random(seed), copy)
        before = fingerprint(copy)
        env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1", UBSAN_OPTIONS="halt_on_error=1")
        try:
            run = subprocess.run([player, "--check", "--json", copy], capture_output=True, timeout=hang_seconds,
                                 env=env)
        except subprocess.TimeoutExpired:
            return "hang", damaged
        stderr = run.stderr.decode("utf-8", "replace")
        if run.returncode not in (0, 1, 2):
            return "exit status %d: %s" % (run.returncode, stderr[-2000:]), damaged
        if "Sanitizer" in stderr or "runtime error" in stderr:
            return "sanitizer: " + stderr[-2000:], damaged
        if fingerprint(copy) != before:
            return "the game folder changed", damaged
        return None, damaged
    finally:
        for folder, folders, _ in os.walk(scratch):
            for name in folders:
                try:
                    os.chmod(os.path.join(folder, name), 0o755)
                except OSError:
                    pass
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", required=True)
    parser.add_argument("--seeds", default="1-200", help="a range FIRST-LAST")
    parser.add_argument("--hang-seconds", type=float, default=30)
    args = parser.parse_args()
    first, last = (int(part) for part in args.seeds.split("-"))
    findings = 0
    for seed in range(first, last + 1):
        finding, damaged = run_seed(args.player, seed, args.hang_seconds)
        if finding:
            findings += 1
            print("seed %d: %s\n  damage: %s" % (seed, finding, "; ".join(damaged)), flush=True)
    print("%d seeds, %d findings" % (last - first + 1, findings))
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
