#!/bin/sh
# The program players run carries none of what the tests drive the game
# with: no set clock, no scripted or recorded message boxes, no window step
# made to fail, no watcher of presents or list of the sounds asked for, no
# scripted play. Those are the tests' own backends (platform/test_*.cpp,
# tests/support/sounds_asked.cpp, app/scripted_play.cpp); the game links its
# own in their place. Read from the program's symbol table.
#
#   no_test_seams_test.sh GAME [NM]
set -u
game=$1 nm=${2:-nm}
fail() { echo "no_test_seams: $*" >&2; exit 1; }

symbols=$("$nm" -C "$game") || fail "$nm could not read $game"
# A table with the game's own functions in it, so that a program without
# symbols cannot pass.
echo "$symbols" | grep -q 'platform::tickCount()' || fail "$game has no symbol table to look at"
seams='platform::testing::|ScriptedPlay|takeSoundsAsked|clockIsSet|readsSinceMoved|swapObserver|presentObserver|shownBox'
found=$(echo "$symbols" | grep -E "$seams")
[ -z "$found" ] || fail "$game carries what the tests drive the game with:
$found"
echo "no_test_seams: $(echo "$symbols" | wc -l) symbols in $game, none of the tests' backends"
