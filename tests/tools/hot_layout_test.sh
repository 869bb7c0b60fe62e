#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The linked BINARY gathers what its layout SCRIPT names: the script was applied, and most of the
# functions it was written for still exist under their names. Renamed or removed functions leave
# the watcher's code spread over the binary again, which no other test would notice.
#   hot_layout_test.sh BINARY SCRIPT
set -euo pipefail
binary=$1 script=$2
fail() { echo "FAIL: $*"; exit 1; }

# readelf -SW: "[Nr] Name Type Address Off Size ..."; the bracket may stand apart ("[ 9]").
read -r start size < <(readelf -SW "$binary" | sed 's/^ *\[ *[0-9]*\] *//' \
  | awk '$1 == ".text.resident" {print $3, $5}') || true
[[ -n ${start:-} ]] || fail "$binary has no .text.resident section: $script was not applied"

written=$(sed -n 's/.*the \([0-9]*\) functions that .*/\1/p' "$script" | head -n 1)
[[ -n $written ]] || fail "$script does not say how many functions it was written for"
# Elsewhere names differ where types do (size_t on 32-bit machines): gathering less is no fault.
machine=$(sed -n 's/^ *on \([^ ,]*\), gathered .*/\1/p' "$script" | head -n 1)
[[ -n $machine ]] || fail "$script does not say which machine it was recorded on"
if [[ $machine != "$(uname -m)" ]]; then
  echo "SKIP: $script was recorded on $machine"
  exit 77
fi

# Function symbols inside the gathered section (aliases of one body count once), leaving out the
# static constructors, which the script gathers by their section and not by name.
# Addresses as nm prints them, 16 hex digits, compare as strings (mawk has no hex numbers).
lo=$(printf '%016x' $((16#$start))) hi=$(printf '%016x' $((16#$start + 16#$size)))
gathered=$(nm --defined-only "$binary" | awk -v lo="$lo" -v hi="$hi" '
  $2 ~ /^[tTwW]$/ && $1 >= lo && $1 < hi && $3 !~ /^_GLOBAL__sub_I_/ { seen[$1] = 1 }
  END { n = 0; for (a in seen) n++; print n }')

# What runs while the watcher waits is gathered first, between two symbols that the hand-back of
# its code pages reads (a module's by name at run time, so they must be in its dynamic table).
symbols=$(if [[ $binary == *.so ]]; then nm -D --defined-only "$binary"; else nm --defined-only "$binary"; fi)
begin=$(awk '$3 == "quorvel_waiting_text_begin" {print $1}' <<<"$symbols")
end=$(awk '$3 == "quorvel_waiting_text_end" {print $1}' <<<"$symbols")
[[ -n $begin && -n $end ]] || fail "$binary does not name the code it runs while waiting"
((16#$begin == 16#$start && 16#$end > 16#$begin && 16#$end <= 16#$start + 16#$size)) \
  || fail "the waiting code ($begin-$end) is not at the start of .text.resident"
echo "$binary: $((16#$end - 16#$begin)) bytes run while waiting"

# A script names what ran in the -O2 and the -O3 builds together, and a local function's name
# may match one in several files, so a current script gathers about as many as it names.
echo "$binary: $gathered of the $written functions $script was written for, $((16#$size)) bytes"
((gathered * 100 >= written * 60)) || fail "only $gathered of $written: run tools/hot-layout again"
