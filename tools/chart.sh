#!/usr/bin/env bash
# Draws schedules.png from the two reports debx.txt (equal installments) and
# debj.txt (equal principal) in the given directory (default: the current
# one): on top the monthly payment of both against the period, below the
# interest paid so far by both, so that the crossing of the payments and the
# difference in total interest show at a glance. Needs gnuplot (gnuplot-nox).
set -euo pipefail
if ! command -v gnuplot >/dev/null 2>&1; then
    echo "chart: gnuplot is not installed (Debian: apt-get install gnuplot-nox)" >&2
    exit 1
fi
dir=${1:-.}
tools=$(cd "$(dirname "$0")" && pwd)
cd "$dir"
for report in debx.txt debj.txt; do
    if [ ! -f "$report" ]; then
        echo "chart: no $report in $dir (run loan there first: it writes the reports)" >&2
        exit 1
    fi
done

# The reports are GBK with CR LF line ends: read them byte by byte.
export LC_ALL=C
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Title line: <title>[<sum> 元] [<year> 年] [利率<rate>%]; 利率 is 4 bytes.
read -r sum year rate < <(head -n 1 debx.txt | awk -F'[][]' '{
    split($2, s, " "); split($4, y, " "); rate = substr($6, 5); sub(/%.*/, "", rate)
    print s[1], y[1], rate }')

# Rows: "%03d : payment ->[principal] [interest]"; one data line each with
# the period, the payment and the interest paid so far.
rows() {
    awk '/^-?[0-9]+ : / {
        sub(/\r$/, ""); gsub(/ ->\[|\] \[|\]$/, " ")
        paid += $5
        print $1, $3, paid }' "$1"
}
rows debx.txt > "$work/debx.dat"
rows debj.txt > "$work/debj.dat"

# Totals line: 全部还款: <paid>, 本金: <principal>, 利息: <interest>.
total_interest() {
    awk -F': ' 'END { sub(/\r$/, "", $4); print $4 }' "$1"
}
interest_x=$(total_interest debx.txt)
interest_j=$(total_interest debj.txt)

title="Loan of $sum yuan over $year years at $rate% a year"
echo "chart: schedules.png, $(wc -l < "$work/debx.dat") and $(wc -l < "$work/debj.dat") periods, $title"
# The comparison in numbers under the title, when the amounts allow one.
# Two lines, to fit the width.
comparison=$("$tools/compare.sh" . 2>/dev/null | sed -n 3p | sed 's/; it \(costs\|never\)/;\\nit \1/') ||
    comparison=""
if [ ! -s "$work/debx.dat" ] && [ ! -s "$work/debj.dat" ]; then
    gnuplot <<EOF
set terminal pngcairo size 900,700
set output 'schedules.png'
set title "$title\n$comparison"
unset border; unset tics; unset key
set label "No periods to chart: the term is $year years." at graph 0.5,0.5 center
plot [0:1] [0:1] NaN
EOF
    exit 0
fi

gnuplot <<EOF
set terminal pngcairo size 900,700
set output 'schedules.png'
set multiplot layout 2,1 title "$title\n$comparison" font ",10"
set grid
set autoscale xfix
set key top right
set xlabel "period (month)"
set ylabel "monthly payment (yuan)"
plot '$work/debx.dat' using 1:2 with lines linewidth 2 title "debx: equal installments", \
     '$work/debj.dat' using 1:2 with lines linewidth 2 title "debj: equal principal"
set key top left
set ylabel "interest paid so far (yuan)"
plot '$work/debx.dat' using 1:3 with lines linewidth 2 title "debx: total interest $interest_x", \
     '$work/debj.dat' using 1:3 with lines linewidth 2 title "debj: total interest $interest_j"
unset multiplot
EOF
