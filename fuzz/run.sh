#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 120) from its seed corpus and
# prints one line per target: executions, executions per second, new crashes.
# Usage: fuzz/run.sh BUILD_DIR. New inputs collect in BUILD_DIR/fuzz-corpus,
# crashes in BUILD_DIR/fuzz-crashes/<target>. Exit status 1 when any crashed.
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
seconds=${FUZZ_SECONDS:-120}
jobs=${FUZZ_JOBS:-2}
here=$(cd "$(dirname "$0")" && pwd)
out="$build/fuzz-runs"
mkdir -p "$out"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

run_one() {
    local name=$1 bin="$build/fuzz/fuzz_$1"
    local corpus="$build/fuzz-corpus/$name" crashes="$build/fuzz-crashes/$name"
    mkdir -p "$corpus" "$crashes"
    local before
    before=$(ls "$crashes" | wc -l)
    # A target may need flags of its own (fuzz/flags/<name>, one line).
    local flags=()
    [ -f "$here/flags/$name" ] && read -r -a flags <"$here/flags/$name"
    "$bin" "$corpus" "$here/corpus/$name" "${flags[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/" >"$out/$name.log" 2>&1
    local runs rate after
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log" | tail -n1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/$name.log" | tail -n1)
    after=$(ls "$crashes" | wc -l)
    printf '%-12s %12s %10s %8s\n' "$name" "${runs:-?}" "${rate:-?}" "$((after - before))" >"$out/$name.row"
}

names=()
for bin in "$build"/fuzz/fuzz_*; do
    [ -x "$bin" ] && names+=("${bin##*/fuzz_}")
done
[ ${#names[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }
rm -f "$out"/*.row
for name in "${names[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    run_one "$name" &
done
wait

printf '%-12s %12s %10s %8s\n' target executions exec/s crashes
status=0
for name in "${names[@]}"; do
    cat "$out/$name.row"
    crashed=$(awk '{print $4}' "$out/$name.row")
    if [ "$crashed" != 0 ]; then
        status=1
        echo "  see $out/$name.log and $build/fuzz-crashes/$name" >&2
    fi
done
exit $status
