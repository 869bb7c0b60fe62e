#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs gui_startup for the Quorvel window (on a realistic state) and gui_bare, the bare window in
# a program of its own, N times each, alternating, on a virtual display, and prints the medians
# and their ratios. Each is timed from its launch, loading its libraries included.
#   bench/gui_startup.sh BUILD_DIR [N]
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
runs=${2:-15}
. "$(dirname "$0")/gui_home.sh"
/usr/bin/python3 "$(dirname "$0")/../tests/gui/support/virtual_display.py" dbus-run-session -- bash -c '
  for i in $(seq '"$runs"'); do
    echo "quorvel $(QUORVEL_BENCH_LAUNCH_NS=$(date +%s%N) "'"$build"'/bench/gui_startup" quorvel 2>/dev/null)"
    echo "bare $(QUORVEL_BENCH_LAUNCH_NS=$(date +%s%N) "'"$build"'/bench/gui_bare" 2>/dev/null)"
  done' > "$home/runs"
# Medians with sort, so that any awk will do.
median() {  # kind column
  awk -v k="$1" -v c="$2" '$1 == k { print $c }' "$home/runs" | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
qm=$(median quorvel 2) bm=$(median bare 2) qk=$(median quorvel 3) bk=$(median bare 3)
awk -v qm="$qm" -v bm="$bm" -v qk="$qk" -v bk="$bk" 'BEGIN {
  printf "first frame: quorvel %.1f ms, bare %.1f ms, ratio %.2f (goal at most 1.5)\n", qm, bm, qm / bm
  printf "peak RSS:    quorvel %d KiB, bare %d KiB, ratio %.2f (goal at most 1.3)\n", qk, bk, qk / bk
}'
