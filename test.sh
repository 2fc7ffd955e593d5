#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then the core
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, a
# short fuzzing run of the journal reader and the text parsers, and the checks
# of the Debian package.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps

jobs=$(nproc)

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"

# Core tests under the sanitizers (no Qt: quick to build).
cmake -S . -B build-asan -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF -DZPH_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" >/tmp/zph-asan-ctest.log 2>&1) || {
  cat /tmp/zph-asan-ctest.log
  echo "core tests failed under the sanitizers" >&2
  exit 1
}
grep -E "tests passed" /tmp/zph-asan-ctest.log | sed "s/^/sanitizer build: /"

# A short fuzzing run of every fuzz target, from the seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF \
  -DZPH_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs"
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  "$target" -max_total_time="${ZPH_FUZZ_SECONDS:-20}" -print_final_stats=1 "$work" \
    >"/tmp/zph-$name.log" 2>&1 || { cat "/tmp/zph-$name.log"; echo "$name found a fault" >&2; exit 1; }
  grep -E 'stat::number_of_executed_units' "/tmp/zph-$name.log" | sed "s/^/$name: /"
  rm -rf "$work"
done

# The Debian package, made from build/: the same install rules and stripped
# binaries as from a Release tree, without building everything a second time.
# Unpacked as dpkg unpacks it, its programs run on the shared sample journal.
rm -f build/zephalonte_*.deb
(cd build && cpack -G DEB >/tmp/zph-cpack.log 2>&1) || {
  cat /tmp/zph-cpack.log
  echo "the Debian package could not be made" >&2
  exit 1
}
package=$(echo build/zephalonte_*.deb)
version=$(dpkg-deb -f "$package" Version)
[[ $(dpkg-parsechangelog -l resources/debian/changelog -S Version) == "$version" ]] ||
  { echo "resources/debian/changelog has no entry for version $version" >&2; exit 1; }
sample=../shared/samples/zph0001.txt
[[ -f $sample ]] || { echo "$sample is missing: the package is tried on it" >&2; exit 1; }
root=$(mktemp -d)
work=$(mktemp -d)
dpkg-deb -x "$package" "$root"
cp "$sample" "$work/zph0001.txt"
chmod u+w "$work/zph0001.txt"
# In the journal's folder, with a settings file of its own, as a user runs them.
unpacked() {
  (cd "$work" && XDG_CONFIG_HOME="$work/config" "$root/usr/bin/$@" 2>"$work/errors.log") || {
    cat "$work/errors.log" >&2
    echo "the unpacked package's $* failed" >&2
    exit 1
  }
}
unpacked zeph --version
unpacked zeph check
QT_QPA_PLATFORM=offscreen ZPH_QUIT_AFTER_FIRST_PAINT=1 unpacked zephalonte
# Where the installed program looks for its help: ../share/zephalonte/.
[[ -f $root/usr/bin/../share/zephalonte/zphh001.chm ]] || { echo "no help in the package" >&2; exit 1; }
# Clean: not even a hint.
desktop_report=$(desktop-file-validate "$root"/usr/share/applications/*.desktop 2>&1) &&
  [[ -z $desktop_report ]] || { echo "desktop entry: $desktop_report" >&2; exit 1; }
appstreamcli validate --strict --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for page in "$root"/usr/share/man/man1/*.1.gz "$root"/usr/share/man/*/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "${page#"$root"}: $warnings" >&2; exit 1; }
done
# Errors fail; warnings are shown.
lintian_status=0
lintian --fail-on error "$package" >/tmp/zph-lintian.log 2>&1 || lintian_status=$?
grep -v 'running with root privileges' /tmp/zph-lintian.log || true
((lintian_status == 0)) || { echo "lintian found errors in $package" >&2; exit 1; }
echo "package: $(basename "$package") unpacked, run and checked"
rm -rf "$root" "$work"

# Everything, last, so that ctest's summary line closes the output.
cd build
ctest --output-on-failure -j "$jobs"
