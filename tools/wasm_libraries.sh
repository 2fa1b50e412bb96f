#!/usr/bin/env bash
# The libraries the substitute host links, built for wasm32 with emscripten from Debian's own
# sources, at the versions Debian 12 ships, so that the Node build reads a score with the same
# code as the native one: zlib, libzip and pugixml from their source packages, GoogleTest from
# the sources its package installs, CLI11's headers as its package installs them.
#
# The source packages come through `apt-get source` with an apt configuration of this script's
# own (its sources list, state and cache in the user's cache), whose deb-src line takes the
# archive's address from the machine's own apt sources; the machine's apt set-up is left alone.
# The libraries are installed into a folder of the user's cache keyed by their versions, the
# compiler flags, emcc's version and this script, and reused while the key holds.
# Usage: wasm_libraries.sh FLAG...    builds what is missing; prints the folder on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
say() { echo "wasm libraries: $*" >&2; }
fail() {
  say "$*"
  exit 1
}

# Each source package at the version Debian 12 ships.
packages=(zlib=1:1.2.13.dfsg-1 libzip=1.7.3-1 pugixml=1.13-0.2)
gtest_sources=/usr/src/googletest
gtest_version=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null) ||
  fail "the googletest package is missing; bash tools/install_packages.sh wasm installs it"
cli11_version=$(dpkg-query -W -f='${Version}' libcli11-dev 2>/dev/null) ||
  fail "the libcli11-dev package is missing; bash tools/install_packages.sh wasm installs it"

flags=("$@")
[ ${#flags[@]} -gt 0 ] || fail "usage: wasm_libraries.sh FLAG..."
command -v emcc >/dev/null || fail "emcc is missing; bash tools/install_packages.sh wasm installs it"
# emcc's own steps at -O1 and above run Debian's node modules (acorn), which node does not
# look for there by itself.
export NODE_PATH=/usr/share/nodejs

cache=${XDG_CACHE_HOME:-$HOME/.cache}/quor-note-spacing
emcc_version=$(emcc --version | sed -n 1p)
key=$(printf '%s\n' "${packages[@]}" "googletest=$gtest_version" "cli11=$cli11_version" \
  "${flags[*]}" "$emcc_version" "$(sha256sum "$0" | cut -d ' ' -f 1)" | sha256sum | cut -c 1-12)
prefix=$cache/wasm32-libraries-$key
if [ -f "$prefix/.quor-ready" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.quor-ready" ]; then
  echo "$prefix"
  exit 0
fi
started=$SECONDS
say "building zlib, libzip, pugixml and GoogleTest with ${flags[*]} into $prefix"

# The sources, unpacked once per version whatever the flags.
sources=$cache/wasm32-sources
apt_dir=$sources/apt
apt_options=(
  -o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
  -o "Dir::State=$apt_dir/state" -o "Dir::State::lists=$apt_dir/state/lists"
  -o "Dir::State::status=$apt_dir/state/status"
  -o "Dir::Cache=$apt_dir/cache" -o "Dir::Cache::archives=$apt_dir/cache/archives"
  -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
  # The downloads land in this user's own folders, which apt's sandbox user cannot write.
  -o APT::Sandbox::User=root
)
# The folder apt-get source unpacks a package into: NAME-UPSTREAM, the epoch and the Debian
# revision left out.
unpacked() {
  local name=${1%%=*} version=${1#*=}
  version=${version#*:}
  echo "$sources/${1//[=:]/_}/$name-${version%-*}"
}
fetch_sources() {
  local codename uri key package missing=()
  for package in "${packages[@]}"; do
    [ -f "$(unpacked "$package")/.quor-unpacked" ] || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  IFS=$'\t' read -r uri key < <(bash "$root/tools/install_packages.sh" --archive-source) || true
  [ -n "${uri:-}" ] || fail "no apt source of this machine serves $codename"
  mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
  touch "$apt_dir/state/status"
  echo "deb-src ${key:+[signed-by=$key] }$uri $codename main" >"$apt_dir/sources.list"
  say "source packages from $uri: ${missing[*]}"
  apt-get "${apt_options[@]}" -qq update >&2 || fail "apt-get update of $apt_dir/sources.list failed"
  for package in "${missing[@]}"; do
    local shown
    shown=$(apt-cache "${apt_options[@]}" showsrc "${package%%=*}" |
      sed -n 's/^Version: //p' | tr '\n' ' ')
    [[ " $shown" == *" ${package#*=} "* ]] ||
      fail "${package%%=*} ${package#*=} is not in $codename's sources (they hold: ${shown:-none})"
    local folder=$sources/${package//[=:]/_}
    rm -rf "$folder"
    mkdir -p "$folder"
    (cd "$folder" && apt-get "${apt_options[@]}" -qq source "$package" >&2) ||
      fail "apt-get source $package failed"
    [ -d "$(unpacked "$package")" ] || fail "apt-get source $package left no $(unpacked "$package")"
    touch "$(unpacked "$package")/.quor-unpacked"
  done
}
fetch_sources

work=$prefix.build
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work"
# Position-independent code, as everything linked into a program that loads a side module.
compile_flags="${flags[*]} -fPIC"
cmake_build() {
  local name=$1 source=$2
  shift 2
  emcmake cmake -S "$source" -B "$work/$name" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_C_FLAGS="$compile_flags" -DCMAKE_CXX_FLAGS="$compile_flags -fwasm-exceptions" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF \
    "$@" >"$work/$name.log" 2>&1 || fail "configuring $name failed; see $work/$name.log"
}

# zlib's own configure script (Debian's source has none of the Windows files its CMake project
# names), building the static library only.
mkdir -p "$work/zlib"
(cd "$work/zlib" && CFLAGS="$compile_flags" emconfigure "$(unpacked "${packages[0]}")/configure" \
  --static --prefix="$prefix" && emmake make -j2 install) >"$work/zlib.log" 2>&1 ||
  fail "building zlib failed; see $work/zlib.log"

# CMake's measure of a type's size reads the compiled program, which emcc's output does not hold
# in a form it finds (it answers 9), so libzip is told the two it needs, checked here first.
sizes=$work/sizes.c
printf '%s\n' '#include <stddef.h>' '#include <sys/types.h>' \
  '_Static_assert(sizeof(off_t) == 8, "off_t"); _Static_assert(sizeof(size_t) == 4, "size_t");' \
  >"$sizes"
emcc -fsyntax-only "$sizes" >&2 || fail "emcc's off_t and size_t are not the 8 and 4 bytes libzip is told"

# libzip without bzip2, xz or any encryption: a score's archive needs none of them, and the
# reader refuses entries that use them whatever libzip could decode.
cmake_build libzip "$(unpacked "${packages[1]}")" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF \
  -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
  -DHAVE_SIZEOF_OFF_T=TRUE -DSIZEOF_OFF_T=8 -DHAVE_SIZEOF_SIZE_T=TRUE -DSIZEOF_SIZE_T=4
cmake --build "$work/libzip" --target install -j2 >>"$work/libzip.log" 2>&1 ||
  fail "building libzip failed; see $work/libzip.log"

cmake_build pugixml "$(unpacked "${packages[2]}")" -DPUGIXML_BUILD_TESTS=OFF
cmake --build "$work/pugixml" --target install -j2 >>"$work/pugixml.log" 2>&1 ||
  fail "building pugixml failed; see $work/pugixml.log"

# Tests run in one thread under Node.
cmake_build googletest "$gtest_sources" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON
cmake --build "$work/googletest" --target install -j2 >>"$work/googletest.log" 2>&1 ||
  fail "building GoogleTest failed; see $work/googletest.log"

# CLI11 is headers only; its CMake package finds them relative to itself.
cp -r /usr/include/CLI "$prefix/include/"
mkdir -p "$prefix/share/cmake"
cp -r /usr/share/cmake/CLI11 "$prefix/share/cmake/"

rm -rf "$work"
touch "$prefix/.quor-ready"
say "built in $((SECONDS - started)) s"
echo "$prefix"
