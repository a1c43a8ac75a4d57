#!/usr/bin/env bash
# How soon the program's window appears and reacts to its first key, next to a bare Qt
# window built the same way, as a learner meets it on a fresh login: under Xvfb, with a
# fresh home and a private session bus, and the speech service installed but not running
# (the program's speech starts it).
#
# A run launches the program, waits for its window to be mapped ("first window"), then
# presses F3 at once and waits for the caption to end in 成績表 ("first key"). Both are
# times since launch. Resident memory is read 3 s after the key, once speech is up.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]     (defaults: build/bench, 7)
#   BUILD_DIR holds src/app/veltyping, bench/bench_bare_window and data/Word.dat
#   (cmake --preset bench && cmake --build --preset bench).
#   APP=PATH measures another build of the program (say, an older one).
#   BIG_BOOK=0 leaves out the runs on a 200 MB Word.dat (a real book padded with zeros).
# The report goes to stdout and to BUILD_DIR/startup-report.txt.
set -euo pipefail

# One measured run, inside its own session bus: prints "window key rss_kib".
if [ "${STARTUP_ONE_RUN:-}" = 1 ]; then
    t0=$EPOCHREALTIME
    "$@" >"$HOME/out.log" 2>&1 &
    pid=$!
    window=""
    until [ -n "$window" ]; do
        kill -0 "$pid" 2>/dev/null || { echo "$1 ended early:" >&2; tail -n 5 "$HOME/out.log" >&2; exit 1; }
        window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] || sleep 0.005
    done
    t_window=$EPOCHREALTIME
    xdotool windowfocus --sync "$window" key F3
    deadline=$((${t0%.*} + 30))
    until [[ "$(xdotool getwindowname "$window" 2>/dev/null)" == *成績表 ]]; do
        [ "${EPOCHREALTIME%.*}" -lt "$deadline" ] || { echo "no reaction to F3" >&2; break; }
        sleep 0.005
    done
    t_key=$EPOCHREALTIME
    sleep 3
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    # The speech service the program started lives on; end it by its own pid file.
    spd_pid=$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid
    [ -f "$spd_pid" ] && kill "$(cat "$spd_pid")" 2>/dev/null || true
    echo "$(bc <<<"$t_window - $t0") $(bc <<<"$t_key - $t0") $rss"
    exit 0
fi

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
runs=${2:-7}
app=${APP:-$build/src/app/veltyping}
bare=$build/bench/bench_bare_window
book=$build/data/Word.dat
report=$build/startup-report.txt

need=()
for tool in xdotool:xdotool xprop:x11-utils Xvfb:xvfb dbus-run-session:dbus bc:bc \
    speech-dispatcher:speech-dispatcher; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
[ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
    need+=(speech-dispatcher-espeak-ng)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
for f in "$app" "$bare" "$book"; do
    [ -e "$f" ] || { echo "missing $f: build the bench preset first" >&2; exit 1; }
done

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=:$(head -n 1 "$work/display")

# One run of COMMAND... in a fresh home with a private session bus; appends its line to the
# file named by $1. {FOLDER} in the command is the run's program folder, which holds a
# copy of $2.
run_once() {
    local out=$1 source=$2
    shift 2
    local run=$work/run
    rm -rf "$run"
    mkdir -p "$run/home/book" "$run/runtime"
    chmod 700 "$run/runtime"
    cp "$source" "$run/home/book/Word.dat"
    local cmd=("${@//\{FOLDER\}/$run/home/book}")
    env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" \
        LANG=C.UTF-8 STARTUP_ONE_RUN=1 \
        dbus-run-session -- bash "$0" "${cmd[@]}" >>"$out" \
        2> >(grep -v "fd limit" >&2) || echo "a run of $1 failed" >&2
    rm -rf "$run"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
column_median() { awk -v c="$2" '{print $c}' "$1" | median; }

cases=(bare app)
if [ "${BIG_BOOK:-1}" != 0 ]; then
    # Real zeros, not a sparse file, as a book grown by some other program would be.
    cp "$book" "$work/big.dat"
    head -c $((200 * 1024 * 1024 - $(stat -c %s "$book"))) /dev/zero >>"$work/big.dat"
    cases+=(big)
fi
# The cases take turns, so that a change in the machine's load falls on all of them.
for ((i = 0; i < runs; i++)); do
    run_once "$work/bare" "$book" "$bare"
    run_once "$work/app" "$book" "$app" --folder "{FOLDER}"
    [ "${BIG_BOOK:-1}" = 0 ] || run_once "$work/big" "$work/big.dat" "$app" --folder "{FOLDER}"
done

{
    echo "start-up, $runs runs each, medians ($(date -u +%FT%TZ), $(uname -n), $(nproc) CPUs)"
    echo "speech service: $(command -v speech-dispatcher || echo none) (not running before each run)"
    bare_window=$(column_median "$work/bare" 1)
    bare_key=$(column_median "$work/bare" 2)
    printf '%-26s %10s %10s %10s\n' "" "window s" "F3 s" "RSS MiB"
    for case in "${cases[@]}"; do
        [ -s "$work/$case" ] || continue
        case $case in
        bare) name="bare Qt window" ;;
        app) name="veltyping" ;;
        big) name="veltyping, 200 MB Word.dat" ;;
        esac
        printf '%-26s %10.3f %10.3f %10.1f\n' "$name" "$(column_median "$work/$case" 1)" \
            "$(column_median "$work/$case" 2)" "$(bc <<<"scale=1; $(column_median "$work/$case" 3) / 1024")"
        [ $case = bare ] || printf '%-26s %10.2f %10.2f\n' "  ratio to bare" \
            "$(bc <<<"scale=3; $(column_median "$work/$case" 1) / $bare_window")" \
            "$(bc <<<"scale=3; $(column_median "$work/$case" 2) / $bare_key")"
    done
    echo "runs (window s, F3 s, RSS KiB):"
    for case in "${cases[@]}"; do
        [ -s "$work/$case" ] && echo "  $case: $(tr '\n' ';' <"$work/$case")"
    done
} | tee "$report"
