#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Resident memory of `quorvelctl watch` on a private system bus: without GeoClue following
# (places off), following Debian's GeoClue fed one NMEA fix a second (places on), and after two
# moves of 1.1 km, each booking what was used before it to a new place (places moved).
# Beside them the floor: a bare GIO program on the same bus (bench/floor_bus.c), which is what any
# watcher that talks GDBus pays before doing anything.
# Usage: bench/watch_memory.sh BUILD_DIR [RUNS]   (configure with -DQUORVEL_BENCH=ON; as root:
# GeoClue runs in a mount namespace of its own). Prints each run, then the medians.
# QUORVEL_WATCH_WRAPPER (a command the watcher runs under) and QUORVEL_WATCH_SETTLE (seconds
# before measuring, 5) serve tools/hot-layout, which records what the watcher runs (in any build:
# the floor is left out then).
set -eu
build=$(cd "$1" && pwd)
ctl="$build/app/quorvelctl"
floor="$build/bench/floor_bus"
runs=${2:-5}
work=$(mktemp -d)
pids=""
cleanup() { for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

cat > "$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>system</type><listen>unix:path=$work/bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow user="*"/><allow own="*"/><allow send_destination="*"/>
<allow receive_sender="*"/></policy></busconfig>
CONF
cat > "$work/geoclue.conf" <<CONF
[agent]
whitelist=geoclue-demo-agent
[network-nmea]
enable=true
nmea-socket=$work/nmea
[3g]
enable=false
[cdma]
enable=false
[modem-gps]
enable=false
[compass]
enable=false
[wifi]
enable=false
url=http://127.0.0.1:9/
[org.quorvel.Quorvel]
allowed=true
system=true
users=
CONF
# A receiver: one GGA sentence a second, at the latitude (degrees north of 50, at 8 east) and with
# the clock offset (seconds) that the file names; each move is stamped a minute after the last,
# so that GeoClue's time threshold has passed.
cat > "$work/feed.py" <<'PY'
import socket, sys, time
srv = socket.socket(socket.AF_UNIX); srv.bind(sys.argv[1]); srv.listen(4); srv.setblocking(False)
peers = []
while True:
    try: peers.append(srv.accept()[0])
    except BlockingIOError: pass
    north, offset = open(sys.argv[2]).read().split()
    t = time.gmtime(time.time() - 3600 + int(offset))
    body = "GPGGA,%02d%02d%02d.00,50%07.4f,N,00800.0000,E,1,08,0.9,100.0,M,46.9,M,," % (
        t.tm_hour, t.tm_min, t.tm_sec, float(north) * 60)
    sum = 0
    for c in body: sum ^= ord(c)
    line = ("$%s*%02X\r\n" % (body, sum)).encode()
    for p in list(peers):
        try: p.sendall(line)
        except OSError: peers.remove(p)
    time.sleep(1)
PY

dbus-daemon --config-file="$work/bus.conf" --nofork & pids="$pids $!"
echo "0 0" > "$work/position"
python3 "$work/feed.py" "$work/nmea" "$work/position" & pids="$pids $!"
while [ ! -S "$work/bus" ] || [ ! -S "$work/nmea" ]; do sleep 0.1; done
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/bus"
unshare -m sh -c "mount --bind $work/geoclue.conf /etc/geoclue/geoclue.conf && exec /usr/libexec/geoclue -t 0" \
    2>/dev/null & pids="$pids $!"
sleep 1
/usr/libexec/geoclue-2.0/demos/agent >/dev/null 2>&1 & pids="$pids $!"

export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
    QUORVEL_COUNTERS="$work/counters" QUORVEL_BOOT_ID_FILE="$work/boot_id"
mkdir -p "$HOME"; echo a > "$work/boot_id"; echo "wwan0 0 0" > "$work/counters"
"$ctl" setup --plan 1000 --start-day 1 >/dev/null

# VmRSS, then Pss, Private_Clean and Private_Dirty, all in KiB, of the process PID.
resident() {
    printf '%s %s\n' "$(awk '/^VmRSS/ {print $2}' /proc/$1/status)" \
        "$(awk '/^(Pss|Private_Clean|Private_Dirty):/ {printf "%s ", $2}' /proc/$1/smaps_rollup)"
}
offset=0 used=0
move() {  # 1.1 km north of the last place, with 1 MB used there
    offset=$((offset + 60)) used=$((used + 1000000))
    echo "wwan0 $used 0" > "$work/counters"
    echo "$1 $offset" > "$work/position"
    sleep 3
}
measure() {
    "$ctl" limits --places "${1%-moved}"
    echo "0 $offset" > "$work/position"
    ${QUORVEL_WATCH_WRAPPER:-} "$ctl" watch >/dev/null 2>&1 & watcher=$!
    sleep "${QUORVEL_WATCH_SETTLE:-5}"  # GeoClue's first fix and a few sentences after it
    if [ "$1" = on-moved ]; then move 0.01; move 0.02; fi
    # Most of the resident set is library text shared with every other GIO program; the
    # proportional share (Pss) and what is the watcher's alone (Private_*) tell its real cost.
    echo "places-$1 $(resident $watcher)" >> "$work/runs"
    kill -TERM "$watcher"; wait "$watcher" || true
    if [ "$1" = on-moved ]; then  # the moves were booked: what the last run's places hold
        "$ctl" status --json | python3 -c 'import json, sys
print("places:", " ".join("%.2f N %d B" % (p["latitude"], p["bytes"]) for p in json.load(sys.stdin)["locations"]))' \
            > "$work/places"
    fi
}
measure_floor() {
    "$floor" & bare=$!
    sleep 2
    echo "floor $(resident $bare)" >> "$work/runs"
    kill "$bare"; wait "$bare" || true
}
i=0
while [ $i -lt "$runs" ]; do  # alternating, so that a busy moment hits all three alike
    measure off; measure on
    [ -n "${QUORVEL_WATCH_WRAPPER:-}" ] || measure on-moved  # the recording has its own sample
    [ -n "${QUORVEL_WATCH_WRAPPER:-}" ] || measure_floor  # a recording needs no floor
    i=$((i + 1))
done
cat "$work/runs"
[ ! -f "$work/places" ] || cat "$work/places"
echo "median KiB: what VmRSS Pss Private_Clean Private_Dirty"
for what in places-off places-on places-on-moved floor; do
    printf '%s' "$what"
    for col in 2 3 4 5; do
        printf ' %s' "$(awk -v w="$what" -v c="$col" '$1 == w {print $c}' "$work/runs" | sort -n \
            | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')"
    done
    echo
done
