#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Build the Debian packages from a scratch copy of the sources, without the
# suite (nocheck), and judge them: lintian with no tag left (warnings and
# pedantic ones included), and every package's files as the list expects.
# Nothing is installed.  Usage: check.sh SOURCE_DIR WORK_DIR
set -eu
source=$1 work=$2
rm -rf "$work"
mkdir -p "$work/src"
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source" && git ls-files -co --exclude-standard | tar -cf - -T -) | tar -xf - -C "$work/src"
else
  (cd "$source" && tar -cf - --exclude='./build*' .) | tar -xf - -C "$work/src"
fi
(cd "$work/src" && PATH=/usr/sbin:/usr/bin:/sbin:/bin DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
  { tail -30 "$work/build.log"; exit 1; }
# The package build defines no test: a build machine has the Build-Depends
# alone, and configure names no test group.
if grep -q 'tests_core' "$work/build.log"; then echo "the package build configured the tests"; exit 1; fi
version=$(dpkg-parsechangelog -l "$work/src/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
changes=$work/ifenum_${version}_${arch}.changes
lintian --pedantic --fail-on error,warning,info,pedantic "$changes" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log"; echo "lintian has tags to report"; exit 1; }
for package in ifenum ifenum-dev ifreport python3-ifenum; do
  dpkg-deb -c "$work"/${package}_${version}_*.deb | awk -v p=$package '$6 !~ /\/$/ {print p": "$6}'
done >"$work/contents.txt"
diff -u "$source/tests/deb/contents.txt" "$work/contents.txt"
# The library lies in the loader's default directory: consumers of the
# packages get no RUNPATH from pkg-config.
dpkg-deb --fsys-tarfile "$work/ifenum-dev_${version}_${arch}.deb" | tar -xOf - --wildcards '*/ifenum.pc' |
  grep -qx 'Libs: -L${libdir} -lifenum' || { echo "ifenum-dev's ifenum.pc is not plain -lifenum"; exit 1; }
echo "packages built, lintian clean, contents as expected"
