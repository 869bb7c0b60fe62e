#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# How fast the command line is against floors that do only the unavoidable part of each command
# (floor_json, floor_chart) and the peers vnstat --json and vnstati -d (the packages vnstat and
# vnstati), whole processes, on the demo state: medians of alternating runs.
#
#   bench/cli_speed.sh [BUILD_DIR] [OLD_PROGRAMS_DIR]
#
# BUILD_DIR (default: build) needs the targets quorvelctl (with its modules), make_demo_state,
# floor_json and floor_chart (configure with -DQUORVEL_BENCH=ON). OLD_PROGRAMS_DIR, when given,
# holds another quorvelctl with what it runs for charts (say, of the main branch: quorvelctl-chart)
# measured the same way.
set -eu
build=${1:-build}
old=${2:-}
runs=${RUNS:-41}
for f in "$build/app/quorvelctl" "$build/tests/make_demo_state" "$build/bench/floor_json" "$build/bench/floor_chart"; do
    [ -x "$f" ] || { echo "cli_speed.sh: $f is missing; build it first" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export LANG=C.UTF-8 TZ=${TZ:-Europe/Berlin}
"$build/tests/make_demo_state" >/dev/null
# The peers, Debian's vnstat and vnstati, on a database of their own (one link, as a fresh
# install has): run beside the floors so the table can be repeated.
vnconf=""
if command -v vnstatd >/dev/null && command -v vnstati >/dev/null; then
    vnconf="$work/vnstat.conf"
    printf 'DatabaseDir "%s/vnstat"\nUseLogging 0\n' "$work" > "$vnconf"
    mkdir -p "$work/vnstat"
    vnstatd --config "$vnconf" --initdb >/dev/null && vnstat --config "$vnconf" --add -i lo >/dev/null
fi
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores," \
     "$(uname -r), load $(cut -d' ' -f1-3 /proc/loadavg)"
exec python3 - "$build" "$old" "$runs" "$work" "$vnconf" <<'PY'
import os, statistics, subprocess, sys, time

build, old, runs, work, vnconf = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
state = os.path.join(os.environ["XDG_DATA_HOME"], "quorvel", "statestg")
ctl = os.path.join(build, "app", "quorvelctl")
floors = os.path.join(build, "bench")
null = os.open(os.devnull, os.O_WRONLY)

def once(argv, out=null):
    start = time.perf_counter_ns()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, out, 1)])
    _, status = os.waitpid(pid, 0)
    elapsed = (time.perf_counter_ns() - start) / 1e6
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"cli_speed.sh: {' '.join(argv)} failed")
    return elapsed

def output_size(argv):
    path = os.path.join(work, "out")
    with open(path, "wb") as f:
        once(argv, f.fileno())
    return os.path.getsize(path)

def compare(label, subjects):
    """Runs the subjects alternately; prints each median and its ratio to the last (the floor)."""
    times = [[] for _ in subjects]
    for _ in range(runs):
        for i, (_, argv) in enumerate(subjects):
            times[i].append(once(argv))
    floor = statistics.median(times[-1])
    print(f"\n{label} (medians of {runs} alternating runs)")
    for (name, _), t in zip(subjects, times):
        m = statistics.median(t)
        print(f"  {name:<48} {m:7.2f} ms  {m / floor:5.2f}x")

def peak_kib(argv):
    """Peak resident memory in KiB as /usr/bin/time reports it (the median of 11 runs)."""
    peaks = []
    for _ in range(11):
        r = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True, check=True)
        peaks.append(int(r.stderr.strip().splitlines()[-1]))
    return statistics.median(peaks)

def programs():
    yield "quorvelctl", ctl
    if old:
        yield "quorvelctl (old)", os.path.join(old, "quorvelctl")

status_bytes = output_size([ctl, "status", "--json"])
export_bytes = output_size([ctl, "export", "--json"])
compare("status --json", [(f"{n} status --json", [p, "status", "--json"]) for n, p in programs()]
        + [("floor_json", [os.path.join(floors, "floor_json"), state, str(status_bytes)])])
compare("export --json", [(f"{n} export --json", [p, "export", "--json"]) for n, p in programs()]
        + [("floor_json", [os.path.join(floors, "floor_json"), state, str(export_bytes)])])
png = lambda name: os.path.join(work, name + ".png")
compare("chart 500 x 458 px",
        [(f"{n} chart --size 250x229 --scale 2", [p, "chart", "--size", "250x229", "--scale", "2", "--output", png(n.replace(" ", "_"))])
         for n, p in programs()]
        + [("floor_chart --cairo", [os.path.join(floors, "floor_chart"), "--cairo", png("floor_cairo")]),
           ("floor_chart --libpng", [os.path.join(floors, "floor_chart"), "--libpng", png("floor_libpng")])])
if vnconf:  # the peer last, so that the ratios are to it
    compare("status --json beside vnstat --json", [(f"{n} status --json", [p, "status", "--json"]) for n, p in programs()]
            + [("vnstat --json", ["/usr/bin/vnstat", "--config", vnconf, "--json"])])
    compare("chart beside vnstati -d",
            [(f"{n} chart --size 250x229 --scale 2", [p, "chart", "--size", "250x229", "--scale", "2", "--output", png("peer")])
             for n, p in programs()]
            + [("vnstati -d", ["/usr/bin/vnstati", "--config", vnconf, "-d", "-i", "lo", "-o", png("vnstati")])])
    # vnstati draws 500 x 98 pixels, the chart 500 x 458: vnstati scaled to the chart's pixel count.
    import math, struct
    def pixels(path):
        with open(path, "rb") as f:
            width, height = struct.unpack(">II", f.read(24)[16:24])
        return width * height
    percent = round(100 * math.sqrt(pixels(png("peer")) / pixels(png("vnstati"))))
    scaled = ["/usr/bin/vnstati", "--config", vnconf, "-d", "-i", "lo", "--scale", str(percent), "-o", png("vnstati_scaled")]
    once(scaled)
    compare(f"chart beside vnstati -d at the same pixel count ({pixels(png('peer'))} and {pixels(png('vnstati_scaled'))})",
            [(f"{n} chart --size 250x229 --scale 2", [p, "chart", "--size", "250x229", "--scale", "2", "--output", png("peer")])
             for n, p in programs()]
            + [(f"vnstati -d --scale {percent}", scaled)])
else:
    print("\n(no vnstat and vnstati installed: the peers are left out)")
print("\nPeak resident memory (medians of 11 runs)")
for name, argv in [(f"{n} status --json", [p, "status", "--json"]) for n, p in programs()] + [
        ("floor_json", [os.path.join(floors, "floor_json"), state, str(status_bytes)])]:
    print(f"  {name:<48} {peak_kib(argv) / 1024:5.1f} MiB")
print("\nPNG sizes")
for name in sorted(os.listdir(work)):
    if name.endswith(".png"):
        print(f"  {name:<30} {os.path.getsize(os.path.join(work, name)):8d} bytes")
PY
