#!/usr/bin/env bash
# The same source makes the same bytes. The working tree is copied twice, into folders of
# different names, and in each the module of both Windows architectures and try.html (the
# wasm32 build's page) are built from nothing, one copy after the other and without ccache,
# through the presets the package is built with; the 32-bit module is packed with the page as
# `make dist` packs it. The shipped module and its symbols file must be the same bytes in both
# copies, and so must the page, the zips and each file in them. A difference names the file and
# where it differs. The wasm32 libraries come from the user's cache (tools/wasm_libraries.sh),
# the same for both copies.
# Usage: check_reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
work=$root/build/reproducible
copies=("$work/a" "$work/copy-with-a-longer-name")
page=build/wasm32/web/try.html
fail=0
say() { echo "reproducible: $*"; }
started=$SECONDS

# The zips record the files' times: both copies are packed with the same source time, as
# `make dist` packs with the last commit's. The builds are not given it: the linker would take it
# for the time stamp it should leave out, and hide that it no longer does.
epoch=$(git log -1 --format=%ct)
unset SOURCE_DATE_EPOCH CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1

rm -rf "$work"
for copy in "${copies[@]}"; do
  mkdir -p "$copy"
  # What the working tree holds, changes not yet committed included, and nothing ignored.
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$copy"
  say "building try.html (wasm32) in $copy"
  (cd "$copy" &&
    NODE_PATH=/usr/share/nodejs emcmake cmake --preset wasm32 -DQUOR_CCACHE=OFF \
      -DCMAKE_CXX_COMPILER_LAUNCHER= -DCMAKE_C_COMPILER_LAUNCHER= >/dev/null &&
    cmake --build --preset wasm32 --target try-page >/dev/null) ||
    { say "FAIL: the build of try.html in $copy failed"; exit 1; }
  for arch in i686 x86_64; do
    say "building mingw-$arch in $copy"
    (cd "$copy" &&
      cmake --preset "mingw-$arch" -DQUOR_CCACHE=OFF -DCMAKE_CXX_COMPILER_LAUNCHER= \
        -DCMAKE_C_COMPILER_LAUNCHER= -DQUOR_TRY_PAGE="$copy/$page" >/dev/null &&
      cmake --build --preset "mingw-$arch" --target QuorNoteSpacing >/dev/null) ||
      { say "FAIL: the build of mingw-$arch in $copy failed"; exit 1; }
  done
  (cd "$copy/build/mingw-i686" && SOURCE_DATE_EPOCH=$epoch cpack >/dev/null) ||
    { say "FAIL: cpack failed in $copy"; exit 1; }
  # Unpacked too, so that a difference in a zip is named by the file it lies in.
  mkdir "$copy/unpacked"
  for zip in "$copy"/build/mingw-i686/package/*.zip; do
    name=$(basename "$zip" .zip)
    mkdir "$copy/unpacked/$name"
    (cd "$copy/unpacked/$name" && cmake -E tar xf "$zip")
  done
done

# What lies at a byte of a PE file (1-based, as cmp counts): a field of its headers that a
# build may stamp, or the section it falls in.
place_in_pe() {
  local file=$1 byte=$2 header
  header=$(od -An -tu4 -j 60 -N 4 "$file" | tr -d ' ')
  if [ "$byte" -gt $((header + 8)) ] && [ "$byte" -le $((header + 12)) ]; then
    echo "the PE header's time stamp"
  elif [ "$byte" -gt $((header + 88)) ] && [ "$byte" -le $((header + 92)) ]; then
    echo "the PE header's checksum"
  else
    # A section without data of its own in the file (a symbols file keeps only the headers of
    # the code's sections) has the offset 0.
    local name size offset lowest=
    while read -r name size offset; do
      [ $((0x$offset)) -gt 0 ] || continue
      if [ $((byte - 1)) -ge $((0x$offset)) ] && [ $((byte - 1)) -lt $((0x$offset + 0x$size)) ]; then
        echo "section $name"
        return
      fi
      [ -n "$lowest" ] && [ "$lowest" -le $((0x$offset)) ] || lowest=$((0x$offset))
    done < <(objdump -h "$file" 2>/dev/null | awk '$1 ~ /^[0-9]+$/ {print $2, $3, $6}')
    if [ -n "$lowest" ] && [ $((byte - 1)) -lt "$lowest" ]; then
      echo "the PE headers"
    else
      echo "no section"
    fi
  fi
}

# Where two files differ: the first byte, and in a module or symbols file the places its first
# differing bytes lie in.
where_they_differ() {
  local bytes first byte place places=()
  bytes=$(cmp -l "$1" "$2" 2>/dev/null | awk '{print $1}' || true)
  [ -n "$bytes" ] || { echo "in their length"; return; }
  first=$(head -n 1 <<<"$bytes")
  case $1 in
    *.nxt | *.debug)
      for byte in $(head -n 100 <<<"$bytes"); do
        place=$(place_in_pe "$1" "$byte")
        [[ " ${places[*]/%/,} " == *" $place, "* ]] || places+=("$place")
      done
      echo "first at byte $first, $(wc -l <<<"$bytes") bytes in all, in:" \
        "$(printf '%s; ' "${places[@]}" | sed 's/; $//')" ;;
    *.html)
      # The page's parts are each one line (web/make_page.js): the line names the part, the
      # side module or the program's WebAssembly in base64, the program's JavaScript, or the
      # page's own lines.
      echo "first at byte $first, line $(head -c "$first" "$1" | wc -l | awk '{print $1 + 1}')," \
        "$(wc -l <<<"$bytes") bytes in all" ;;
    *) echo "first at byte $first" ;;
  esac
}

first=${copies[0]} second=${copies[1]}
compared=()
for arch in i686 x86_64; do
  for file in QuorNoteSpacing.nxt QuorNoteSpacing.nxt.debug; do
    compared+=("build/mingw-$arch/$file")
  done
done
compared+=("$page")
for file in $(cd "$first" && find build/mingw-i686/package -maxdepth 1 -name '*.zip' | LC_ALL=C sort &&
  find unpacked -type f | LC_ALL=C sort); do
  compared+=("$file")
done
for file in "${compared[@]}"; do
  if [ ! -f "$second/$file" ]; then
    say "FAIL: $file is made in one copy only"
    fail=1
  elif ! cmp -s "$first/$file" "$second/$file"; then
    say "FAIL: $file differs between the two copies, $(where_they_differ "$first/$file" "$second/$file")"
    fail=1
  fi
done
for copy in "${copies[@]}"; do
  for file in "$copy/build/mingw-"*/QuorNoteSpacing.nxt* "$copy/$page"; do
    if grep -q -F "$copy" "$file"; then
      say "FAIL: ${file#"$copy"/} holds the path of the copy it was built in, $copy"
      fail=1
    fi
  done
done
if [ $fail -ne 0 ]; then
  say "FAILED in $((SECONDS - started)) s"
  exit 1
fi
for file in "${compared[@]}"; do
  case $file in *.nxt | *.debug | *.zip | *.html) say "same: $file, $(stat -c %s "$first/$file") bytes, SHA-256 $(sha256sum "$first/$file" | cut -c 1-16)..." ;; esac
done
say "passed: ${#compared[@]} files the same in both copies, in $((SECONDS - started)) s"
rm -rf "$work"
