"""Random automation commands, as a restless player gives them: clicks, double clicks, drags of
items, keys with modifiers, answers to boxes, menu commands and waits of up to a minute of game
time. The commands that name something on the screen (press, menu) may find nothing; the script
starts with keep-going so that such a command is logged and play goes on."""

KEYS = ["Escape", "Return", "Space", "Tab", "Up", "Down", "Left", "Right", "Home", "End", "Delete",
        "Backspace", "F1", "F9", "F10", "F11", "F12", "A", "L", "Q", "S", "Z", "1", "9"]
MODIFIERS = [[], [], [], ["ctrl"], ["shift"], ["alt"], ["ctrl", "shift"], ["ctrl", "alt"]]
ANSWERS = ["OK", "Cancel", "Yes", "No"]
MENUS = ["Options/Disable Transitions", "Options/Disable Real-Time Effects", "Load game...",
         "Save game...", "Debug/Go to another frame/Cancel", "Debug/View variables status...",
         "Options/Toggle Full-Screen \\/ Windowed Mode"]
PRESSES = ["Start New Game", "Load Game", "OK", "Cancel", "Yes", "No"]
INPUTS = ["1", "Hall", "save one", "x" * 300, "\u00e9t\u00e9", "\"|,"]

# Headless play draws only for a screenshot: taking one now and then draws every picture and text.
# The player runs in a scratch folder of its own, where the file lands.
SCREENSHOT = "screenshot shot.png"

# The inventory bar's icons sit along the top of the scene; drags start there more often.
ICON_ROW = [(26 + 42 * i, 26) for i in range(6)]


def _point(rng, width, height):
    if rng.random() < 0.05:
        return rng.randrange(width + 40), rng.randrange(height + 40)  # now and then off the scene
    return rng.randrange(width), rng.randrange(height)


def random_command(rng, width=640, height=480, quits=True):
    """One command; without quits, none that asks the game to end (Exit, Ctrl+Q)."""
    roll = rng.random()
    x, y = _point(rng, width, height)
    if roll < 0.30:
        return "click %d %d%s" % (x, y, " right" if rng.random() < 0.15 else "")
    if roll < 0.38:
        return "dblclick %d %d" % (x, y)
    if roll < 0.48:
        start = rng.choice(ICON_ROW) if rng.random() < 0.6 else _point(rng, width, height)
        return "drag %d %d %d %d" % (start[0], start[1], x, y)
    if roll < 0.53:
        return "move %d %d" % (x, y)
    if roll < 0.63:
        key, modifiers = rng.choice(KEYS), rng.choice(MODIFIERS)
        if key == "Q" and "ctrl" in modifiers and not quits:
            modifiers = []
        return " ".join(["key", key] + modifiers)
    if roll < 0.70:
        return "answer " + rng.choice(ANSWERS)
    if roll < 0.73:
        return "menu " + rng.choice(MENUS + ["Exit"] if quits else MENUS)
    if roll < 0.76:
        return "press " + rng.choice(PRESSES)
    if roll < 0.78:
        return "input " + rng.choice(INPUTS) if rng.random() < 0.8 else "input-cancel"
    if roll < 0.80:
        return "down %d %d" % (x, y) if rng.random() < 0.5 else "up %d %d" % (x, y)
    if roll < 0.805:
        return SCREENSHOT
    # Waits: mostly a moment, sometimes long enough for timers, now and then a minute.
    duration = rng.choice([0, 10, 100, 250, 500, 1000, 2000, 2000, 5000]) if rng.random() < 0.9 \
        else rng.randrange(60001)
    return "wait %d" % duration


def with_screenshots(rng, script, count=2):
    """The script with screenshots at random places after its first command."""
    script = list(script)
    for _ in range(count):
        script.insert(rng.randint(1, len(script)), SCREENSHOT)
    return script


def random_commands(rng, count, width=640, height=480, quits=True):
    """keep-going, then count commands. Without quits the game starts at once, so that no click
    lands on the welcome window's Exit button either."""
    start = [] if quits else ["press Start New Game"]
    return ["keep-going"] + start + [random_command(rng, width, height, quits) for _ in range(count)]
