"""Plays a game headless through automation fed one step at a time on standard input, and tells
how the run ended. After every wait the player is asked for its state; a player that gives no
state for a while has made no progress on its virtual clock, which only moves while it works
through the commands: that is a hang."""
import json
import os
import queue
import re
import signal
import subprocess
import threading

# Exit statuses the player documents for a run: 0 done, 1 a command or the game could not be carried
# out. (2, a malformed automation line or command line, means the fuzzer itself is wrong.)
DOCUMENTED_STATUSES = {0, 1}
SANITIZER_EXIT_STATUS = 86
FINDING_PATTERNS = [r"ERROR: AddressSanitizer", r"ERROR: LeakSanitizer", r"runtime error:",
                    r"terminate called", r"UndefinedBehaviorSanitizer", r"AddressSanitizer:DEADLYSIGNAL"]
# Longest wait asked of the player in one step; longer waits are split so that a slow but working
# player answers within the hang limit.
LONGEST_STEP_MS = 5000


class Outcome:
    def __init__(self, kind, detail="", clock_ms=None, steps=0):
        self.kind = kind  # "ok", "signal", "sanitizer", "status", "hang"
        self.detail = detail
        self.clock_ms = clock_ms
        self.steps = steps

    @property
    def finding(self):
        return self.kind != "ok"

    def __str__(self):
        text = self.kind + (": " + self.detail if self.detail else "")
        if self.clock_ms is not None:
            text += " (virtual clock %d ms)" % self.clock_ms
        return text


def player_environment(scratch):
    """Dummy video and audio, settings and saved games in a scratch folder, sanitizer findings that
    stop the player with a status of their own."""
    env = dict(os.environ)
    home = os.path.join(scratch, "home")
    os.makedirs(home, exist_ok=True)
    env.update({
        "SDL_VIDEODRIVER": "dummy", "SDL_AUDIODRIVER": "dummy", "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "XDG_DOCUMENTS_DIR": os.path.join(home, "Documents"),
        "ASAN_OPTIONS": "exitcode=%d:detect_leaks=1:abort_on_error=0:hard_rss_limit_mb=3000"
                        % SANITIZER_EXIT_STATUS,
        "UBSAN_OPTIONS": "halt_on_error=1:print_stacktrace=1:exitcode=%d" % SANITIZER_EXIT_STATUS,
    })
    return env


def steps_of(commands, commands_per_step=None):
    """Groups the commands into steps, each ending with a state request. By default a step ends at
    every wait, and long waits are split; with commands_per_step, a step is that many commands."""
    steps, current = [], []
    for command in commands:
        words = command.split()
        if commands_per_step:
            current.append(command)
            if len(current) >= commands_per_step:
                steps.append(current + ["state -"])
                current = []
        elif words and words[0] == "wait" and len(words) == 2 and words[1].isdigit():
            remaining = int(words[1])
            while True:
                part = min(remaining, LONGEST_STEP_MS)
                current += ["wait %d" % part, "state -"]
                steps.append(current)
                current = []
                remaining -= part
                if remaining <= 0:
                    break
        else:
            current.append(command)
            if command.strip() == "state -":
                steps.append(current)
                current = []
    if current:
        steps.append(current + ["state -"])
    return steps


def _read_states(stream, states):
    """Puts the virtual clock of each state dump on the queue, then None at the end of output."""
    lines = []
    for raw in stream:
        line = raw.decode("utf-8", "replace")
        if line.startswith("{"):
            lines = [line]
        elif lines:
            lines.append(line)
            if line.startswith("}"):
                try:
                    states.put(json.loads("".join(lines)).get("clock_ms"))
                except ValueError:
                    states.put(-1)  # a state that is not JSON is still an answer
                lines = []
    states.put(None)


def resident_kb(pid):
    """The resident memory of a process in kilobytes, or None when it has gone."""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def play(player, game, commands, scratch, stderr_path, hang_seconds=10.0, on_state=None,
         commands_per_step=None, options=()):
    """Runs the player on the game with the commands; the outcome. on_state(step, pid) runs after
    each answered step (for measurements); commands_per_step as for steps_of; options go on the
    player's command line."""
    env = player_environment(scratch)
    with open(stderr_path, "wb") as stderr:
        process = subprocess.Popen([player, "--headless", *options, "--autoplay", "-", game], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=stderr, env=env, cwd=scratch,
                                   start_new_session=True)
        states = queue.Queue()
        reader = threading.Thread(target=_read_states, args=(process.stdout, states), daemon=True)
        reader.start()
        clock_ms, done_steps, hang = None, 0, None
        ended = False
        for step in steps_of(commands, commands_per_step):
            try:
                process.stdin.write(("\n".join(step) + "\n").encode("utf-8"))
                process.stdin.flush()
            except (BrokenPipeError, OSError):
                break
            expected = sum(1 for c in step if c.strip() == "state -")
            for _ in range(expected):
                try:
                    answer = states.get(timeout=hang_seconds)
                except queue.Empty:
                    hang = "no state for %g s after step %d: %s" % (hang_seconds, done_steps + 1,
                                                                     " | ".join(step[:-1])[:200])
                    break
                if answer is None:
                    ended = True
                    break
                clock_ms = answer
            if hang or ended:
                break
            done_steps += 1
            if on_state:
                on_state(done_steps, process.pid)
        try:
            process.stdin.close()
        except OSError:
            pass
        if not hang:
            try:
                process.wait(timeout=hang_seconds * 3)
            except subprocess.TimeoutExpired:
                hang = "did not end within %g s of its last command" % (hang_seconds * 3)
        if hang:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        reader.join(timeout=5)
    return _classify(process.returncode, stderr_path, hang, clock_ms, done_steps)


def _classify(status, stderr_path, hang, clock_ms, steps):
    with open(stderr_path, "rb") as f:
        text = f.read().decode("utf-8", "replace")
    if hang:
        return Outcome("hang", hang, clock_ms, steps)
    finding = next((m.group(0)[:200] for m in (re.search(p + r".*", text) for p in FINDING_PATTERNS) if m), "")
    if status < 0:
        name = signal.Signals(-status).name
        return Outcome("signal", name + (" after: " + finding if finding else ""), clock_ms, steps)
    if finding:
        return Outcome("sanitizer", finding, clock_ms, steps)
    if status not in DOCUMENTED_STATUSES:
        return Outcome("status", "exit status %d" % status, clock_ms, steps)
    return Outcome("ok", "exit status %d" % status, clock_ms, steps)
