#!/usr/bin/env python3
"""Writes the data files of the demo game (examples/demo) in the editor's format: project
information, interface texts, variables, for each frame its settings, texts, hotspots, actions,
items to pick up and dialogue, and the inventory items with their combinations. Run it again after
changing the game here; the pictures come from make-demo-pictures.sh."""
import os

DEMO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")
SEPARATOR = "----- SEPARATOR -----"
UNITS = 15  # editor units per pixel
BUTTERFLY_LEFT = 252  # where the garden's butterfly starts, in pixels (its picture's left edge)


def field(value):
    if isinstance(value, bool):
        return "#TRUE#" if value else "#FALSE#"
    if isinstance(value, str):
        return '"%s"' % value
    return str(value)


def line(*values):
    return ",".join(field(v) for v in values) + "\r\n"


def write(relative, text):
    path = os.path.join(DEMO, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="", encoding="cp1252") as out:
        out.write(text)


def general():
    return (line("TaviroDemo", "", "The Taviro Demo", 1, "Hall", "Version 0.1", 640, 480,
                 "The Taviro Player team", "demo@example.org", "www.example.org")
            + line(0) + line(0, 0, 0, "[default]") + line(0, 0, 0, False, False, 0)
            + line("'", 0, 10, 10, True, True, True, True, True, False, "DEFAULT", "DEFAULT", 0, 0, 0, "DEFAULT")
            + line(0, 0, True) + line(0, False, False) + line(0, False) + line(False) + line(False)
            + line(0, 0, 0, False, "", False, "") + line(False) + line(0) + line(False)
            + line(False, "", "DEFAULT") + line(True, False, False))


def frame_settings(picture, timer_to="", timer_ms=0, script="", channels=(), fade_ms=0, plugin=""):
    """A frame's settings: its picture, its timer, the script that runs each time it opens, its
    sound channels: records of (command, fade, loop, level 0-10, file in Areas), channel 1 first,
    and its plugin commands."""
    settings = (line(1, picture, False, False, "", bool(timer_to), timer_ms, timer_to, "", "")
                + line(False, False, "") + line("", "", "", False, False, 0, 0, 0, 0) + line(True) + line(False, 0)
                + line(0) + line(bool(script), script.replace('"', "|")))
    if not channels:
        return settings
    settings += line(0, 0, 0, 0, 0, 0, fade_ms, 0, 5, len(channels))
    for record in channels:
        settings += line(*record)
    return settings + line(False) + line(plugin)


def text(caption, left, top, size=14, colour=0xFFFFFF):
    return (line("", 0, 0, 0, 0, 0, 0, 0, 0, 0)
            + line(caption, left * UNITS, top * UNITS, True, False, "Arial", size, False, False, colour, ""))


def hotspot(left, top, width, height, picture="", must_be_one=()):
    """A hotspot over a rectangle in pixels, shown only when the variables of must_be_one are 1."""
    record = line("", 0, 0, 0, 0, 0, 0, 0, 0, 0)
    record += line(left * UNITS, top * UNITS, width * UNITS, height * UNITS, 0, bool(picture), picture, 0, "",
                   1 if must_be_one else 0)
    record += line(0) + line(len(must_be_one), *must_be_one)
    return record + line(SEPARATOR)


def action(frame="", back=False, set_variable="", message="", script="", key="", remove=False, add_item="",
           sound="", video="", video_at=(0, 0), plugin=""):
    """An action record: set a variable to 1, show a message in the game window, remove the hotspot
    (or the item dropped on it), run a script, add an item, play a sound (in Frames), then go to a
    frame or back; a video (in Frames) plays at its own size at video_at, and the action waits for it.
    A record of the ".fm0" file of items dropped on hotspots carries its key:
    hotspot + "_" + item + ".drg"."""
    record = line(0, key, 0, 0, 0, 0, 0, 0, 0, 0)
    record += line(1 if set_variable else 0, set_variable, False, bool(set_variable), False,
                   bool(message), message, 0, "", remove, False)
    record += line(1 if frame else 0, frame)
    record += line(0, 0, 1 if video else 0, video, False, False, video_at[0], video_at[1], 0, 0)
    record += line(False, False, "", bool(sound), sound)
    record += line(0, 0, 0, back)
    record += line(0, 0, 0, True)
    record += line(0, 0, 0, 0, 0, 0, 0)
    record += line(True) + line(0, 0) + line(bool(script), script.replace('"', "|"))
    record += line(0) + line(0, 0, 0, 0, 0, 0, 0, 0) + line(5, 0) + line(bool(add_item), add_item)
    if plugin:
        record += line(plugin)
    return record + line(SEPARATOR)


def media_hotspot(left, top, width, height, animation="", speed=0, looping_video=""):
    """A hotspot showing an animated picture (in Areas) at its own size, or with a video (in Frames)
    that loops on it without end at the hotspot's size."""
    record = line("", 0, 0, 0, 0, 0, 0, 0, 0, 0)
    record += line(left * UNITS, top * UNITS, width * UNITS, height * UNITS, 1 if animation else 0,
                   bool(animation), animation, 0, "", 0)
    record += line(0) + line(0)
    record += line(speed, bool(looping_video), looping_video, True, 0, 0, 0, 1, 0)
    return record + line(SEPARATOR)


def pick_up(hotspot, item):
    """A record of the ".fm4" file: clicking the hotspot picks up the item."""
    return line("", hotspot, 0, 0, 0, 0, 0, 0, 0, 0) + line(1, item) + line(SEPARATOR)


def item(name, picture):
    """An item's description: its picture in the Areas folder, then the editor's own fields."""
    return line(picture, name)


def combination(add_item, script=""):
    """A ".drg" file: both items go, a new one comes, and a script runs."""
    return line(1, 1, 1, add_item) + line(0, 0, 0) + line(bool(script), script.replace('"', "|"))


def dialogue_line(question, answer, line_id, visible=True, ends=False, show=(), hide=(), seconds=0.0):
    """A line of a ".dlg" file; with seconds, its answer stays that long instead of its usual time."""
    return (line(question, answer, "", "", "", line_id, visible, ends, 0, 0, 0)
            + line(len(show), *show) + line(len(hide), *hide)
            + line(seconds, 0, 0, 0, seconds > 0, 0))


def dialogue(*lines):
    return line(0, 0, 0, "", "", 0, 0, 0, 0, 0, 0) + line(len(lines)) + "".join(lines)


def script(*lines):
    """VBScript lines joined as the editor stores them, one field holding every line."""
    return "\r\n".join(lines)


# The project procedures, shared by the scripts of every frame: the score, the visits to the garden
# and the butterfly that the garden's script timer moves.
PROCEDURES = script(
    "Sub AddScore(points)",
    "  Score = Score + points",
    "End Sub",
    "",
    "' Tells the news and the score in the first text of the open frame.",
    "Sub TellScore(news)",
    '  Text(1).Caption = news & " Score: " & Score & "."',
    "End Sub",
    "",
    "Sub CountGardenVisit()",
    "  GardenVisits = GardenVisits + 1",
    "End Sub",
    "",
    "' The garden's script timer: the butterfly (hotspot 3) flies 40 pixels to the right every half",
    "' second, five times: 200 pixels from where it started, it stops.",
    "Sub TimerObject0()",
    '  If GetCurrentFrameName() <> "Garden" Then Exit Sub',
    "  Hotspot(3).Left = Hotspot(3).Left + 40 * %d" % UNITS,
    "  If Hotspot(3).Left < %d * %d Then TimerObject(0).Enabled = True" % (BUTTERFLY_LEFT + 200, UNITS),
    "End Sub",
    "",
    "' The library's bell button (a component the library's script adds): it rings the bell plugin",
    "' once, says so, and goes.",
    "Sub BellButton_Click(parameters)",
    "  DemoBell_Ring 1",
    '  Message "Ding! The bell rings " & BellRings & " times now."',
    '  RemoveComponent "BellButton"',
    "End Sub",
    "",
    "' The library's lantern (a component written in VBScript, CPData/Demo.Lantern.vbs) tells when it",
    "' is lit or put out.",
    "Sub Lantern_Switched(parameters)",
    '  If parameters("Lit") Then Message "The lantern glows." Else Message "The lantern goes out."',
    "End Sub")


def plugin_definition(display_name, script_code, integer_variables, action_procedure, frame_procedure):
    """A plugin's definition file (".cp" in CPData), its code in clear; "~" stands for a double
    quote in the texts of the file."""
    return (line(1) + line(0, 0, 0, 0, 0, 0, 0, 0) + line(False, False, display_name, display_name)
            + line("", "", "", "", script_code.replace('"', "~"))
            + line(len(integer_variables), *integer_variables) + line(0)
            + line(0, 1, "", "", action_procedure, "") + line(frame_procedure))


# The demo's plugin: a bell that rings from actions (counted in its own variable BellRings) and
# from frames (told in the frame's first text).
BELL_PLUGIN = script(
    "Sub DemoBell_Ring(times)",
    "  BellRings = BellRings + CInt(times)",
    "End Sub",
    "",
    "Sub DemoBell_Frame(place)",
    '  Text(1).Caption = "A bell rings in the " & place & ". " & Text(1).Caption',
    "End Sub")


def main():
    write("Config/General", general())
    write("Config/Texts", line(1))
    write("Config/More", "[General]\r\nScriptTimeOut=10\r\nAllowCreateObject=0\r\nProcEncr=0\r\n")
    write("Config/Variables", line(0) + line("BookFound") + line("ChestOpen") + line("***") + line("GardenVisits")
          + line("Score"))
    write("Config/Procedures", "Procedures of the demo game\r\n\r\n\r\n" + PROCEDURES)
    write("Config/Plugins", line(0) * 10 + line("DemoBell"))
    write("CPData/DemoBell.cp", plugin_definition("DemoBell", BELL_PLUGIN, ["BellRings"], "DemoBell_Ring",
                                                  "DemoBell_Frame"))

    # The hall: the door to the library, the window to the garden (a script counts the visit and goes
    # there with a transition), the key once the book is found, and a chest that the key opens (20
    # points); something comes out of it three seconds later.
    # Sounds: each frame has its music on channel 1, cross-faded over two seconds from the frame
    # before; the library fades the music out and plays its MIDI tune on channel 2 instead, which the
    # hall fades out again. Opening the chest creaks, the matches rustle.
    write("Frames/Hall.fme", frame_settings("hall.jpg", channels=[(2, True, True, 8, "hall-theme.ogg"),
                                                                  (3, True, False, 0, "")], fade_ms=2000))
    # The magic mirror shimmers (a looping video); clicked, it shows a vision (a cut scene). A torch
    # flickers beside it (an animated picture).
    write("Frames/Hall.lks", line(6))
    write("FramesData/Hall.fm1", text("Click the door, the window, or what you find.", 150, 440))
    write("FramesData/Hall.fm2", hotspot(60, 150, 120, 250) + hotspot(440, 190, 120, 110)
          + hotspot(300, 300, 48, 48, "key.gif", ["BookFound"]) + hotspot(200, 340, 80, 60)
          + media_hotspot(580, 330, 48, 64, looping_video="mirror.avi")
          + media_hotspot(600, 250, 24, 40, animation="torch.gif", speed=50))
    # GoToFrame takes the frame, the transition's duration in seconds, then the transition's number.
    write("FramesData/Hall.fm3", action(frame="Library")
          + action(script=script("CountGardenVisit", 'GoToFrame "Garden", 1.5, 2'))
          + action(message="A golden key. Now, what does it open?", remove=True)
          + action(message="The chest is locked.")
          + action(video="mirror-vision.avi", video_at=(160, 120), message="A vision swirls in the old mirror...")
          + action())
    write("FramesData/Hall.fm4", pick_up(3, "Key"))
    write("FramesData/Hall.fm0",
          action(key="4_key.drg", remove=True, set_variable="ChestOpen", sound="creak.wav",
                 message="The key turns. Something stirs inside the chest...",
                 script=script('AddScore 20 : TellScore "The chest is open."',
                               'CreateTimedEvent 3, "Message ""A mouse runs out of the chest and away!""", False')))

    # The library: the librarian's ghost talks; the red shelf hides the book and a candle (10 points).
    # Its script adds a button (a component) that rings the bell plugin, and a lantern (a component
    # written in VBScript); going back removes both.
    write("Frames/Library.fme", frame_settings("library.jpg", script=script(
        'If Not DoesComponentExist("BellButton") Then AddComponent "VB.CommandButton", "BellButton", False, False',
        'With Component("BellButton")',
        '  .Caption = "Ring the bell"',
        "  .Move 480 * %d, 20 * %d, 130 * %d, 30 * %d" % (UNITS, UNITS, UNITS, UNITS),
        "  .Visible = True",
        "End With",
        'If Not DoesComponentExist("Lantern") Then AddComponent "Demo.Lantern", "Lantern", False, False',
        'With Component("Lantern")',
        "  .Move 560 * %d, 60 * %d, 50 * %d, 50 * %d" % (UNITS, UNITS, UNITS, UNITS),
        "  .Visible = True",
        "  .Draw",
        "End With"), channels=[(3, True, False, 0, ""),
                                                                        (2, False, True, 7, "library.mid")],
                                               fade_ms=2000, plugin="{DemoBell}library"))
    write("FramesData/Library.fm1", text("The red shelf hides something. The blue one leads back.", 60, 440))
    write("FramesData/Library.fm2", hotspot(40, 120, 200, 300) + hotspot(400, 120, 200, 300))
    write("FramesData/Library.fm3",
          action(set_variable="BookFound", remove=True, add_item="Candle",
                 message="Behind the books lie a candle and a note: look in the hall.",
                 script="AddScore 10")
          + action(back=True, script=script('If DoesComponentExist("BellButton") Then RemoveComponent "BellButton"',
                                            'If DoesComponentExist("Lantern") Then RemoveComponent "Lantern"')))
    write("FramesData/Library.dlg", dialogue(
        dialogue_line("Who are you?", "I was the librarian, long ago.", 1, show=[3], hide=[1]),
        dialogue_line("Goodbye.", "Come back when you have light.", 2, ends=True),
        dialogue_line("Where should I look?", "Behind the red books, of course.", 3, visible=False,
                      seconds=2.5)))

    # The garden: matches in the flowerpot (5 points); its timer goes back to the hall. Its script
    # tells the visits and the score, and starts the script timer that moves the butterfly.
    write("Frames/Garden.fme", frame_settings("garden.jpg", "[last visited frame]", 4000, script(
        'Text(1).Caption = "Garden visit " & GardenVisits & ", score " & Score & ". Back to the hall soon."',
        "TimerObject(0).Interval = 500 : TimerObject(0).Enabled = True"),
        channels=[(2, True, True, 8, "garden-theme.ogg")], fade_ms=2000))
    write("FramesData/Garden.fm1", text("The garden. You will be back in the hall in a moment.", 100, 440)
          + text("To the pond", 500, 300))
    # A hotspot lies 2 pixels inside its rectangle: the butterfly's 36 x 36 holds its 32 x 32 picture.
    write("FramesData/Garden.fm2", hotspot(70, 180, 160, 240) + hotspot(400, 330, 60, 60)
          + hotspot(BUTTERFLY_LEFT - 2, 118, 36, 36, "butterfly.gif") + hotspot(480, 200, 150, 130))
    write("FramesData/Garden.fm3", action(script='GoToFrame "Hall", 0, 1')
          + action(message="A box of matches, dry enough.", remove=True, sound="rustle.wav",
                   script='AddScore 5 : TellScore "Matches for the candle."')
          + action(message="The butterfly flutters out of reach.", plugin="{DemoBell}2")
          + action(script='GoToFrame "Pond", 1, 1'))
    write("FramesData/Garden.fm4", pick_up(2, "Matches"))

    # The pond, reached from the garden with a blend: its water ripples (the pictures and the water's
    # files come from make-demo-pond.py). Its edges lead away, each with another slide.
    write("Frames/Pond.fme", frame_settings("pond.png"))
    write("FramesData/Pond.fm1", text("The pond. Left or down: the garden. Right or up: the hall.", 90, 70))
    write("FramesData/Pond.fm2", hotspot(0, 40, 60, 400) + hotspot(580, 40, 60, 400) + hotspot(60, 0, 520, 60)
          + hotspot(60, 420, 520, 60))
    write("FramesData/Pond.fm3", action(script='GoToFrame "Garden", 1, 3') + action(script='GoToFrame "Hall", 1, 2')
          + action(script='GoToFrame "Hall", 1, 5') + action(script='GoToFrame "Garden", 1, 4'))

    # The items, and the one combination: the matches dropped on the candle light it.
    write("Areas/Key.obj", item("Key", "key.gif"))
    write("Areas/Candle.obj", item("Candle", "candle.gif"))
    write("Areas/Matches.obj", item("Matches", "matches.gif"))
    write("Areas/LitCandle.obj", item("Lit candle", "litcandle.gif"))
    write("Areas/Matches_on_Candle.drg",
          combination("LitCandle", 'Message "The candle burns with a warm light."'))


if __name__ == "__main__":
    main()
