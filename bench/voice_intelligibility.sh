#!/usr/bin/env bash
# How clearly does each voice the program can use say the words of the default book? A
# closed-set recogniser stands in for an attentive listener: pocketsphinx with its en-us
# model and a JSGF grammar of the book's single-word entries. Each word is synthesised
# alone, as the program plays it, padded with 0.3 s of silence on both sides, resampled
# to 16 kHz mono and recognised; a voice scores the words recognised as themselves.
#
# The program's own voices are rendered by bench_voice_render (the program's code). The
# system's speech service is measured through its default module's own synthesiser
# (espeak-ng en-us or flite, as /etc/speech-dispatcher/speechd.conf names it), which is
# what the service plays.
#
# Usage: bench/voice_intelligibility.sh [BUILD_DIR]        (default: build/bench)
#   WORDS=N measures a fixed random sample of N words instead of all of them.
#   VOICES="flite-rms speech-service" picks the voices (default: all the program offers).
# Prints one line per voice, then "default VOICE: N/M (P %)"; the report also goes to
# BUILD_DIR/voice-intelligibility-report.txt.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
render=$build/bench/bench_voice_render
report=$build/voice-intelligibility-report.txt
[ -x "$render" ] || { echo "missing $render: build the bench preset first" >&2; exit 1; }
model=/usr/share/pocketsphinx/model/en-us

module=$(awk '$1 == "DefaultModule" {print $2}' /etc/speech-dispatcher/speechd.conf 2>/dev/null)
module=${module:-espeak-ng}
need=()
command -v pocketsphinx_batch >/dev/null || need+=(pocketsphinx)
[ -d "$model/en-us" ] || need+=(pocketsphinx-en-us)
command -v sox >/dev/null || need+=(sox)
command -v "$module" >/dev/null || need+=("$module")
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The book's single-word English entries that the recogniser's dictionary knows, once each.
awk -F '\t' '!/^#/ && NF >= 3 && $2 !~ / / {print $2}' "$here/../data/default-book.tsv" |
    awk '!seen[tolower($0)]++' |
    awk 'NR == FNR {known[$1]; next} tolower($0) in known' \
        <(sed 's/(.*//; s/ .*//' "$model/cmudict-en-us.dict") - >"$work/all.txt"
if [ -n "${WORDS:-}" ]; then
    shuf -n "$WORDS" --random-source=<(yes) "$work/all.txt" >"$work/words.txt"
else
    cp "$work/all.txt" "$work/words.txt"
fi
tr 'A-Z' 'a-z' <"$work/all.txt" | sort -u >"$work/grammar-words.txt"
awk 'NR == FNR {want[$1]; next} {w = $1; sub(/\(.*/, "", w)} w in want' \
    "$work/grammar-words.txt" "$model/cmudict-en-us.dict" >"$work/dict.txt"
{
    echo "#JSGF V1.0;"
    echo "grammar words;"
    echo "public <word> = $(paste -sd '|' "$work/grammar-words.txt" | sed 's/|/ | /g');"
} >"$work/words.gram"
total=$(wc -l <"$work/words.txt")

# Writes $1/N.raw (16 kHz, padded) for every word in voice $2.
synthesise() {
    local out=$1 voice=$2 rate
    mkdir -p "$out/raw" "$out/16k"
    if rate=$("$render" --voice "$voice" --words "$work/words.txt" --out "$out/raw"); then
        for raw in "$out"/raw/*.raw; do
            sox -t raw -r "$rate" -e signed -b 16 -c 1 "$raw" \
                -t raw -r 16000 -e signed -b 16 -c 1 "$out/16k/$(basename "$raw")" pad 0.3 0.3
        done
        return
    fi
    local n=0 word
    while IFS= read -r word; do
        n=$((n + 1))
        case $module in
        flite) flite -t "$word" -o "$out/word.wav" ;;
        *) espeak-ng -v en-us -w "$out/word.wav" "$word" ;;
        esac
        sox "$out/word.wav" -t raw -r 16000 -e signed -b 16 -c 1 "$out/16k/$n.raw" pad 0.3 0.3
    done <"$work/words.txt"
}

# Prints how many words of voice $1 were recognised as themselves.
score() {
    local voice=$1 out=$work/$1
    synthesise "$out" "$voice"
    seq "$total" >"$out/ctl"
    pocketsphinx_batch -adcin yes -cepdir "$out/16k" -cepext .raw -ctl "$out/ctl" \
        -jsgf "$work/words.gram" -dict "$work/dict.txt" -hmm "$model/en-us" \
        -hyp "$out/hyp" >"$out/log" 2>&1
    # A hypothesis line: "word (N score)"; N is the word's line.
    awk 'NR == FNR {word[NR] = tolower($0); next}
         {n = $(NF - 1); sub(/^\(/, "", n); if (NF == 3 && $1 == word[n]) ok++}
         END {print ok + 0}' "$work/words.txt" "$out/hyp"
}

line() { awk -v v="$1" -v n="$2" -v m="$total" 'BEGIN {printf "%s: %d/%d (%.1f %%)\n", v, n, m, 100 * n / m}'; }

voices=${VOICES:-$("$render" --list)}
default=$("$render" --list | head -n 1)
{
    echo "voice intelligibility: $total words of the default book, pocketsphinx en-us," \
        "speech service module $module ($(date -u +%FT%TZ))"
    default_score=""
    for voice in $voices; do
        n=$(score "$voice")
        line "$voice" "$n"
        [ "$voice" != "$default" ] || default_score=$n
    done
    [ -n "$default_score" ] || default_score=$(score "$default")
    line "default $default" "$default_score"
} | tee "$report"
