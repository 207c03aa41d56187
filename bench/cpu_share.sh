#!/usr/bin/env bash
# CPU share and resident memory of the running jukebox in a real X window (Xvfb), sampled from
# /proc over a number of seconds. The X server is not counted.
#   bench/cpu_share.sh [--seconds N] [--hide] [module]
#   --hide: after start, click "Hide To Tray" with a notification area (trayer) running, so the
#   window is hidden in the tray.
# Targets: banner scrolling, nothing playing: < 0.7 %; playing with the window shown: < 1 %
# and < 60 MiB; hidden: < 0.35 %.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
binary=${JUKARIUM:-$here/build/jukarium}
seconds=20
hide=0
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --hide) hide=1; shift ;;
    *) break ;;
  esac
done

work=$(mktemp -d)
trap 'kill ${jukebox:-} ${tray:-} ${xvfb:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
if [ "$hide" = 1 ]; then
  command -v trayer >/dev/null || { echo "--hide needs trayer (apt-get install trayer)" >&2; exit 1; }
  DISPLAY=$display trayer --edge top --align right --widthtype pixel --width 120 --height 24 \
    >/dev/null 2>&1 & tray=$!
  sleep 1
fi
DISPLAY=$display "$binary" "$@" >/dev/null 2>&1 & jukebox=$!
sleep 3
if [ "$hide" = 1 ]; then
  window=$(DISPLAY=$display xdotool search --name "Vorn Jukarium" | head -1)
  eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$window")"
  # The "Hide To Tray" button, below the menu bar in the control panel.
  DISPLAY=$display xdotool mousemove $((X + 399)) $((Y + 46)) click 1
  sleep 1
  if DISPLAY=$display xdotool search --onlyvisible --name "Vorn Jukarium" >/dev/null; then
    echo "the window did not hide" >&2; exit 1
  fi
fi

# CPU time of every thread in nanoseconds (schedstat), summed; threads that end in between
# are not counted, which only errs low by what they used.
cpu_ns() { cat /proc/"$jukebox"/task/*/schedstat | awk '{sum += $1} END {print sum}'; }
start=$(cpu_ns); sleep "$seconds"; end=$(cpu_ns)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$jukebox/status")
awk -v t=$((end - start)) -v s="$seconds" -v rss="$rss" \
  'BEGIN { printf "cpu: %.2f %% of one core over %d s; resident: %.1f MiB\n", 100 * t / 1e9 / s, s, rss / 1024 }'
