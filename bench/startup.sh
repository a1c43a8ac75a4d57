#!/usr/bin/env bash
# How soon the program's window appears and reacts to its first key, and what the start
# costs, next to a bare Qt window built the same way, as a learner meets it on a fresh
# login: under Xvfb, with a fresh home and a private session bus, the speech service
# installed but not running; once without an audio server (a minimal session) and once with
# one (a private PulseAudio with a null sink).
#
# A run launches the program, waits for its window to be mapped ("first window"), then
# presses F3 at once and waits for the caption to end in 成績表 ("first key"). Both are
# times since launch. Resident memory and the CPU time used so far are read 3 s after the
# key, when the start has long gone idle. Then the program is closed with Ctrl+Q, and every
# process of the session that it started and left running is counted ("left").
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]     (defaults: build/bench, 7)
#   BUILD_DIR holds src/app/veltyping, bench/bench_bare_window and data/Word.dat
#   (cmake --preset bench && cmake --build --preset bench).
#   APP=PATH measures another build of the program (say, an older one).
#   BEFORE=PATH measures that build too, in the same runs (before and after a change).
#   BIG_BOOK=0 leaves out the runs on a 200 MB Word.dat (a real book padded with zeros).
# The report goes to stdout and to BUILD_DIR/startup-report.txt.
set -euo pipefail

# The processes of this session (by its runtime folder), but for this script.
session_pids() {
    local p environ
    for p in /proc/[0-9]*; do
        p=${p#/proc/}
        [ "$p" = $$ ] || [ "$p" = "$BASHPID" ] && continue
        { mapfile -d '' environ <"/proc/$p/environ"; } 2>/dev/null || continue
        [[ " ${environ[*]} " != *" XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR "* ]] || echo "$p"
    done
}

# One measured run, inside its own session bus: prints "window key rss_kib cpu_s left".
if [ "${STARTUP_ONE_RUN:-}" = 1 ]; then
    if [ "${AUDIO_SERVER:-0}" = 1 ]; then
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
            -L module-null-sink -L module-native-protocol-unix >/dev/null 2>&1 &
        for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break || sleep 0.05; done
    fi
    before=" $(session_pids | tr '\n' ' ') "
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
    # utime and stime, in clock ticks (fields 14 and 15; the name in field 2 has no blanks).
    cpu=$(awk -v hz="$(getconf CLK_TCK)" '{printf "%.3f", ($14 + $15) / hz}' "/proc/$pid/stat")
    xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null && sleep 0.05 || break; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    sleep 1
    left=0
    for p in $(session_pids); do
        [[ "$before" == *" $p "* ]] && continue
        echo "left running: $(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null)" >&2
        left=$((left + 1))
        kill "$p" 2>/dev/null || true
    done
    echo "$(bc <<<"$t_window - $t0") $(bc <<<"$t_key - $t0") $rss $cpu $left"
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
    speech-dispatcher:speech-dispatcher pulseaudio:pulseaudio pactl:pulseaudio-utils; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
[ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
    need+=(speech-dispatcher-espeak-ng)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
for f in "$app" "$bare" "$book" ${BEFORE:+"$BEFORE"}; do
    [ -e "$f" ] || { echo "missing $f: build the bench preset first" >&2; exit 1; }
done

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=:$(head -n 1 "$work/display")

# One run of COMMAND... in a fresh home with a private session bus, with an audio server
# when $3 is 1; appends its line to the file named by $1. {FOLDER} in the command is the
# run's program folder, which holds a copy of $2.
run_once() {
    local out=$1 source=$2 audio=$3
    shift 3
    local run=$work/run
    rm -rf "$run"
    mkdir -p "$run/home/book" "$run/runtime"
    chmod 700 "$run/runtime"
    cp "$source" "$run/home/book/Word.dat"
    local cmd=("${@//\{FOLDER\}/$run/home/book}")
    env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" \
        LANG=C.UTF-8 STARTUP_ONE_RUN=1 AUDIO_SERVER="$audio" \
        dbus-run-session -- bash "$0" "${cmd[@]}" >>"$out" \
        2> >(grep -v "fd limit" >&2) || echo "a run of $1 failed" >&2
    rm -rf "$run"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
column_median() { awk -v c="$2" '{print $c}' "$1" | median; }

cases=(bare app)
[ -z "${BEFORE:-}" ] || cases+=(before)
if [ "${BIG_BOOK:-1}" != 0 ]; then
    # Real zeros, not a sparse file, as a book grown by some other program would be.
    cp "$book" "$work/big.dat"
    head -c $((200 * 1024 * 1024 - $(stat -c %s "$book"))) /dev/zero >>"$work/big.dat"
    cases+=(big)
fi
settings=(quiet audio)
# The cases take turns, so that a change in the machine's load falls on all of them.
for ((i = 0; i < runs; i++)); do
    for setting in "${settings[@]}"; do
        audio=0
        [ $setting = quiet ] || audio=1
        run_once "$work/$setting-bare" "$book" $audio "$bare"
        run_once "$work/$setting-app" "$book" $audio "$app" --folder "{FOLDER}"
        [ -z "${BEFORE:-}" ] ||
            run_once "$work/$setting-before" "$book" $audio "$BEFORE" --folder "{FOLDER}"
        [ "${BIG_BOOK:-1}" = 0 ] ||
            run_once "$work/$setting-big" "$work/big.dat" $audio "$app" --folder "{FOLDER}"
    done
done

{
    echo "start-up, $runs runs each, medians ($(date -u +%FT%TZ), $(uname -n), $(nproc) CPUs)"
    echo "speech service: $(command -v speech-dispatcher || echo none) (not running before each run)"
    for setting in "${settings[@]}"; do
        echo
        [ $setting = quiet ] && echo "without an audio server" || echo "with an audio server (PulseAudio, null sink)"
        bare_window=$(column_median "$work/$setting-bare" 1)
        bare_key=$(column_median "$work/$setting-bare" 2)
        bare_rss=$(column_median "$work/$setting-bare" 3)
        printf '%-28s %9s %9s %9s %9s %6s\n' "" "window s" "F3 s" "RSS MiB" "CPU s" "left"
        for case in "${cases[@]}"; do
            f=$work/$setting-$case
            [ -s "$f" ] || continue
            case $case in
            bare) name="bare Qt window" ;;
            app) name="veltyping" ;;
            before) name="veltyping before" ;;
            big) name="veltyping, 200 MB Word.dat" ;;
            esac
            printf '%-28s %9.3f %9.3f %9.1f %9.3f %6s\n' "$name" "$(column_median "$f" 1)" \
                "$(column_median "$f" 2)" "$(bc <<<"scale=1; $(column_median "$f" 3) / 1024")" \
                "$(column_median "$f" 4)" "$(awk '{n += $5} END {print n + 0}' "$f")"
            [ $case = bare ] || printf '%-28s %9.2f %9.2f %+9.1f\n' "  to bare (ratio, MiB)" \
                "$(bc <<<"scale=3; $(column_median "$f" 1) / $bare_window")" \
                "$(bc <<<"scale=3; $(column_median "$f" 2) / $bare_key")" \
                "$(bc <<<"scale=1; ($(column_median "$f" 3) - $bare_rss) / 1024")"
        done
    done
    echo
    echo "runs (window s, F3 s, RSS KiB, CPU s, left):"
    for setting in "${settings[@]}"; do
        for case in "${cases[@]}"; do
            f=$work/$setting-$case
            [ -s "$f" ] && echo "  $setting $case: $(tr '\n' ';' <"$f")"
        done
    done
} | tee "$report"
