#!/bin/sh
# The browser build played in headless chromium (Debian's, with WebGL on
# its software renderer): the title as the desktop draws it headless, play,
# the floor bar through the figure's see-through corners, the figure walking,
# "save this game" (during play, whole), ESC, "play again", and the level bot's demo, recorded by the desktop
# build, replayed in the page to the same end line, as every release's golden
# demo is to its kept line; the sound switched off in the page still off after a reload; a high score
# kept in the browser's storage shown on the title and its game watched from there; and the game
# played in the page, saved, replayed by the desktop build to the line the page printed.
# The page is driven by tests/web/page_test.mjs, with playwright-core as
# tests/web/package-lock.json pins it (npm ci, when not yet installed).
#
#   web_page_test.sh SITE_DIR RECORD_DEMO PNG_PIXELS SCREENSHOT GAME   (from the source tree)
set -u
site="$1" record="$2" pixels="$3" screenshot="$4" game="$5"
here=$(cd "$(dirname "$0")" && pwd)
web="$here/web"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "web_page: $*" >&2
    for f in "$out"/*.err; do [ -s "$f" ] && sed "s|^|  $(basename "$f"): |" "$f" >&2; done
    exit 1
}
. "$here/xvfb.sh"  # title_points and colours_close
[ -f "$site/vantrel.js" ] || fail "there is no browser build in $site"
[ -x /usr/bin/chromium ] || fail "chromium is missing"
command -v node >/dev/null && command -v npm >/dev/null || fail "node and npm are missing"

# The driver, installed again whenever the lock has changed since.
if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json"; then
    (cd "$web" && npm ci --no-audit --no-fund) >"$out/npm.err" 2>&1 || fail "npm ci failed"
    rm "$out/npm.err"
    cp "$web/package-lock.json" "$web/node_modules/.installed-lock.json"
fi

mkdir "$out/demos"
bot=$("$record" "$out/demos/bot.demo" 15,18,16,17,19,16 3000 2>"$out/record.err") || fail "the recording failed"
echo "$bot" | grep -q '^frames [1-9][0-9]*, level [0-9]*, ' || fail "the recording ended with '$bot'"
rm "$out/record.err"  # the bot's account of each level
# Every release's golden demos, served beside the bot's, with their lines.
: >"$out/golden.txt"
for demo in tests/golden/*/*.demo; do
    name="golden-$(basename "$(dirname "$demo")")-$(basename "$demo")"
    cp "$demo" "$out/demos/$name"
    echo "$name $(cat "${demo%.demo}.line")" >>"$out/golden.txt"
done
SDL_VIDEODRIVER=offscreen "$screenshot" "$out/title.png" 3 2>"$out/screenshot.err" || fail "the headless renderer failed"
"$pixels" "$out/title.png" $title_points >"$out/title.txt" || fail "cannot read the headless title"

node "$web/page_test.mjs" --site "$site" --demos "$out/demos" --out "$out" --pixels "$pixels" \
    --title-points "$title_points" --title-colours "$out/title.txt" --bot-line "$bot" --golden "$out/golden.txt" ||
    fail "the page failed"

[ -s "$out/page-game.demo" ] || fail "the page's game was not saved"
line=$(cat "$out/page-game.line")
replayed=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$out/page-game.demo" 2>"$out/desktop.err") ||
    fail "the desktop could not replay the page's game"
[ "$replayed" = "$line" ] || fail "the page's game ended '$line', the desktop replayed '$replayed'"
echo "ok   the game played in the page replays on the desktop to its line"
# Saved during play: whole, to the line of the game so far the page printed.
line=$(cat "$out/page-during.line")
replayed=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$out/page-during.demo" 2>"$out/during.err") ||
    fail "the desktop could not replay the game saved during play"
! grep -E 'ends early|not replayed|another way' "$out/during.err" >&2 || fail "the game saved during play is not whole"
[ "$replayed" = "$line" ] || fail "the game saved during play was '$line' there, the desktop replayed '$replayed'"
echo "ok   the game saved during play replays whole on the desktop to the page's line"
