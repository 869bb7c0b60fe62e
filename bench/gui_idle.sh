#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle: the Quorvel window on a realistic state, traced for three minutes with strace. Prints the
# system calls per second in which any thread of the process made one: apart from the moment
# strace attaches, only the 60-second update timer should appear.
#   bench/gui_idle.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
seconds=${2:-180}
command -v strace > /dev/null || { echo "gui_idle.sh needs strace (apt-get install strace)" >&2; exit 2; }
. "$(dirname "$0")/gui_home.sh"
/usr/bin/python3 "$(dirname "$0")/../tests/gui/support/virtual_display.py" dbus-run-session -- bash -c '
  "'"$build"'/app/quorvel" > /dev/null 2>&1 &
  pid=$!
  sleep 15   # start-up and the first update are not idle
  timeout -s INT '"$seconds"' strace -f -tt -p $pid -o "'"$home"'/trace" 2> /dev/null || true
  kill $pid'
echo "system calls per second with any, over $seconds idle seconds:"
awk '{ print substr($2, 1, 8) }' "$home/trace" | uniq -c
