#!/usr/bin/env bash
# Compares the two schedules in the given directory (default: the current
# one), debx.txt (equal installments) and debj.txt (equal principal), in
# three lines: the first and last payment and the totals of each, then what
# the equal-principal schedule saves in interest, from which period its
# payment is lower, and the most extra cash it needs up front, and by when.
# All arithmetic is on the printed amounts in whole cents, so every figure is
# exact to the cent. A missing report, a row whose amounts are not numbers, or
# amounts too large to add exactly are errors: a message on standard error,
# exit status 1, no figures.
set -euo pipefail
dir=${1:-.}
for report in debx.txt debj.txt; do
    if [ ! -f "$dir/$report" ]; then
        echo "compare: no $report in $dir (run loan there first: it writes the reports)" >&2
        exit 1
    fi
done

# The reports are GBK with CR LF line ends: read them byte by byte.
export LC_ALL=C
awk '
function fail(message) {
    print "compare: " FILENAME ": " message > "/dev/stderr"
    failed = 1
    exit 1
}
# A printed amount ("-12.34") in whole cents; at most 13 integer digits, so
# that cents and their sums stay exact in awk numbers (below 2^53).
function cents(text,   negative, value) {
    gsub(/ /, "", text)
    if (text !~ /^-?[0-9]+\.[0-9][0-9]$/) {
        fail("not an amount: " text)
    }
    negative = substr(text, 1, 1) == "-"
    sub(/^-/, "", text)
    if (length(text) > 16) {
        fail("an amount too large to compare to the cent: " text)
    }
    value = substr(text, 1, length(text) - 3) * 100 + substr(text, length(text) - 1)
    return negative ? -value : value
}
function exact(value) {
    if (value >= 9007199254740992 || value <= -9007199254740992) {
        fail("sums too large to compare to the cent")
    }
    return value
}
function amount(value,   sign) {
    sign = value < 0 ? "-" : ""
    if (value < 0) {
        value = -value
    }
    return sprintf("%s%.0f.%02d", sign, int(value / 100), value - int(value / 100) * 100)
}
{ sub(/\r$/, "") }
# Rows: "%03d : payment ->[principal] [interest]".
/^[0-9]+ : / {
    rest = substr($0, index($0, " : ") + 3)
    payment = cents(substr(rest, 1, index(rest, " ->[") - 1))
    if (FILENAME ~ /debx\.txt$/) {
        x_rows++
        x_payment[x_rows] = payment
        x_period[x_rows] = $1 + 0
    } else {
        j_rows++
        j_payment[j_rows] = payment
    }
    next
}
# Totals: "<paid>: T, <principal>: P, <interest>: I", after the rows.
FNR > 2 {
    if (split($0, parts, ", ") != 3) {
        fail("no totals line")
    }
    paid = cents(substr(parts[1], index(parts[1], ": ") + 2))
    interest = cents(substr(parts[3], index(parts[3], ": ") + 2))
    if (FILENAME ~ /debx\.txt$/) {
        x_paid = paid; x_interest = interest; x_totals = 1
    } else {
        j_paid = paid; j_interest = interest; j_totals = 1
    }
}
END {
    if (failed) {
        exit 1
    }
    FILENAME = "reports"
    if (!x_totals || !j_totals) {
        fail("a report without its totals line")
    }
    if (x_rows != j_rows) {
        fail("the two reports cover different terms")
    }
    if (x_rows == 0) {
        printf "debx (equal installments): no periods, total paid %s, interest %s\n", amount(x_paid), amount(x_interest)
        printf "debj (equal principal): no periods, total paid %s, interest %s\n", amount(j_paid), amount(j_interest)
        print "nothing to compare"
        exit 0
    }
    lower = ""
    extra = 0; most = 0; most_period = 0
    for (i = 1; i <= x_rows; i++) {
        if (lower == "" && j_payment[i] < x_payment[i]) {
            lower = x_period[i]
        }
        extra = exact(extra + j_payment[i] - x_payment[i])
        if (extra > most) {
            most = extra; most_period = x_period[i]
        }
    }
    printf "debx (equal installments): first payment %s, last payment %s, total paid %s, interest %s\n", amount(x_payment[1]), amount(x_payment[x_rows]), amount(x_paid), amount(x_interest)
    printf "debj (equal principal): first payment %s, last payment %s, total paid %s, interest %s\n", amount(j_payment[1]), amount(j_payment[j_rows]), amount(j_paid), amount(j_interest)
    lower = lower == "" ? "its payment is never lower" : "its payment is lower from period " lower
    costs = "it never costs more"
    if (most > 0) {
        costs = "it costs at most " amount(most) " more, by period " most_period
    }
    printf "debj saves %s of interest; %s; %s\n", amount(exact(x_interest - j_interest)), lower, costs
}
' "$dir/debx.txt" "$dir/debj.txt"
