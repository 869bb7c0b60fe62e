#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check must complain about each kind of wrong arrow, and stay quiet on a clean tree.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
put() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "$2" > "$tree/$1"; }

put src/platform/Clock.hpp '#pragma once'
put src/model/Day.hpp '#include "platform/Clock.hpp"'
put src/ui/main/gtk/Gauge.hpp '#include <gtkmm/widget.h>'
put src/ui/settings/Texts.hpp '#include "model/Day.hpp"'
put tests/gui/ui/GaugeTest.cpp '#include "ui/main/gtk/Gauge.hpp"'
"$check" "$tree" || { echo "a clean tree was refused"; exit 1; }

put src/model/Up.hpp '#include "engine/Manager.hpp"'
put src/engine/Manager.hpp '#include <gtk/gtk.h>'
put src/platform/Bus.hpp '#include "platform/dbus/SystemBus.hpp"'
put src/ui/dialog/A.hpp '#include "ui/main/B.hpp"'
put src/ui/main/B.hpp '#include "ui/dialog/A.hpp"'
put src/ui/settings/Rows.hpp '#include "ui/main/gtk/Gauge.hpp"'
put tests/model/UpTest.cpp '#include "ui/main/gtk/Gauge.hpp"'
put src/widgets/Odd.hpp '#pragma once'
out=$("$check" "$tree") && { echo "wrong arrows passed"; exit 1; }
expect() { grep -qF "$1" <<<"$out" || { echo "missed: $1"; echo "$out"; exit 1; }; }
expect "src/model/Up.hpp: model includes engine/Manager.hpp of a higher layer"
expect "src/engine/Manager.hpp: includes a GTK header outside a gtk folder"
expect "src/platform/Bus.hpp: includes platform/dbus/SystemBus.hpp from a folder nested below its own"
expect "folders include each other: ui/dialog -> ui/main"
expect "src/ui/settings/Rows.hpp: includes ui/main/gtk/Gauge.hpp, which may use GTK"
expect "tests/model/UpTest.cpp: includes ui/main/gtk/Gauge.hpp, which may use GTK"
expect "src/widgets/Odd.hpp: widgets is not a layer"
