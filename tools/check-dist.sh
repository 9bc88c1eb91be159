#!/usr/bin/env bash
# Checks a release as CI does: makes it with tools/dist.sh twice, the second
# time afresh under another umask and time zone, and requires the same
# SHA256SUMS, then checks them, runs lintian on the Debian package, lists what each package
# holds against what it should, installs the Debian package and runs it
# (as root), and runs the unzipped loan.exe under 32-bit Wine where this
# machine has it.
#
# Each program is compared on the shipped example with the Linux program
# named as the first argument (CI gives the README's build/loan), or else
# with the release build's own, build-dist/linux/loan. Exits non-zero on the
# first check that fails.
set -euo pipefail
reference=${1:+$(realpath "$1")}
cd "$(dirname "$0")/.."
root=$PWD

missing=""
for package in lintian man-db; do
    if ! dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "check-dist: the checks need packages that are not installed; install them with" >&2
    echo "  apt-get install$missing" >&2
    exit 1
fi

tools/dist.sh
first=$(cat dist/SHA256SUMS)
echo "== tools/dist.sh again: the same bytes from a fresh build"
(umask 077 && TZ=Asia/Shanghai tools/dist.sh)
if ! diff <(echo "$first") dist/SHA256SUMS; then
    echo "check-dist: a second run of tools/dist.sh made other bytes (above: first <, second >)" >&2
    exit 1
fi
echo "the second run made every file bit for bit as the first"
(cd dist && sha256sum -c SHA256SUMS)
version=$(sed -n 's/^project(loan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/loan_${version}_amd64.deb
tgz=dist/loan-$version-Linux.tar.gz
zip=dist/loan-$version-win32.zip
built=${reference:-$root/build-dist/linux/loan}

echo "== lintian and each package's contents"
# Any error or warning fails the run; the informational tags are shown.
lintian --pedantic --display-info --fail-on error,warning "$deb"
dpkg-deb --info "$deb"
diff <(dpkg-deb --contents "$deb" | awk '!/^d/ {print $6}' | sort) - <<END
./usr/bin/loan
./usr/share/doc/loan/changelog.gz
./usr/share/doc/loan/copyright
./usr/share/loan/loan.html
./usr/share/man/man1/loan.1.gz
END
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/loan/loan.html | cmp - dist/loan.html
top=loan-$version-Linux
diff <(tar tzf "$tgz" | grep -v '/$' | sort) - <<END
$top/bin/loan
$top/share/doc/loan/LICENSE
$top/share/loan/loan.html
$top/share/man/man1/loan.1.gz
END
tar -xzOf "$tgz" "$top/share/loan/loan.html" | cmp - dist/loan.html
tar -xzOf "$tgz" "$top/share/doc/loan/LICENSE" | cmp - LICENSE
top=loan-$version-win32
diff <(unzip -Z1 "$zip" | grep -v '/$' | sort) - <<END
$top/LICENSE
$top/README.txt
$top/cfg.txt
$top/loan.exe
$top/loan.html
END
unzip -p "$zip" "$top/loan.html" | cmp - dist/loan.html
unzip -p "$zip" "$top/LICENSE" | cmp - LICENSE
# README.txt: every line ends in CR LF, and it says how to open the page.
[ "$(unzip -p "$zip" "$top/README.txt" | grep -c -v $'\r$')" = 0 ]
unzip -p "$zip" "$top/README.txt" | grep -q "loan.html"
echo "each package holds what it should"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/built"
cp examples/cfg.txt "$work/built/cfg.txt"
(cd "$work/built" && "$built" > stdout.txt)

echo "== the Debian package installed and run"
if [ "$(id -u)" = 0 ]; then
    dpkg -i "$deb"
    mkdir "$work/installed"
    cp examples/cfg.txt "$work/installed/cfg.txt"
    (cd "$work/installed" && /usr/bin/loan > stdout.txt)
    for file in debx.txt debj.txt stdout.txt; do
        cmp "$work/installed/$file" "$work/built/$file"
    done
    echo "the installed loan writes the same reports as $built"
    [ "$(/usr/bin/loan --version)" = "loan $version"$'\r' ]
    man -l /usr/share/man/man1/loan.1.gz > "$work/loan.1.txt"
    grep -q "write <stdout> fail" "$work/loan.1.txt"
    head -n 5 "$work/loan.1.txt"
    dpkg -r loan
    [ ! -e /usr/bin/loan ]
else
    echo "NOTE: not root: the Debian package is not installed and run"
fi

echo "== the zip's loan.exe under Wine"
if dpkg-query -W -f '${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" &&
    /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    mkdir "$work/zip"
    (cd "$work/zip" && unzip -q "$root/$zip")
    (cd "$work/zip/$top" && WINEDEBUG=-all /usr/lib/wine/wine loan.exe > stdout.txt)
    for file in debx.txt debj.txt stdout.txt; do
        cmp "$work/zip/$top/$file" "$work/built/$file"
    done
    echo "the unzipped loan.exe writes the same reports under Wine as $built"
else
    echo "NOTE: no 32-bit Wine here (wine32:i386): the zip's loan.exe is not run"
fi
echo "release checks passed"
