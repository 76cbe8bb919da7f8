#!/usr/bin/env bash
# The LV2 plug-in's figures beside their peers, in one run:
#   - per 512-frame stereo block: lv2bench (lilv-utils) on the installed
#     plug-in, and relay-bench's PassThroughBlock family, repeated with random
#     interleaving: /ours (the core through PluginCoreCallback as an offline
#     host drives it), /core-as-lv2 (the core driven exactly as the LV2 module
#     drives it, without the module), /lv2 and /lv2-in-place (through the
#     module's run()), /memcpy (the input-to-output copy alone). /lv2 over
#     /core-as-lv2 is what the module itself adds; /lv2 over /ours is the aim.
#   - loading the bundle and instantiating one plug-in in a fresh process:
#     lv2apply on a one-frame file (lilv reads the bundle, instantiates, runs
#     one frame, cleans up), interleaved with the same on a plug-in of another
#     maker installed on this machine (the process's own cost) and lv2info (the
#     bundle read, no instance); medians of wall-clock and CPU time; and
#     relay-bench's Lv2Instantiate/ours and /core in process.
# usage: bench/lv2-bench.sh [BUILD_DIR]   (default: build)
#   RELAY_BENCH_REPETITIONS (10), RELAY_BENCH_PROCESSES (31) set the counts;
#   RELAY_BENCH_CALLGRIND=1 adds the instructions per block of the
#   PassThroughBlock members and of lv2bench's loop under callgrind (a figure
#   the other developers' processes cannot move; a few minutes).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
stereo=http://quillex.example/lv2/tw6relay/stereo
repetitions=${RELAY_BENCH_REPETITIONS:-10}
processes=${RELAY_BENCH_PROCESSES:-31}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private home: nothing lands in the user's folders or settings.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config \
       XDG_CACHE_HOME=$work/home/.cache RELAY_MESSAGE_BOX=log
mkdir -p "$HOME"
DESTDIR=$work/install cmake --install "$build" --component lv2 >/dev/null
bundle=$(find "$work/install" -type d -name tw6relay.lv2)
export LV2_PATH=$(dirname "$bundle")

# The peer of the load figure: the first of these that lilv finds, alone in
# its own LV2_PATH as ours is (a mono plug-in, given a mono file).
peer_path=$work/peer
mkdir -p "$peer_path"
peer_uri=
for candidate in "urn:ardour:a-eq a-eq.lv2" "urn:ardour:a-delay a-delay.lv2"; do
  set -- $candidate
  if [ -d "/usr/lib/lv2/$2" ]; then
    ln -s "/usr/lib/lv2/$2" "$peer_path/$2"
    peer_uri=$1
    break
  fi
done

frames=4800000
block=512
lv2bench_ns() {
  local seconds
  seconds=$(lv2bench -b $block -n $frames $stereo | awk -v uri=$stereo '$2 == uri {print $1}')
  awk -v s="$seconds" -v n=$frames -v b=$block 'BEGIN {printf "%.1f\n", s * 1e9 / (n / b)}'
}
# lv2bench three times around relay-bench's run: the median.
bench_first=$(lv2bench_ns)
"$build/bench/relay-bench" --benchmark_filter='^(PassThroughBlock|Lv2Instantiate)/' \
  --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true --benchmark_format=json \
  --benchmark_out="$work/relay.json" --benchmark_out_format=json >/dev/null
bench_second=$(lv2bench_ns)
bench_third=$(lv2bench_ns)
lv2bench=$(printf '%s\n' "$bench_first" "$bench_second" "$bench_third" | sort -g | sed -n 2p)
# lv2bench reports wall-clock time, which on a shared machine counts the other
# processes (a long run) or the start's cold caches (a short one). Its CPU
# time by difference leaves out both: the median CPU (user + system) of runs
# over 48 M frames less that of runs over 480 k, over the blocks between them.
lv2bench_cpu=$(/usr/bin/python3 - "$stereo" $block 480000 48000000 7 <<'EOF'
import os, statistics, subprocess, sys
uri, block, short, long, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
def cpu(frames):
    child = subprocess.Popen(["lv2bench", "-b", str(block), "-n", str(frames), uri], stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit("lv2bench failed: %d" % status)
    return usage.ru_utime + usage.ru_stime
runs = [(cpu(short), cpu(long)) for _ in range(count)]
difference = statistics.median(r[1] for r in runs) - statistics.median(r[0] for r in runs)
print("%.1f" % (difference * 1e9 / ((long - short) / block)))
EOF
)

# The median of a family member's repetitions in ns: real time, or with a
# second argument cpu_time (the machine is shared: the wall clock counts the
# other developers' processes too).
median() { /usr/bin/python3 -c "
import json, sys
runs = json.load(open('$work/relay.json'))['benchmarks']
name = sys.argv[1]
r = [b for b in runs if b['name'].endswith('_median') and
     (b['name'] == name + '_median' or b['name'].startswith(name + '/'))][0]
scale = {'ns': 1, 'us': 1e3, 'ms': 1e6}[r['time_unit']]
print('%.1f' % (r[sys.argv[2]] * scale))" "$1" "${2:-real_time}"; }

sox -n -r 48000 -c 2 -e floating-point -b 32 "$work/one.wav" trim 0 1s
sox -n -r 48000 -c 1 -e floating-point -b 32 "$work/mono.wav" trim 0 1s
# Fresh processes, interleaved: per command the median wall-clock and CPU
# (user + system) milliseconds, "name wall cpu" a line.
/usr/bin/python3 - "$processes" "$work" "$stereo" "$LV2_PATH" "$peer_path" "$peer_uri" > "$work/processes.txt" <<'EOF'
import os, statistics, subprocess, sys, time
count, work, stereo, ours, peer_path, peer = int(sys.argv[1]), *sys.argv[2:]
commands = {"apply-ours": (ours, ["lv2apply", "-i", work + "/one.wav", "-o", work + "/out1.wav", stereo]),
            "info-ours": (ours, ["lv2info", stereo])}
if peer:
    commands["apply-peer"] = (peer_path, ["lv2apply", "-i", work + "/mono.wav", "-o", work + "/out2.wav", peer])
times = {name: ([], []) for name in commands}
for _ in range(count):
    for name, (path, argv) in commands.items():
        started = time.perf_counter()
        child = subprocess.Popen(argv, env=dict(os.environ, LV2_PATH=path),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        if status != 0:
            sys.exit("%s failed: %d" % (" ".join(argv), status))
        times[name][0].append((time.perf_counter() - started) * 1e3)
        times[name][1].append((usage.ru_utime + usage.ru_stime) * 1e3)
for name, (wall, cpu) in times.items():
    print(name, "%.2f" % statistics.median(wall), "%.2f" % statistics.median(cpu))
EOF
process() { awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$work/processes.txt"; }

row() { printf '%-46s %12s %12s\n' "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
printf '\n'
row "figure, per 512-frame stereo block" "wall ns" "CPU ns"
row "lv2bench (wall: median of 3; CPU: by difference)" "$lv2bench" "$lv2bench_cpu"
for member in ours core-as-lv2 lv2 lv2-in-place memcpy; do
  row "PassThroughBlock/$member" "$(median PassThroughBlock/$member)" "$(median PassThroughBlock/$member cpu_time)"
done
row "lv2 / ours (aim <= 1.25)" "$(ratio "$(median PassThroughBlock/lv2)" "$(median PassThroughBlock/ours)")" \
    "$(ratio "$(median PassThroughBlock/lv2 cpu_time)" "$(median PassThroughBlock/ours cpu_time)")"
row "lv2bench / ours (aim <= 1.25)" "$(ratio "$lv2bench" "$(median PassThroughBlock/ours)")" \
    "$(ratio "$lv2bench_cpu" "$(median PassThroughBlock/ours cpu_time)")"
row "lv2 / core-as-lv2 (the module's own)" \
    "$(ratio "$(median PassThroughBlock/lv2)" "$(median PassThroughBlock/core-as-lv2)")" \
    "$(ratio "$(median PassThroughBlock/lv2 cpu_time)" "$(median PassThroughBlock/core-as-lv2 cpu_time)")"
row "lv2-in-place / core-as-lv2" \
    "$(ratio "$(median PassThroughBlock/lv2-in-place)" "$(median PassThroughBlock/core-as-lv2)")" \
    "$(ratio "$(median PassThroughBlock/lv2-in-place cpu_time)" "$(median PassThroughBlock/core-as-lv2 cpu_time)")"
if [ "${RELAY_BENCH_CALLGRIND:-0}" = 1 ]; then
  # Instructions per block: the inclusive count of the per-block call (the
  # module's run(), else PluginInstance::process) over its number of calls.
  run_function='Lv2::RelayPlugin::run(unsigned int)'
  # The inclusive count of a function in a callgrind output over its calls.
  per_call() {
    callgrind_annotate --tree=caller --inclusive=yes --threshold=100 "$1" 2>/dev/null | awk -v f="$2" '
      index($0, f) && $0 ~ /\*  / {gsub(",", "", $1); if ($1 + 0 > total) total = $1 + 0}
      index($0, f) && $0 ~ /(<|=>) / {for (i = 1; i <= NF; ++i) if ($i ~ /^\([0-9,]+x\)$/) {
        n = $i; gsub("[(x),]", "", n); if (n + 0 > calls) calls = n + 0}}
      END {printf "%.0f", total / calls}'
  }
  instructions() {
    local out=$work/callgrind.$1 function
    case $1 in
      lv2 | lv2-in-place) function=$run_function ;;
      *) function='Wrapper::PluginInstance::process(unsigned long, float* const*, Wrapper::Transport const&, bool, bool)' ;;
    esac
    valgrind --tool=callgrind --callgrind-out-file="$out" "$build/bench/relay-bench" \
      --benchmark_filter="^PassThroughBlock/$1\$" --benchmark_min_time=0.3 >/dev/null 2>&1
    per_call "$out" "$function"
  }
  # lv2bench's whole loop per block: the program's total over 11000 blocks
  # less that over 1000 (which leaves out loading and instantiating), over
  # the 10000 blocks between; and run()'s share, per call.
  lv2bench_total() {
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.lv2bench.$1" \
      lv2bench -b $block -n $(($1 * block)) $stereo 2>&1 >/dev/null |
      awk '/Collected :/ {gsub(",", "", $NF); print $NF}'
  }
  lv2bench_short=$(lv2bench_total 1000)
  lv2bench_long=$(lv2bench_total 11000)
  lv2bench_ir=$(awk -v a="$lv2bench_short" -v b="$lv2bench_long" 'BEGIN {printf "%.0f", (b - a) / 10000}')
  lv2bench_run_ir=$(per_call "$work/callgrind.lv2bench.11000" "$run_function")
  ours_ir=$(instructions ours)
  printf '\n'
  row "instructions per block (callgrind)" "Ir" "/ ours"
  row "PassThroughBlock/ours" "$ours_ir" "1.000"
  for member in core-as-lv2 lv2 lv2-in-place; do
    ir=$(instructions $member)
    row "PassThroughBlock/$member" "$ir" "$(ratio "$ir" "$ours_ir")"
  done
  row "lv2bench, its whole loop" "$lv2bench_ir" "$(ratio "$lv2bench_ir" "$ours_ir")"
  row "  of which the plug-in's run()" "$lv2bench_run_ir" "$(ratio "$lv2bench_run_ir" "$ours_ir")"
  lv2bench_own=$((lv2bench_ir - lv2bench_run_ir))
  row "  of which lv2bench's own (its URI lookups)" "$lv2bench_own" "$(ratio "$lv2bench_own" "$ours_ir")"
fi
printf '\n'
row "figure, a fresh process ($processes each)" "wall ms" "CPU ms"
row "lv2apply, ours, one frame (aim < 50 ms)" "$(process apply-ours 2)" "$(process apply-ours 3)"
if [ -n "$peer_uri" ]; then
  row "lv2apply, peer $peer_uri" "$(process apply-peer 2)" "$(process apply-peer 3)"
fi
row "lv2info, ours (no instance)" "$(process info-ours 2)" "$(process info-ours 3)"
to_ms() { awk -v a="$1" 'BEGIN {printf "%.2f", a / 1e6}'; }
row "Lv2Instantiate/ours (in process)" "$(to_ms "$(median Lv2Instantiate/ours)")" \
    "$(to_ms "$(median Lv2Instantiate/ours cpu_time)")"
row "Lv2Instantiate/core (in process)" "$(to_ms "$(median Lv2Instantiate/core)")" \
    "$(to_ms "$(median Lv2Instantiate/core cpu_time)")"
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
