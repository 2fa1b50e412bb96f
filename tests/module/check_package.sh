#!/usr/bin/env bash
# What `make dist` wrote, as a user unpacks it: the package holds the module the build made, the
# user's guide and its pictures as committed, try.html as the wasm32 build made it, and
# SHA256SUMS that holds for every other file in it; every file the guide links to or shows is
# in it; the symbols zip holds the symbols file the module's debug link names (checked with the
# module by check_dll_symbols.sh), with its own SHA256SUMS.
# Usage: check_package.sh <build folder of the mingw-i686 preset> <folder of the zips>
set -euo pipefail
build=$(realpath "$1") dist=$(realpath "$2")
source=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }
name=$(sed -n 's/^set(CPACK_ARCHIVE_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
symbols_name=$(sed -n 's/^set(CPACK_ARCHIVE_SYMBOLS_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$name" ] && [ -n "$symbols_name" ] || fail "$build/CPackConfig.cmake names no package"
page=$(sed -n 's/^QUOR_TRY_PAGE:FILEPATH=//p' "$build/CMakeCache.txt")
[ -n "$page" ] || fail "$build/CMakeCache.txt names no try.html"
zip=$dist/$name.zip symbols_zip=$dist/$symbols_name.zip
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Unpacks a zip into the scratch folder and checks its SHA256SUMS: every file but SHA256SUMS is
# listed once, and every sum holds.
unpack() {
  local zip=$1 into=$scratch/$2
  [ -f "$zip" ] || fail "$zip does not exist"
  mkdir "$into"
  (cd "$into" && cmake -E tar xf "$zip") || fail "$zip cannot be unpacked"
  [ -f "$into/SHA256SUMS" ] || fail "$zip holds no SHA256SUMS"
  local files listed
  files=$(cd "$into" && find . -type f ! -name SHA256SUMS | sed 's#^\./##' | LC_ALL=C sort)
  listed=$(awk '{print $2}' "$into/SHA256SUMS" | LC_ALL=C sort)
  [ "$files" = "$listed" ] || fail "$zip: SHA256SUMS lists $(echo $listed), the zip holds $(echo $files)"
  (cd "$into" && sha256sum --quiet -c SHA256SUMS) || fail "$zip: a sum in SHA256SUMS does not hold"
}
unpack "$zip" package
unpack "$symbols_zip" symbols

expected=$(printf '%s\n' QuorNoteSpacing.nxt SHA256SUMS guide.html try.html \
  $(cd "$source/docs" && find guide -type f) | LC_ALL=C sort)
held=$(cd "$scratch/package" && find . -type f | sed 's#^\./##' | LC_ALL=C sort)
[ "$held" = "$expected" ] || fail "$zip holds $(echo $held), not $(echo $expected)"
cmp -s "$scratch/package/QuorNoteSpacing.nxt" "$build/QuorNoteSpacing.nxt" ||
  fail "$zip: its module is not the one in $build"
for file in guide.html $(cd "$source/docs" && find guide -type f); do
  cmp -s "$scratch/package/$file" "$source/docs/$file" || fail "$zip: $file is not docs/$file"
done
cmp -s "$scratch/package/try.html" "$page" || fail "$zip: its try.html is not $page"
# The guide's links and pictures name files beside it, which the unpacked package must hold:
# a link that works in the tree but not in the zip would only show once a user opened it.
links=$(grep -o -E '(href|src)="[^"#]*' "$scratch/package/guide.html" | sed 's/^[a-z]*="//' |
  grep -v -E '^([a-z]+:|$)' | LC_ALL=C sort -u)
[ -n "$links" ] || fail "$zip: guide.html names no file of the package"
for link in $links; do
  [ -f "$scratch/package/$link" ] || fail "$zip: guide.html links to $link, which the package lacks"
done
grep -qx try.html <<<"$links" || fail "$zip: guide.html does not link to try.html"
held=$(cd "$scratch/symbols" && find . -type f | sed 's#^\./##' | LC_ALL=C sort)
[ "$held" = "$(printf '%s\n' QuorNoteSpacing.nxt.debug SHA256SUMS)" ] ||
  fail "$symbols_zip holds $(echo $held)"
cmp -s "$scratch/symbols/QuorNoteSpacing.nxt.debug" "$build/QuorNoteSpacing.nxt.debug" ||
  fail "$symbols_zip: its symbols file is not the one in $build"

pictures=$(cd "$source/docs" && find guide -type f | wc -l)
echo "ok: $zip ($(stat -c %s "$zip") bytes): the module, guide.html with $pictures pictures, try.html, and SHA256SUMS, which holds; the guide's $(wc -w <<<"$links") links and pictures are in it"
sed 's/^/  /' "$scratch/package/SHA256SUMS" | grep -v ' guide/'
echo "ok: $symbols_zip ($(stat -c %s "$symbols_zip") bytes): $(sed 's/^/SHA-256 /' "$scratch/symbols/SHA256SUMS")"
