#!/usr/bin/env bash
# How well the meanings proposed from the installed dictionaries (FreeDict eng-jpn and
# EDICT) match the default book's own: the share of the book's words whose meaning is the
# first proposal, and among the first three; the time to load the dictionaries and to
# propose for one word (wall clock, and this process's processor time, which a busy
# machine does not inflate).
#
# Agreement rule: a proposal agrees with the book's meaning when, after removing "～" and
# bracketed asides (（…）, (…), […], ［…］, 〔…〕) from both, it equals one of the
# meaning's parts (split at 、，,；;) or one of them contains the other. "持つ" agrees with
# "持つ、所有する" and with "～を持つ", not with "～を持っている".
# The ranking never sees the book: each word is looked up by its English text alone.
#
# Usage: bench/meaning_proposals.sh [BUILD_DIR] [--misses]   (default: build/bench)
#   --misses also lists each word whose meaning is not the first proposal.
# The report also goes to BUILD_DIR/meaning-proposals-report.txt.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
shift || true
program=$build/bench/bench_meaning_proposals
[ -x "$program" ] || { echo "missing $program: build the bench preset first" >&2; exit 1; }
"$program" "$here/../data/default-book.tsv" "$@" | tee "$build/meaning-proposals-report.txt"
