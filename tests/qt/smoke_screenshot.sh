#!/bin/sh
# Starts the real program on a virtual X server, waits for its window, saves a screenshot of it
# and ends the program; then, on the same screen, saves the pictures of the window driven through
# its tabs (both result tables in both languages, the guide, the password fields) beside it.
# Usage: smoke_screenshot.sh <ostrel-varn binary> <output png> [<window_screenshots binary>]
set -eu

if [ "${1:-}" != "--inside" ]; then
    program=$1
    output=$2
    driver=${3:-}
    mkdir -p "$(dirname "$output")"
    rm -f "$output"
    # Two virtual servers started at once may pick the same display; try again then.
    for attempt in 1 2 3; do
        if xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside "$program" "$output" "$driver"; then
            exit 0
        fi
        echo "attempt $attempt failed" >&2
        sleep 2
    done
    exit 1
fi

program=$2
output=$3
driver=${4:-}
# Nothing from the caller's session: the program must stand on the virtual screen alone.
unset QT_QPA_PLATFORM
workdir=$(mktemp -d)
cd "$workdir"

# The toolkit's own options must not reach it: the title stays the window's own.
"$program" -qwindowtitle "Not the program's title" -reverse &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$workdir"' EXIT

window=""
tries=0
while [ -z "$window" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended before its window appeared" >&2
        exit 1
    fi
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ]; then
        echo "no window titled 'Ostrel Varn 3.8 final' appeared" >&2
        exit 1
    fi
    sleep 0.2
    window=$(xdotool search --name "Ostrel Varn 3.8 final" 2>/dev/null | head -n 1 || true)
done

# Let the first paint finish.
sleep 1
import -window "$window" "$output"
echo "window $window: $(xdotool getwindowname "$window")"
xdotool getwindowgeometry "$window"
test -s "$output"
echo "screenshot: $output"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

if [ -n "$driver" ]; then
    "$driver" "$(dirname "$output")"
fi
