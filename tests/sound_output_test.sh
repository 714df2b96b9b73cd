#!/bin/sh
# The real program's mixed sound, where players hear it:
#
# - written by SDL's disk audio driver: silent on the title, not silent once
#   SPACE starts play; silent throughout with --mute;
# - on a PulseAudio server of the test's own (its socket, state and cookie in
#   the test's temporary directory), its null sink's monitor recorded: the
#   title silent, the effects reaching the server after SPACE;
# - on a server that takes the connection and never answers (SILENT_SERVER):
#   the game keeps its pace and quits on time rather than freezing while it
#   waits, says once that the sound system has not answered, and ends with
#   ESC's status;
# - with an audio driver that cannot open: the game says so once and plays on.
#
#   sound_output_test.sh GAME SILENT_SERVER
set -u
game="$1" silent_server="$2"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test sound_output
command -v pulseaudio >/dev/null || fail "pulseaudio is missing"
command -v parec >/dev/null || fail "parec (pulseaudio-utils) is missing"
server="" recorder="" listener=""
stop_helpers() {
    for pid in $recorder $server $listener; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    end_x_test
}
trap stop_helpers EXIT

# Whether the first N bytes of a file are all zero (the whole file without N).
silent() { n=${2:-$(wc -c < "$1")}; [ "$n" -gt 0 ] && cmp -s -n "$n" "$1" /dev/zero; }

# Plays the title for a second, then SPACE and a second of play, then ESC;
# $before is how much RECORDING held when SPACE went down. ENVIRONMENT is
# NAME=VALUE words for the game (split on spaces); OPTIONS are added to
# --window.
#   title_then_space RECORDING ENVIRONMENT [OPTIONS]
title_then_space() {
    env $2 "$game" --window ${3:-} 2>"$out/game.err" &
    game_pid=$!
    win=$(find_window "Vantrel Remake") || fail "the game window did not appear ($2 ${3:-})"
    xdotool windowfocus --sync "$win" 2>/dev/null
    sleep 1
    before=$(wc -c < "$1")
    press space
    sleep 1
    quit_with_escape || fail "the game did not end on ESC ($2 ${3:-})"
}

title_then_space "$out/sound.raw" "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/sound.raw"
silent "$out/sound.raw" "$before" || fail "the title was not silent ($before bytes)"
silent "$out/sound.raw" && fail "play started without a sound"
disk_title=$before

title_then_space "$out/mute.raw" "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$out/mute.raw" --mute
silent "$out/mute.raw" || fail "--mute was not silent"

# Nothing of the user's: the server keeps its runtime files, state and
# cookie here, and every client finds it only through PULSE_SERVER. As root
# it runs all the same (it only warns, which --log-level keeps out); -n:
# none of the system's default modules, only its socket and the null sink.
mkdir -p "$out/home" "$out/run"
export HOME="$out/home" XDG_RUNTIME_DIR="$out/run" PULSE_RUNTIME_PATH="$out/run/pulse" PULSE_STATE_PATH="$out/home/state"
export PULSE_SERVER="unix:$out/run/native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-level=error \
    -L "module-native-protocol-unix socket=$out/run/native auth-anonymous=1" \
    -L "module-null-sink sink_name=speakers" >"$out/server.err" 2>&1 &
server=$!
eventually pactl info >/dev/null 2>&1 || fail "the sound server did not answer"
parec --device=speakers.monitor --format=s16le --rate=22050 --channels=1 --raw --latency-msec=20 \
    >"$out/heard.raw" 2>"$out/recorder.err" &
recorder=$!
# The null sink takes the recorder's short latency only after its current
# long sleep: the recording counts from when it flows.
eventually [ -s "$out/heard.raw" ] || fail "nothing was recorded from the sound server"
title_then_space "$out/heard.raw" SDL_AUDIODRIVER=pulseaudio
kill "$recorder"; wait "$recorder" 2>/dev/null; recorder=""
silent "$out/heard.raw" "$before" || fail "the title was not silent on the sound server ($before bytes)"
silent "$out/heard.raw" && fail "play started, and the sound server heard nothing"
[ -s "$out/game.err" ] && fail "the game complained on a working sound server"
server_title=$before

"$silent_server" "$out/run/hung" >"$out/listener.txt" 2>"$out/listener.err" &
listener=$!
eventually [ -s "$out/listener.txt" ] || fail "the silent server did not start"
began=$(date +%s%N)
SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="unix:$out/run/hung" "$game" --window --quit-after 120 2>"$out/hung.err"
status=$?
took_ms=$((($(date +%s%N) - began) / 1000000))
[ "$status" -eq 27 ] || fail "with a hung sound server the game ended with $status"
# 120 frames at 60 Hz take 2 s; waiting for the server took 30 s more.
[ "$took_ms" -lt 6000 ] || fail "with a hung sound server 120 frames took $took_ms ms"
grep -q '^vantrel: the sound system has not answered in .* s; the game plays on silently$' "$out/hung.err" &&
    [ "$(grep -c '^vantrel:' "$out/hung.err")" -eq 1 ] || fail "the hung sound server was not told once"

SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=nosuchdriver "$game" --window --quit-after 120 >/dev/null 2>"$out/none.err"
status=$?
[ "$status" -eq 27 ] || fail "without an audio driver the game ended with $status"
[ "$(grep -c 'no sound (.*); the game plays on silently' "$out/none.err")" -eq 1 ] ||
    fail "no sound was not told once"
rm -f "$out"/*.err
echo "sound_output: disk and sound server: title silent ($disk_title, $server_title bytes), SPACE heard;" \
    "--mute silent; a hung server told once, 120 frames in $took_ms ms; no driver told once"
