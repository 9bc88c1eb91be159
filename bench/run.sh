#!/usr/bin/env bash
# Builds the program, the snprintf reference and the benchmarks in
# build-bench/, runs the whole-program comparison (1,200,000 periods per
# schedule, standard output to /dev/null, seven alternating pairs) and prints
# the ratio of the medians and the peak memory at 12 and 1,200,000 periods.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLOAN_TESTS=OFF -DLOAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 >/dev/null

out=build-bench/bench.json
build-bench/bench/loan_bench --benchmark_out="$out" --benchmark_out_format=json \
    --benchmark_counters_tabular=true "$@"

python3 - "$out" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
pair = next(b for n, b in runs.items() if n.startswith("BM_WholeRunPairs"))
short = next(b for n, b in runs.items() if n.startswith("BM_PeakRss/1/"))
long_ = next(b for n, b in runs.items() if n.startswith("BM_PeakRss/100000/"))
print(f"whole run, median of 7 pairs: loan {pair['loan_s']:.3f} s, "
      f"reference {pair['reference_s']:.3f} s, ratio {pair['ratio']:.3f} (goal <= 0.2)")
print(f"peak RSS: {short['peak_rss_kib']:.0f} KiB at 12 periods, "
      f"{long_['peak_rss_kib']:.0f} KiB at 1200000 periods, "
      f"difference {abs(long_['peak_rss_kib'] - short['peak_rss_kib']):.0f} KiB (goal <= 1024)")
PY
