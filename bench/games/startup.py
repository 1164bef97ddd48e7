#!/usr/bin/env python3
"""Start-up of the player in a real window: the time from the command to the welcome window on
screen, and the resident memory then and one second later, under Xvfb. Targets: 150 ms or less and
under 100 MB for the demo game. Prints the median of several runs, and where the memory goes (the
largest mappings of the process).

  bench/games/startup.py --player build/bench/src/app/taviro-player [--runs 7]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.normpath(os.path.join(HERE, "..", ".."))


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def largest_mappings(pid, count=8):
    """Resident kilobytes per mapped file (or kind of anonymous memory), largest first."""
    sizes = {}
    name = None
    with open("/proc/%d/smaps" % pid) as smaps:
        for line in smaps:
            fields = line.split()
            if len(fields) >= 5 and "-" in fields[0] and ":" in fields[3]:
                name = fields[5] if len(fields) > 5 else "[anonymous]"
            elif fields and fields[0] == "Rss:":
                sizes[name] = sizes.get(name, 0) + int(fields[1])
    return sorted(sizes.items(), key=lambda item: -item[1])[:count]


def window_shown(display, title):
    out = subprocess.run(["xwininfo", "-root", "-tree"], env=dict(os.environ, DISPLAY=display),
                         capture_output=True, text=True).stdout
    return ('"%s"' % title) in out


def one_run(player, game, display, title, home):
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", HOME=home)
    env.pop("SDL_VIDEODRIVER", None)
    start = time.monotonic()
    process = subprocess.Popen([player, game], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not window_shown(display, title):
            if process.poll() is not None or time.monotonic() - start > 10:
                raise SystemExit("the welcome window never appeared")
        shown_ms = (time.monotonic() - start) * 1000
        at_show = resident_kb(process.pid)
        time.sleep(1)
        return shown_ms, at_show, resident_kb(process.pid), largest_mappings(process.pid)
    finally:
        process.kill()
        process.wait()


def start_xvfb(display):
    """Xvfb on the display given, or on one it finds free (a stale lock file of another run makes a
    fixed number fail); the server and its display name."""
    if display:
        server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return server, display
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as chosen:
        number = chosen.readline().strip()
    if not number:
        raise SystemExit("Xvfb did not start")
    return server, ":" + number


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--player", required=True, help="a release build of taviro-player")
    parser.add_argument("--game", default=os.path.join(REPOSITORY, "examples", "demo"))
    parser.add_argument("--title", default="The Taviro Demo", help="the caption of the welcome window")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--display", help="the X display to start Xvfb on (a free one when not given)")
    args = parser.parse_args()

    server, args.display = start_xvfb(args.display)
    try:
        # The server answers once it is up; a loaded machine may take longer than a second.
        deadline = time.monotonic() + 10
        while subprocess.run(["xwininfo", "-root"], env=dict(os.environ, DISPLAY=args.display),
                             capture_output=True).returncode != 0:
            if server.poll() is not None or time.monotonic() > deadline:
                raise SystemExit("Xvfb did not start on %s" % args.display)
            time.sleep(0.05)
        with tempfile.TemporaryDirectory() as home:
            one_run(args.player, args.game, args.display, args.title, home)  # warms the file caches
            runs = [one_run(args.player, args.game, args.display, args.title, home) for _ in range(args.runs)]
    finally:
        server.kill()
    print("welcome window on screen: median %.0f ms (runs: %s)" %
          (statistics.median(r[0] for r in runs), ", ".join("%.0f" % r[0] for r in runs)))
    print("resident memory when shown: median %.1f MB; one second later: median %.1f MB" %
          (statistics.median(r[1] for r in runs) / 1024, statistics.median(r[2] for r in runs) / 1024))
    print("largest parts one second after start (last run):")
    for name, kb in runs[-1][3]:
        print("  %7.1f MB  %s" % (kb / 1024, name))


if __name__ == "__main__":
    main()
