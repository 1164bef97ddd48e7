#!/bin/sh
# The install tree as a desktop sees it: installs the build into a fresh prefix, then checks each file
# with the desktop's own tools. Usage: check_install_tree.sh BUILD_DIR PREFIX
set -eu
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install tree: $*" >&2; exit 1; }

# The program runs from where it was put and names itself.
"$prefix/bin/taviro-player" --version | grep -q '^taviro-player [0-9]' || fail "bin/taviro-player does not run"

# The man page is in section 6 and reads without warnings.
page="$prefix/share/man/man6/taviro-player.6"
[ -f "$page" ] || fail "no man page"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q -- '--check' || fail "the man page does not tell --check"

# The desktop file is valid and opens the game type.
desktop="$prefix/share/applications/taviro-player.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop file"
grep -q '^MimeType=application/x-taviro-game;$' "$desktop" || fail "the desktop file does not open games"

# The game type is known to shared-mime-info: a file named General is a game.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database rejects the type"
grep -q '^application/x-taviro-game:General$' "$prefix/share/mime/globs" || fail "General is not the game type"

# The icon is where icon themes look, and is a picture.
icon="$prefix/share/icons/hicolor/scalable/apps/taviro-player.svg"
grep -q '<svg' "$icon" || fail "no icon"
echo "install tree: all in place"
