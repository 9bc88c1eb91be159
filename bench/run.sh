#!/usr/bin/env bash
# Builds the program and the benchmarks in build-bench/, checks that it and the
# printf-per-line program write the same bytes (standard output, exit status,
# both reports) on 1,200,000 periods, then times them in a fresh directory.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLOAN_TESTS=OFF -DLOAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 >/dev/null
bin=$PWD/build-bench && cd "$(mktemp -d)"
trap 'rm -rf "$PWD"' EXIT
run() { mkdir "$1" && printf '300000\n100000\n0.0001\n' >"$1/cfg.txt" && cd "$1" &&
    { "${@:2}" && echo 0 || echo $?; } >stdout.txt && cd ..; }
run loan "$bin/loan" && run printf "$bin/bench/loan_bench" --printf
for f in stdout.txt debx.txt debj.txt; do cmp {loan,printf}/$f; done && echo "same bytes" && rm -r *
"$bin/bench/loan_bench" --benchmark_out=bench.txt --benchmark_out_format=console "$@" >/dev/null
awk '/loan_1200000\// { loan = $2 } /printf_1200000\// { other = $2 } { print }
     END { printf "1,200,000 periods: printf per line takes %.1f times as long (goal >= 10)\n", other / loan }' bench.txt
