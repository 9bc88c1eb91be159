#!/usr/bin/env bash
# Makes every release artifact into dist/: the Debian package, the Linux
# tarball, the 32-bit Windows zip, the web page and SHA256SUMS.
#
# Each is built afresh in build-dist/ (the program alone, without the tests),
# the web page first, since every package carries it. What the builds need is
# checked first; a missing package stops the run with the command that
# installs it. LOAN_MAINTAINER ("Name <address>") sets the Debian package's
# maintainer.
#
# Two runs on one commit give the same bytes: every time stamp in the
# packages (their files', the archives' own, the .exe's) is
# SOURCE_DATE_EPOCH, the last commit's time unless it is set; files and
# folders get the same modes whatever the caller's umask. CPack gives the
# tarball's and the zip's files to the user who runs it, so both are packed
# again: in name order, owned by root, with no owner in the zip, its times
# in UTC.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
        echo "dist: not a git checkout: set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)" >&2
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH
export TZ=UTC
umask 022
echo "dist: time stamps from SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH ($(date -d "@$SOURCE_DATE_EPOCH"))"

needed="cmake make g++ dpkg-dev clang lld wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32
        libclang-rt-14-dev-wasm32 nodejs g++-mingw-w64-i686-posix unzip zip"
missing=""
for package in $needed; do
    if ! dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "dist: the builds need packages that are not installed; install them with" >&2
    echo "  apt-get install$missing" >&2
    exit 1
fi

version=$(sed -n 's/^project(loan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
maintainer=()
if [ -n "${LOAN_MAINTAINER:-}" ]; then
    maintainer=("-DLOAN_MAINTAINER=$LOAN_MAINTAINER")
fi
rm -rf build-dist dist
mkdir dist

# Packs the tarball ($1, an absolute path) again, as said above.
repack_tarball() {
    local files
    files=$(mktemp -d)
    tar -xzf "$1" -C "$files"
    (cd "$files" && tar --sort=name --owner=root:0 --group=root:0 --mtime="@$SOURCE_DATE_EPOCH" \
        --format=gnu -cf - -- *) | gzip -9 -n > "$1"
    rm -rf "$files"
}

# Packs the zip ($1, an absolute path) again, as said above.
repack_zip() {
    local files
    files=$(mktemp -d)
    unzip -q "$1" -d "$files"
    find "$files" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
    rm "$1"
    (cd "$files" && find . -type f | LC_ALL=C sort | zip -q -X -9 -@ "$1")
    rm -rf "$files"
}

echo "== the web page"
cmake -S . -B build-dist/web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build-dist/web -j2 --target loan_html
page=$root/build-dist/web/loan.html

echo "== Linux: the Debian package and the tarball"
cmake -S . -B build-dist/linux -DCMAKE_BUILD_TYPE=Release -DLOAN_TESTS=OFF -DLOAN_HTML="$page" \
    "${maintainer[@]}"
cmake --build build-dist/linux -j2
(cd build-dist/linux && cpack -G DEB && cpack -G TGZ)
repack_tarball "$root/build-dist/linux/loan-$version-Linux.tar.gz"

echo "== Windows: the zip"
cmake -S . -B build-dist/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DLOAN_TESTS=OFF -DLOAN_HTML="$page"
cmake --build build-dist/win32 -j2
(cd build-dist/win32 && cpack -G ZIP)
repack_zip "$root/build-dist/win32/loan-$version-win32.zip"

cp build-dist/linux/loan_"$version"_*.deb build-dist/linux/loan-"$version"-Linux.tar.gz \
    build-dist/win32/loan-"$version"-win32.zip "$page" dist/
(cd dist && sha256sum -- * > SHA256SUMS && ls -l && cat SHA256SUMS)
