#!/usr/bin/env bash
# Builds the program, the floor, the snprintf reference and the benchmarks in
# build-bench/, runs the whole-program comparison (1,200,000 periods per
# schedule, standard output to /dev/null, seven alternating runs of each) and
# prints the ratios of the medians, the time of one ordinary row and the peak
# memory at 12 and 1,200,000 periods, and the time of one power, the
# program's against the C library's.
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
whole = next(b for n, b in runs.items() if n.startswith("BM_WholeRuns"))
short = next(b for n, b in runs.items() if n.startswith("BM_PeakRss/1/"))
long_ = next(b for n, b in runs.items() if n.startswith("BM_PeakRss/100000/"))
rows = runs["BM_RowsInPlace"]["ns_per_row"] * 1e9
rows_snprintf = runs["BM_RowsSnprintf"]["ns_per_row"] * 1e9
print(f"whole run, medians of 7: loan {whole['loan_s']:.3f} s, floor {whole['floor_s']:.3f} s, "
      f"snprintf reference {whole['reference_s']:.3f} s")
print(f"loan/floor {whole['loan_per_floor']:.2f} (goal <= 1.5), "
      f"loan/reference {whole['loan_per_reference']:.3f} (goal <= 0.10)")
print(f"one ordinary row: {rows:.1f} ns (goal <= 15), with snprintf {rows_snprintf:.1f} ns")
own = runs["BM_PowersOwn"]["ns_per_power"] * 1e9
library = runs["BM_PowersLibrary"]["ns_per_power"] * 1e9
print(f"one power: {own:.2f} ns correctly rounded, {library:.2f} ns with the C library's pow()")
print(f"peak RSS: {short['peak_rss_kib']:.0f} KiB at 12 periods, "
      f"{long_['peak_rss_kib']:.0f} KiB at 1200000 periods, "
      f"difference {abs(long_['peak_rss_kib'] - short['peak_rss_kib']):.0f} KiB (goal <= 1024)")
PY
