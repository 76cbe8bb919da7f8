#!/usr/bin/env bash
# The LV2 plug-in's figures beside their peers, in one run:
#   - lv2bench (lilv-utils) on the installed stereo plug-in, 512-frame blocks,
#     beside relay-bench's PassThroughBlock/ours (the same block through
#     PluginCoreCallback) and PassThroughBlock/lv2 (through the module's run());
#   - loading the bundle and instantiating one plug-in: lv2apply on a one-frame
#     file (a fresh process: lilv reads the bundle's Turtle, instantiates, runs
#     one frame, cleans up) beside lv2info (the same bundle read, no instance),
#     and relay-bench's Lv2Instantiate/ours and /core.
# usage: bench/lv2-bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
stereo=http://quillex.example/lv2/tw6relay/stereo

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private home: nothing lands in the user's folders or settings.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config \
       XDG_CACHE_HOME=$work/home/.cache RELAY_MESSAGE_BOX=log
mkdir -p "$HOME"
DESTDIR=$work/install cmake --install "$build" --component lv2 >/dev/null
bundle=$(find "$work/install" -type d -name tw6relay.lv2)
export LV2_PATH=$(dirname "$bundle")

frames=4800000
block=512
seconds=$(lv2bench -b $block -n $frames $stereo | awk -v uri=$stereo '$2 == uri {print $1}')
lv2bench_ns=$(awk -v s="$seconds" -v n=$frames -v b=$block 'BEGIN {printf "%.1f", s * 1e9 / (n / b)}')

"$build/bench/relay-bench" --benchmark_filter='^(PassThroughBlock|Lv2Instantiate)/' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=json \
  --benchmark_out="$work/relay.json" --benchmark_out_format=json >/dev/null
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
ours_ns=$(median PassThroughBlock/ours)
lv2_ns=$(median PassThroughBlock/lv2)
in_place_ns=$(median PassThroughBlock/lv2-in-place)
memcpy_ns=$(median PassThroughBlock/memcpy)
ours_cpu=$(median PassThroughBlock/ours cpu_time)
lv2_cpu=$(median PassThroughBlock/lv2 cpu_time)
in_place_cpu=$(median PassThroughBlock/lv2-in-place cpu_time)
instantiate_ns=$(median Lv2Instantiate/ours)
core_ns=$(median Lv2Instantiate/core)

sox -n -r 48000 -c 2 -e floating-point -b 32 "$work/one.wav" synth 1s sine 440
# The median of 11 fresh processes, in milliseconds.
timed() {
  for _ in $(seq 11); do
    start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
  done | sort -n | sed -n 6p | awk '{printf "%.2f", $1 / 1000}'
}
apply_ms=$(timed lv2apply -i "$work/one.wav" -o "$work/out.wav" $stereo)
info_ms=$(timed lv2info $stereo)

printf '\n%-44s %14s\n' "figure" "value"
printf '%-44s %11s ns\n' "lv2bench, stereo, per 512-frame block" "$lv2bench_ns"
printf '%-44s %11s ns\n' "PassThroughBlock/lv2 (module run())" "$lv2_ns"
printf '%-44s %11s ns\n' "PassThroughBlock/lv2-in-place" "$in_place_ns"
printf '%-44s %11s ns\n' "PassThroughBlock/ours (PluginCoreCallback)" "$ours_ns"
printf '%-44s %11s ns\n' "PassThroughBlock/memcpy (the block's copy)" "$memcpy_ns"
awk -v a="$lv2bench_ns" -v b="$ours_ns" 'BEGIN {printf "%-44s %14.3f   (aim <= 1.25)\n", "lv2bench / PassThroughBlock/ours", a / b}'
awk -v a="$lv2_ns" -v b="$ours_ns" 'BEGIN {printf "%-44s %14.3f   (aim <= 1.25)\n", "PassThroughBlock lv2/ours", a / b}'
awk -v a="$in_place_ns" -v b="$ours_ns" 'BEGIN {printf "%-44s %14.3f\n", "PassThroughBlock lv2-in-place/ours", a / b}'
awk -v a="$lv2_cpu" -v b="$ours_cpu" 'BEGIN {printf "%-44s %14.3f   (aim <= 1.25)\n", "PassThroughBlock lv2/ours, CPU time", a / b}'
awk -v a="$in_place_cpu" -v b="$ours_cpu" 'BEGIN {printf "%-44s %14.3f\n", "PassThroughBlock lv2-in-place/ours, CPU time", a / b}'
printf '%-44s %11s ms   (aim < 50)\n' "lv2apply, one frame (load + instantiate)" "$apply_ms"
printf '%-44s %11s ms\n' "lv2info (load, no instance)" "$info_ms"
awk -v a="$instantiate_ns" 'BEGIN {printf "%-44s %14.2f ms\n", "Lv2Instantiate/ours (dlopen + instance)", a / 1e6}'
awk -v a="$core_ns" 'BEGIN {printf "%-44s %14.2f ms\n", "Lv2Instantiate/core (the core alone)", a / 1e6}'
