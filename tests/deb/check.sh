#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Build the Debian packages from a scratch copy of the sources, without the
# suite (nocheck) and with a python3 first on PATH that is not Debian's, and
# judge them: lintian with no tag left (warnings and pedantic ones included),
# every package's files as the list expects, a clean that leaves the copy as
# it was, the arm64 packages cross-built and judged by lintian as well, and
# the packages' own tests run by autopkgtest on this machine,
# which installs them there; those not installed before are purged after.
# Usage: check.sh SOURCE_DIR WORK_DIR
set -eu
source=$1 work=$2
rm -rf "$work"
mkdir -p "$work/src" "$work/bin"
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source" && git ls-files -co --exclude-standard | tar -cf - -T -) | tar -xf - -C "$work/src"
else
  (cd "$source" && tar -cf - --exclude='./build*' .) | tar -xf - -C "$work/src"
fi
(cd "$work/src" && find . -type f | sort) >"$work/files"
ln -s /bin/false "$work/bin/python3" && ln -s /bin/false "$work/bin/$(basename "$(readlink -f /usr/bin/python3)")"
(cd "$work/src" && PATH=$work/bin:$PATH DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
  { tail -30 "$work/build.log"; exit 1; }
(cd "$work/src" && PATH=$work/bin:$PATH debian/rules clean >"$work/clean.log" 2>&1 && find . -type f | sort) |
  diff -u "$work/files" - || { echo "debian/rules clean left the tree changed"; exit 1; }
# The arm64 packages, cross-built from a copy of their own, as a porter
# would after apt-get build-dep -a arm64.
mkdir -p "$work/arm64" && cp -a "$work/src" "$work/arm64/src"
(cd "$work/arm64/src" && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -a arm64 -us -uc -b >"$work/arm64/build.log" 2>&1) ||
  { tail -30 "$work/arm64/build.log"; exit 1; }
# The package build defines no test: a build machine has the Build-Depends
# alone, and configure names no test group.
if grep -q 'tests_core' "$work/build.log"; then echo "the package build configured the tests"; exit 1; fi
version=$(dpkg-parsechangelog -l "$work/src/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
for changes in "$work/ifenum_${version}_${arch}.changes" "$work/arm64/ifenum_${version}_arm64.changes"; do
  lintian --pedantic --fail-on error,warning,info,pedantic "$changes" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; echo "lintian has tags to report on $changes"; exit 1; }
done
packages="ifenum ifenum-dev ifreport python3-ifenum"
for package in $packages; do
  dpkg-deb -c "$work"/${package}_${version}_*.deb | awk -v p=$package '$6 !~ /\/$/ {print p": "$6}'
done >"$work/contents.txt"
diff -u "$source/tests/deb/contents.txt" "$work/contents.txt"
# The library lies in the loader's default directory: consumers of the
# packages get no RUNPATH from pkg-config.
dpkg-deb --fsys-tarfile "$work/ifenum-dev_${version}_${arch}.deb" | tar -xOf - --wildcards '*/ifenum.pc' |
  grep -qx 'Libs: -L${libdir} -lifenum' || { echo "ifenum-dev's ifenum.pc is not plain -lifenum"; exit 1; }
# shellcheck disable=SC2086
installed=$(dpkg-query -W -f '${db:Status-Status} ${Package}\n' $packages 2>/dev/null | awk '$1 == "installed" {print $2}')
status=0
(cd "$work" && autopkgtest ./*_"$version"_*.deb src/ -- null >autopkgtest.log 2>&1) ||
  { tail -30 "$work/autopkgtest.log"; echo "autopkgtest failed"; status=1; }
purge=$(for package in $packages; do echo "$installed" | grep -qx "$package" || echo "$package"; done)
# shellcheck disable=SC2086
[ -z "$purge" ] || dpkg --purge $purge >/dev/null || status=1
[ $status -eq 0 ] && echo "packages built for $arch and arm64, lintian clean, contents as expected, autopkgtest passed"
exit $status
