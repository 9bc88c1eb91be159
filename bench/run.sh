#!/usr/bin/env bash
# Builds the program and the benchmarks in build-bench/, checks that the
# program and the printf-per-line program write the same bytes (standard
# output, exit status, both reports) on 1,200,000 periods, runs the benchmarks
# in a fresh directory and prints how many times faster the program is.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DLOAN_TESTS=OFF -DLOAN_BENCH=ON >/dev/null
cmake --build build-bench -j2 >/dev/null
bin=$PWD/build-bench dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
run() { mkdir "$1" && printf '300000\n100000\n0.0001\n' >"$1/cfg.txt" && cd "$1" &&
    { "${@:2}" && echo 0 || echo $?; } >stdout.txt && cd ..; }
run loan "$bin/loan" && run printf "$bin/bench/loan_bench" --printf
for file in stdout.txt debx.txt debj.txt; do cmp {loan,printf}/$file; done
echo "same bytes at 1,200,000 periods: $(cat loan/*.txt | wc -c)" && rm -r loan printf
"$bin/bench/loan_bench" --benchmark_out=bench.txt --benchmark_out_format=console "$@" >/dev/null
awk '/loan_1200000\// { loan = $2 } /printf_1200000\// { other = $2 } { print }
     END { printf "1,200,000 periods: printf per line takes %.1f times as long (goal >= 10)\n", other / loan }' bench.txt
