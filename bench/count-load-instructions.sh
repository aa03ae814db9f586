#!/usr/bin/env bash
# Counts the instructions that loading a mailbox executes per contact, at 1,000, 10,000 and
# 100,000 contacts, under callgrind. Unlike a time, the count does not depend on the caches, the
# other core or the machine's load: equal counts per contact mean the work per contact is the
# same at every size. Takes a few minutes (the 100,000-contact load runs about 50 times slower).
#
# usage: bench/count-load-instructions.sh [BENCH_BINARY]   (default: the release build's)
set -euo pipefail
cd "$(dirname "$0")/.."

binary=${1:-build/release/bench/bench_mailbox_load}
if ! command -v valgrind >/dev/null || ! command -v callgrind_annotate >/dev/null; then
  echo "count-load-instructions: needs valgrind (callgrind and callgrind_annotate)" >&2
  exit 1
fi
if [ ! -x "$binary" ]; then
  echo "count-load-instructions: no benchmark at $binary (run ./dev bench first)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%-8s %12s %12s %12s\n' contacts parse build load
for n in 1000 10000 100000; do
  out=$work/callgrind.$n
  # Only the two halves of a load are counted, not the making of the JSON text.
  valgrind --tool=callgrind --callgrind-out-file="$out" \
    --toggle-collect='plexa::sim::ParseMailbox*' --toggle-collect='plexa::sim::BuildSession*' \
    "$binary" --benchmark_filter="BM_MailboxLoad/$n\$" >"$work/log.$n" 2>&1
  # The benchmark loads once untimed and then as often as it times: the calls of BuildSession
  # say how many loads ran, callgrind_annotate gives each half's inclusive count.
  # Callgrind names a function in full once and by its number after that: find the number.
  id=$(grep -o '^c\?fn=([0-9]*) plexa::sim::BuildSession(' "$out" | head -1 | grep -o '([0-9]*)')
  loads=$(grep -A1 "^cfn=$id" "$out" | awk -F'[= ]' '/^calls=/ { s += $2 } END { print s + 0 }')
  if [ "$loads" -eq 0 ]; then
    echo "count-load-instructions: no load counted at $n contacts (see $work/log.$n)" >&2
    trap - EXIT
    exit 1
  fi
  counts=$(callgrind_annotate --inclusive=yes "$out" 2>/dev/null |
    awk '/plexa::sim::ParseMailbox\(/ { gsub(",", "", $1); p = $1 }
         /plexa::sim::BuildSession\(/ { gsub(",", "", $1); b = $1 }
         END { print p, b }')
  read -r parse build <<<"$counts"
  awk -v n="$n" -v l="$loads" -v p="$parse" -v b="$build" \
    'BEGIN { printf "%-8d %12.0f %12.0f %12.0f\n", n, p / l / n, b / l / n, (p + b) / l / n }'
done
echo "(instructions per contact)"
