#!/usr/bin/env bash
# Compares the two schedules in the given directory (default: the current
# one), debx.txt (equal installments) and debj.txt (equal principal), in
# three lines: the first and last payment and the totals of each, then what
# the equal-principal schedule saves in interest, from which period its
# payment is lower, and the most extra cash it needs up front, and by when.
# All arithmetic is on the printed amounts in whole cents, so every figure is
# exact to the cent. A missing or unreadable report, a line loan does not
# write, an amount that is not finite or too large to add exactly: a message
# on standard error, exit status 1, no figures.
set -euo pipefail
here=$(dirname -- "$0")
case $here in /*) ;; *) here=./$here ;; esac
# shellcheck source-path=SCRIPTDIR source=reports.sh
. "$here/reports.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
read_reports compare "${1:-.}" "$work"
