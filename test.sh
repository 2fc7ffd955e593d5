#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then the core
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, a
# short fuzzing run of the journal reader and the text parsers, and the checks
# of the Debian package. Run it as root or as a user who may use sudo (for
# the packages): everything else runs as that user.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps

jobs=$(nproc)
# The logs of this run, kept where another user's run cannot be in the way.
logs=$(mktemp -d "${TMPDIR:-/tmp}/zph-test.XXXXXX")

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

# Core tests under the sanitizers (no Qt: quick to build).
cmake -S . -B build-asan -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF -DZPH_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" >"$logs/asan-ctest.log" 2>&1) || {
  cat "$logs/asan-ctest.log"
  echo "core tests failed under the sanitizers" >&2
  exit 1
}
grep -E "tests passed" "$logs/asan-ctest.log" | sed "s/^/sanitizer build: /"

# A short fuzzing run of every fuzz target, from the seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF \
  -DZPH_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs"
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  "$target" -max_total_time="${ZPH_FUZZ_SECONDS:-20}" -print_final_stats=1 "$work" \
    >"$logs/$name.log" 2>&1 || { cat "$logs/$name.log"; echo "$name found a fault" >&2; exit 1; }
  grep -E 'stat::number_of_executed_units' "$logs/$name.log" | sed "s/^/$name: /"
  rm -rf "$work"
done

# The Debian package, made from build/: the same install rules and stripped
# binaries as from a Release tree, without building everything a second time.
# Unpacked as dpkg unpacks it, its programs run on the shared sample journal.
rm -f build/zephalonte_*.deb
(cd build && cpack -G DEB >"$logs/cpack.log" 2>&1) || {
  cat "$logs/cpack.log"
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
# The programs as Debian builds them: hardened, no RUNPATH, no .comment.
for program in "$root"/usr/bin/*; do
  name=${program#"$root"}
  dynamic=$(readelf -dW "$program")
  headers=$(readelf -hlSW "$program")
  imports=$(nm -D --undefined-only "$program")
  grep -q 'BIND_NOW' <<<"$dynamic" || { echo "$name: not linked with -z now" >&2; exit 1; }
  grep -q 'GNU_RELRO' <<<"$headers" || { echo "$name: no RELRO" >&2; exit 1; }
  grep -q 'Type: *DYN' <<<"$headers" || { echo "$name: not position independent" >&2; exit 1; }
  grep -q '__stack_chk_fail' <<<"$imports" || { echo "$name: no stack protector" >&2; exit 1; }
  grep -qE '__[a-z0-9_]+_chk(@|$)' <<<"$imports" || { echo "$name: no fortified calls" >&2; exit 1; }
  ! grep -qE '\((RUNPATH|RPATH)\)' <<<"$dynamic" || { echo "$name: has a RUNPATH" >&2; exit 1; }
  ! grep -q '\.comment' <<<"$headers" || { echo "$name: has a .comment section" >&2; exit 1; }
done
# Not a single tag, down to the pedantic ones.
lintian -I --pedantic "$package" >"$logs/lintian.log" 2>&1 || true
lintian_report=$(grep -v 'running with root privileges' "$logs/lintian.log" || true)
[[ -z $lintian_report ]] || { echo "$lintian_report"; echo "lintian tags $package" >&2; exit 1; }
echo "package: $(basename "$package") unpacked, run, hardened and checked"
rm -rf "$root" "$work" "$logs"

# Everything, last, so that ctest's summary line closes the output.
cd build
ctest --output-on-failure -j "$jobs"
