# The one checked reading of loan's two reports, for compare.sh and chart.sh
# (sourced, not run). A report is a file from anywhere, so nothing in it is
# trusted: every line must be exactly one that loan writes, every value a
# number as loan prints it, or the tool stops with a message naming the line.

# read_reports TOOL DIR WORK: copies debx.txt and debj.txt from DIR into the
# directory WORK, reading each once, checks the copies line by line and then
#  - for TOOL compare, prints the comparison's three lines;
#  - for TOOL chart, writes WORK/debx.dat and WORK/debj.dat (the period, the
#    payment and the interest paid so far, one line a period) and prints the
#    principal, the term, the rate, the number of periods, the total interest
#    of each report, whether any payment and any interest so far is finite
#    (1 or 0: gnuplot refuses to draw a graph with no point) and the
#    comparison's third line in two parts (empty where the amounts allow no
#    comparison), one a line.
# Any failure: a message on standard error beginning with TOOL, exit status 1.
# shellcheck shell=bash
read_reports() {
    local tool=$1 dir=$2 work=$3 report unended=
    # No line loan writes is longer than 192 bytes with its CR LF (the room
    # for one line, report_line_size in src/loan.h), and no report has more
    # than 1,200,003 lines (the title, the column header, the 1,200,000 rows
    # of the longest term and the totals), so no report is larger than this.
    local line_size=192
    local largest=$((line_size * 1200003))
    for report in debx.txt debj.txt; do
        # Only a regular file is read: a named pipe or a terminal would wait.
        # dd opens it without waiting too, in case it has been swapped for
        # one since, and copies at most a byte more than the largest report,
        # in case it has grown since: too many lines or too long a line for
        # the reading below.
        if [ ! -e "$dir/$report" ]; then
            echo "$tool: no $report in $dir (run loan there first: it writes the reports)" >&2
            exit 1
        elif [ ! -f "$dir/$report" ]; then
            echo "$tool: $dir/$report is not a regular file" >&2
            exit 1
        elif [ "$(stat -L -c %s -- "$dir/$report" 2>/dev/null || echo 0)" -gt "$largest" ]; then
            echo "$tool: $dir/$report: larger than any report loan writes" >&2
            exit 1
        elif ! dd if="$dir/$report" of="$work/$report" bs=1M count=$((largest + 1)) \
            iflag=count_bytes,nonblock status=none 2>/dev/null; then
            echo "$tool: cannot read $dir/$report" >&2
            exit 1
        fi
        # A last line without its LF is one cut short; the awk below cannot
        # tell, as it reads the lines through cut, so those reports are
        # named in $unended.
        if [ "$(tail -c 1 -- "$work/$report" | tr -d '\n' | wc -c)" != 0 ]; then
            unended+=" ${report%.txt} "
        fi
    done
    # The reports are GBK with CR LF line ends: read them byte by byte, in
    # the work directory, each through cut, which keeps of every line one
    # byte more than the longest line loan writes, so that a line of any
    # length costs awk no more time or memory than one of line_size. Names
    # reach awk through its environment, never as operands, which awk could
    # take for assignments.
    (cd "$work" && LC_ALL=C tool=$tool dir=$dir line_size=$line_size unended=$unended awk '
function stop(message) {
    print ENVIRON["tool"] ": " message > "/dev/stderr"
    exit 1
}
# A fault of line `line` of the report being read, or of all of it.
function fail(line, message) {
    stop(name (line == "" ? "" : ":" line) ": " message)
}
# Integers as loan prints them: 32-bit, signed, no leading zero.
function integer(text) {
    return text ~ /^(0|-?[1-9][0-9]*)$/ && text + 0 >= -2147483648 && text + 0 <= 2147483647
}
# Amounts as loan prints them: two decimals, or inf or nan with a sign.
function amount(text) {
    return text ~ /^-?(inf|nan|(0|[1-9][0-9]*)\.[0-9][0-9])$/
}
# An amount checked by amount(): inf and nan are the only ones with an n.
function finite(text) {
    return text !~ /n/
}
# An amount in whole cents; the first amount that has none, or too many to
# add exactly in awk numbers (below 2^53), is why there is no comparison.
function cents(line, text,   value) {
    if (!finite(text)) {
        why = why != "" ? why : name ":" line ": " text " cannot be compared"
        return 0
    }
    value = text
    sub(/^-/, "", value)
    if (length(value) > 16) {
        why = why != "" ? why : name ":" line ": an amount too large to compare to the cent: " text
        return 0
    }
    value = substr(value, 1, length(value) - 3) * 100 + substr(value, length(value) - 1)
    return text ~ /^-/ ? -value : value
}
function exact(value) {
    if (value >= 9007199254740992 || value <= -9007199254740992) {
        why = why != "" ? why : "the reports in " ENVIRON["dir"] ": sums too large to compare to the cent"
    }
    return value
}
function dollars(value,   sign) {
    sign = value < 0 ? "-" : ""
    if (value < 0) {
        value = -value
    }
    return sprintf("%s%.0f.%02d", sign, int(value / 100), value - int(value / 100) * 100)
}
# Title: <words>[<sum> 元] [<year> 年] [利率<rate>%].
function title(kind, line, words,   v, sum, year, rate) {
    split(line, v, /\[|\] \[|\]$/)
    sum = substr(v[2], 1, index(v[2], " ") - 1)
    year = substr(v[3], 1, index(v[3], " ") - 1)
    rate = substr(v[4], 5, length(v[4]) - 5)
    if (!integer(sum) || !integer(year) || !amount(rate) ||
        line != sprintf("%s[%s \324\252] [%s \304\352] [\300\373\302\312%s%%]", words, sum, year, rate)) {
        fail(1, "not the title line loan writes")
    }
    loan[kind] = sum "\n" year "\n" rate
    term = year
    # The period count is the term times 12, wrapped to 32 bits as loan does.
    year += year < 0 ? 4294967296 : 0
    periods = year * 12 % 4294967296
}
# Rows: "%03d : %5.02f ->[%5.02f] [%5.02f]", payment, principal, interest.
function row(line, period, payments, data,   v, number) {
    split(line, v, / : +| ->\[ *|\] \[ *|\]$/)
    number = sprintf("%03d", period)
    if (!amount(v[2]) || !amount(v[3]) || !amount(v[4]) ||
        line != sprintf("%s : %5s ->[%5s] [%5s]", number, v[2], v[3], v[4])) {
        fail(period + 2, "not row " number " as loan writes it")
    }
    payments[period] = cents(period + 2, v[2])
    if (ENVIRON["tool"] == "chart") {
        # From an interest that is not finite on, the sum is not drawn.
        if (!finite(v[4])) {
            paid = "nan"
        } else if (paid != "nan") {
            paid += v[4]
            drawn_paid = 1
        }
        drawn_payment = drawn_payment || finite(v[2])
        print number, v[2], paid > data
    }
}
# Totals: "全部还款: %.02f, 本金: %.02f, 利息: %.02f".
function totals(kind, line, n,   v) {
    split(line, v, /: |, /)
    if (!amount(v[2]) || !amount(v[4]) || !amount(v[6]) ||
        line != sprintf("\310\253\262\277\273\271\277\356: %s, \261\276\275\360: %s, \300\373\317\242: %s", v[2], v[4], v[6])) {
        fail(n, "neither a row nor the totals line loan writes")
    }
    if (n - 3 != periods) {
        fail(n, "the totals line after " (n - 3) " rows; a term of " term " years has " sprintf("%.0f", periods))
    }
    total_paid[kind] = cents(n, v[2])
    total_interest[kind] = cents(n, v[6])
    interest_text[kind] = v[6]
}
function read_report(kind, words, payments,   size, input, data, line, ahead, more, n, done) {
    name = ENVIRON["dir"] "/" kind ".txt"
    size = ENVIRON["line_size"] + 0
    input = "cut -b 1-" size " " kind ".txt"
    data = kind ".dat"
    paid = 0
    more = (input | getline line) > 0
    while (more) {
        n++
        more = (input | getline ahead) > 0
        if (length(line) >= size) {
            fail(n, "a line longer than any loan writes")
        } else if (!more && index(ENVIRON["unended"], " " kind " ")) {
            fail(n, "the report ends within this line (cut short?)")
        } else if (sub(/\r$/, "", line) == 0) {
            fail(n, "a line without its CR LF end")
        } else if (done) {
            fail(n, "a line after the totals line")
        } else if (n == 1) {
            title(kind, line, words)
        } else if (n == 2) {
            if (line != "\267\326\306\332   \324\302\271\251      \261\276\275\360      \300\373\317\242") {
                fail(n, "not the column header loan writes")
            }
        } else if (line ~ /^-?[0-9]/) {
            row(line, n - 2, payments, data)
        } else {
            totals(kind, line, n)
            done = 1
        }
        line = ahead
    }
    if (close(input) != 0) {
        stop("cannot read " name)
    }
    if (!done) {
        fail("", "no totals line: the report ends after " (n + 0) " lines (cut short?)")
    }
}
# The comparison: each schedule in a line, then one of what debj saves and
# when its payment is lower (said[3]) and what it costs up front (said[4]).
function compare(said, px, pj,   lower, extra, most, most_period, i, x, j) {
    x = "debx"; j = "debj"
    if (periods == 0) {
        said[1] = sprintf("debx (equal installments): no periods, total paid %s, interest %s", dollars(total_paid[x]), dollars(total_interest[x]))
        said[2] = sprintf("debj (equal principal): no periods, total paid %s, interest %s", dollars(total_paid[j]), dollars(total_interest[j]))
        said[3] = "nothing to compare"
        said[4] = ""
        return why == ""
    }
    lower = ""
    extra = 0; most = 0; most_period = 0
    for (i = 1; i <= periods; i++) {
        if (lower == "" && pj[i] < px[i]) {
            lower = i
        }
        extra = exact(extra + pj[i] - px[i])
        if (extra > most) {
            most = extra; most_period = i
        }
    }
    said[1] = sprintf("debx (equal installments): first payment %s, last payment %s, total paid %s, interest %s", dollars(px[1]), dollars(px[periods]), dollars(total_paid[x]), dollars(total_interest[x]))
    said[2] = sprintf("debj (equal principal): first payment %s, last payment %s, total paid %s, interest %s", dollars(pj[1]), dollars(pj[periods]), dollars(total_paid[j]), dollars(total_interest[j]))
    lower = lower == "" ? "its payment is never lower" : "its payment is lower from period " lower
    said[3] = sprintf("debj saves %s of interest; %s;", dollars(exact(total_interest[x] - total_interest[j])), lower)
    said[4] = most > 0 ? "it costs at most " dollars(most) " more, by period " most_period : "it never costs more"
    return why == ""
}
BEGIN {
    read_report("debx", "\265\310\266\356\261\276\317\242\275\350\277\356", px)
    read_report("debj", "\265\310\266\356\261\276\275\360\275\350\277\356", pj)
    if (loan["debx"] != loan["debj"]) {
        stop("debx.txt and debj.txt in " ENVIRON["dir"] " are reports of two different loans")
    }
    compared = compare(said, px, pj)
    if (ENVIRON["tool"] == "chart") {
        print loan["debx"] "\n" periods "\n" interest_text["debx"] "\n" interest_text["debj"]
        print (drawn_payment + 0) "\n" (drawn_paid + 0)
        print compared ? said[3] "\n" said[4] : "\n"
    } else if (!compared) {
        stop(why)
    } else {
        print said[1] "\n" said[2] "\n" said[3] (said[4] == "" ? "" : " " said[4])
    }
}')
}
