# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the window benchmarks: a temporary home with a realistic state, and the display
# settings of the GUI tests. Needs $build; sets $home and removes it on exit.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state
export QUORVEL_IDIOM=phone GDK_BACKEND=x11 GSK_RENDERER=cairo GTK_A11Y=none NO_AT_BRIDGE=1
"$build/tests/make_demo_state" > /dev/null
