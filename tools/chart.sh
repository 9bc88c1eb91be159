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
here=$(dirname -- "$0")
case $here in /*) ;; *) here=./$here ;; esac
# shellcheck source-path=SCRIPTDIR source=reports.sh
. "$here/reports.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

read_reports chart "$dir" "$work" >"$work/facts"
{
    read -r sum
    read -r year
    read -r rate
    read -r periods
    read -r interest_x
    read -r interest_j
    read -r drawn_payment
    read -r drawn_paid
    IFS= read -r compared
    IFS= read -r compared_more
} <"$work/facts"
title="Loan of $sum yuan over $year years at $rate% a year"
echo "chart: schedules.png, $periods and $periods periods, $title"
# The comparison in numbers under the title, when the amounts allow one, in
# two lines to fit the width.
title+=$'\n'$compared
if [ -n "$compared_more" ]; then
    title+=$'\n'$compared_more
fi

# The script is fixed text: every value reaches gnuplot as an argument, a
# string it never runs.
if [ "$periods" = 0 ]; then
    cat >"$work/chart.gp" <<'GNUPLOT'
set terminal pngcairo size 900,700
set output ARG1
set title ARG2
unset border; unset tics; unset key
set label "No periods to chart: the term is ".ARG3." years." at graph 0.5,0.5 center
plot [0:1] [0:1] NaN
GNUPLOT
    gnuplot -c "$work/chart.gp" "$work/schedules.png" "$title" "$year"
else
    cat >"$work/chart.gp" <<'GNUPLOT'
set terminal pngcairo size 900,700
set output ARG1
set multiplot layout 2,1 title ARG2 font ",10"
set grid
set autoscale xfix
set key top right
set xlabel "period (month)"
set ylabel "monthly payment (yuan)"
if (ARG7 eq "0") set yrange [0:1]
plot ARG3 using 1:2 with lines linewidth 2 title "debx: equal installments", \
     ARG4 using 1:2 with lines linewidth 2 title "debj: equal principal"
set key top left
set ylabel "interest paid so far (yuan)"
set autoscale y
if (ARG8 eq "0") set yrange [0:1]
plot ARG3 using 1:3 with lines linewidth 2 title "debx: total interest ".ARG5, \
     ARG4 using 1:3 with lines linewidth 2 title "debj: total interest ".ARG6
unset multiplot
GNUPLOT
    gnuplot -c "$work/chart.gp" "$work/schedules.png" "$title" "$work/debx.dat" "$work/debj.dat" \
        "$interest_x" "$interest_j" "$drawn_payment" "$drawn_paid"
fi
# The picture appears whole or not at all, and replaces what is there.
mv -f -T -- "$work/schedules.png" "$dir/schedules.png"
