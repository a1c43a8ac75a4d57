#!/usr/bin/env bash
# Are spoken words heard, and how soon? Starts a private PulseAudio with a null sink, lets
# bench_speech_latency ask for COUNT words on a drill-like schedule (quick pairs and
# pauses) while it records the sink's monitor, and reports how many sounds were heard and
# the time from each request to the start of its sound. A voice of the program's own
# (flite-rms, ...) is measured in a listening drill (its class rendered ahead at Start,
# then Enter after Enter) and on the drill-like schedule; a QTextToSpeech engine ("default":
# the speech service, "flite": Qt's own flite plugin) driven as the program did before
# its speech worker (say() for every word as it comes) and through the speech worker.
#
# Usage: bench/speech_latency.sh [BUILD_DIR] [COUNT]     (defaults: build/bench, 50)
#   ENGINES="flite-rms default" picks the engines (default: the program's default voice,
#   the speech service through the program, the service and Qt's flite plugin directly).
#   SPEECHD_MODULE=flite has the speech service speak through that module instead of its
#   default one.
# The report goes to stdout and to BUILD_DIR/speech-latency-report.txt.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
count=${2:-50}
probe=$build/bench/bench_speech_latency
report=$build/speech-latency-report.txt
[ -x "$probe" ] || { echo "missing $probe: build the bench preset first" >&2; exit 1; }

need=()
for tool in pulseaudio:pulseaudio pactl:pulseaudio-utils parec:pulseaudio-utils \
    speech-dispatcher:speech-dispatcher; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
[ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] || need+=(speech-dispatcher-espeak-ng)
[ "${SPEECHD_MODULE:-}" != flite ] || [ -e /usr/lib/speech-dispatcher-modules/sd_flite ] ||
    need+=(speech-dispatcher-flite)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# A home and runtime folder of its own: the sound server and the speech service started
# here are this script's, and nothing of the user's session is touched.
work=$(mktemp -d)
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
unset PULSE_SERVER DBUS_SESSION_BUS_ADDRESS
pulseaudio --daemonize=no -n --exit-idle-time=-1 --load=module-native-protocol-unix \
    >"$work/pulseaudio.log" 2>&1 &
pulse=$!
cleanup() {
    local spd=$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid
    [ -f "$spd" ] && kill "$(cat "$spd")" 2>/dev/null
    kill "$pulse" 2>/dev/null
    wait "$pulse" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [ -n "${SPEECHD_MODULE:-}" ]; then
    mkdir -p "$HOME/.config/speech-dispatcher"
    { cat /etc/speech-dispatcher/speechd.conf; echo "DefaultModule $SPEECHD_MODULE"; } \
        >"$HOME/.config/speech-dispatcher/speechd.conf"
fi
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break || sleep 0.1; done
pactl load-module module-null-sink sink_name=bench >/dev/null
pactl set-default-sink bench

# English words of the bundled book, in its order.
awk -F '\t' '!/^#/ && n++ < 200 {print $2}' "$here/../data/default-book.tsv" >"$work/words.txt"

{
    echo "speech latency, $count requests per case, null sink, speech service module" \
        "${SPEECHD_MODULE:-default} ($(date -u +%FT%TZ), $(nproc) CPUs)"
    for engine in ${ENGINES:-flite-rms speech-service default flite}; do
        ways=(--direct "")
        case $engine in flite-* | speech-service) ways=(--listening "") ;; esac
        for way in "${ways[@]}"; do
            # shellcheck disable=SC2086
            QT_LOGGING_RULES="qt.speech*=false" "$probe" --words "$work/words.txt" \
                --count "$count" --engine "$engine" $way || echo "engine $engine $way: failed"
        done
    done
} | tee "$report"
