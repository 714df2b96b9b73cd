#!/bin/sh
# Renders the pictures of docs/screenshots/ (shown in README.md) with the
# headless screenshot tool, from this repository's data/. Needs the build:
#   make build && sh tools/screenshots.sh
# Each line plays the game for a number of frames with a few keys (see
# tools/screenshot.cpp) and keeps the last frame.
set -eu
cd "$(dirname "$0")/.."
shot=./build/screenshot
out=docs/screenshots
mkdir -p "$out"
export SDL_VIDEODRIVER=offscreen

# The title picture.
"$shot" "$out/title.png" 5
# Level 0: the figure has climbed its first stair and walks on.
"$shot" "$out/level0.png" 230 space@1 right@3
# Level 5, the last: twelve enemies on six threads, the exit at the top right.
"$shot" "$out/level5.png" 32 space@1 level@2=5
# Level 0 again, walking into the spider: the explosion, every thread magenta.
"$shot" "$out/explosion.png" 106 space@1 right@30
# The keys screen (K on the title), refusing F2 for LEFT: MIRROR UP-DOWN has it.
"$shot" "$out/keys.png" 12 k@2-3 f2@6-7
echo "screenshots: written to $out/"
