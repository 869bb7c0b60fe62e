#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What an install lays down, installed into a temporary DESTDIR as a packager does.
#   install_test.sh installed BUILD_DIR       the build under test: layout, validators, Exec lines
#   install_test.sh cli-only SOURCE_DIR BUILD_DIR WORK
#                                             a build without the window: exactly the command line
set -euo pipefail
mode=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The files of the command line, relative to the prefix; $1 is the library directory, $2 the
# documentation's (a package puts the README under its own name).
cli_files() {
  printf '%s\n' bin/quorvelctl "$1/quorvel/quorvel-bus.so" "$1/quorvel/quorvel-numbers.so" \
    "$1/quorvel/quorvel-sqlite.so" "$1/quorvel/quorvel-chart.so" \
    share/man/man1/quorvelctl.1 share/bash-completion/completions/quorvelctl \
    share/zsh/site-functions/_quorvelctl share/fish/vendor_completions.d/quorvelctl.fish \
    share/systemd/user/quorvel-watch.service share/systemd/user/quorvel-sample.service \
    share/systemd/user/quorvel-sample.timer "$2/README.md"
  # The command line speaks the languages of the catalogues too.
  local lang
  while read -r lang; do
    [[ -n $lang ]] && printf 'share/locale/%s/LC_MESSAGES/quorvel.mo\n' "$lang"
  done < "$3/po/LINGUAS"
}

# Each unit names an installed program by its full path under the prefix.
check_units() {  # prefix
  local exec
  for unit in quorvel-watch.service quorvel-sample.service; do
    exec=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$dest$1/share/systemd/user/$unit")
    [[ $exec == "$1/bin/quorvelctl" ]] || fail "$unit runs '$exec'"
  done
}

case "$mode" in
  cli-only)
    src=$2 build=$3 work=$4
    rm -rf "$work"
    # The compiler settings of the build under test, so that the compiler cache serves the objects.
    setting() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
    cmake -S "$src" -B "$work" -G Ninja -DQUORVEL_GUI=OFF -DQUORVEL_BENCH=OFF -DBUILD_TESTING=OFF \
      -DCMAKE_BUILD_TYPE="$(setting CMAKE_BUILD_TYPE)" -DQUORVEL_WERROR="$(setting QUORVEL_WERROR)" \
      -DQUORVEL_SANITIZE="$(setting QUORVEL_SANITIZE)" \
      -DCMAKE_INSTALL_PREFIX=/opt/q -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
    # What the install needs, not the libraries of the window's screens.
    cmake --build "$work" --target quorvelctl quorvel_chart quorvel-man quorvel_bus quorvel_numbers quorvel_sqlite \
      quorvel-translations >/dev/null
    DESTDIR=$dest cmake --install "$work" >/dev/null
    diff <(cli_files lib share/doc/quorvel "$src" | sort) <(cd "$dest/opt/q" && find . -type f -printf '%P\n' | sort) \
      || fail "a command-line-only install lays down other files (< wanted, > installed)"
    check_units /opt/q
    "$dest/opt/q/bin/quorvelctl" --version | grep -q '^quorvelctl ' || fail "the installed quorvelctl does not run"
    MANWIDTH=80 man -l "$dest/opt/q/share/man/man1/quorvelctl.1" 2>&1 | grep -q 'quorvelctl' \
      || fail "the manual page does not render"
    rm -rf "$work"
    ;;
  installed)
    build=$2
    DESTDIR=$dest cmake --install "$build" >/dev/null
    prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
    libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
    docdir=$(sed -n 's/^CMAKE_INSTALL_DOCDIR:PATH=//p' "$build/CMakeCache.txt")
    root=$dest$prefix
    while read -r f; do [[ -f $root/$f ]] || fail "not installed: $f"; done < <(cli_files "$libdir" "$docdir" "$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")")
    [[ -z $(find "$root/bin" -name '*.so') ]] || fail "modules in bin/: $(ls "$root/bin")"
    check_units "$prefix"
    if grep -q '^QUORVEL_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
      id=org.quorvel.Quorvel
      for f in bin/quorvel "$libdir/quorvel/quorvel-reference.so" share/man/man1/quorvel.1 share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
               share/dbus-1/services/$id.service share/icons/hicolor/scalable/apps/$id.svg \
               share/icons/hicolor/256x256/apps/$id.png; do
        [[ -f $root/$f ]] || fail "not installed: $f"
      done
      desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
      # Errors and warnings fail; pedantic notes (the upper-case letter of the fixed id) are shown.
      appstreamcli validate --pedantic --no-net --strict "$root/share/metainfo/$id.metainfo.xml" \
        || fail "appstreamcli validate"
      for f in share/applications/$id.desktop share/dbus-1/services/$id.service; do
        exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/$f")
        [[ $exec == "$prefix/bin/quorvel" && -x $dest$exec ]] || fail "$f runs '$exec'"
      done
    fi
    ;;
  *) fail "unknown mode $mode" ;;
esac
echo "install ($mode): all checks pass"
