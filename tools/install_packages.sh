#!/usr/bin/env bash
# The one place that says what the build needs from Debian's archive, by group. The Makefile's
# targets, the Wine suite and CI call it before they start: as root it installs what is missing;
# otherwise, when something is missing, it prints one line with the command that installs it,
# and fails. With nothing missing it does nothing.
# Usage: install_packages.sh GROUP...
#        install_packages.sh --archive    prints the address of the archive this machine uses
#        install_packages.sh --archive-source    the same, then a tab and its key file (may be empty)
set -euo pipefail

# What each group needs: packages, "@GROUP" for everything another group needs, and set-up steps
# (below) starting with "~". Group names given on the command line need no "@".
declare -A needs=(
  # make demo: notavo-sim from the native build, whose configuration also looks for GoogleTest.
  [demo]="cmake make g++ libgtest-dev libpugixml-dev zlib1g-dev libcli11-dev libzip-dev pkg-config"
  # The npm tools the suites run (tools/npm): Node.js and npm, Debian's unless the machine has
  # its own, then the pinned packages, installed by tools/npm/modules.sh into a cache of the user
  # who runs this script (no root needed for that step).
  [npm]="~node ~npm-tools"
  # The native and the sanitizer suites (GCC's sanitizer runtimes come with g++), with the npm
  # tools their verovio comparison runs. The suites' builds compile through ccache and link with
  # lld when they are there; the demo does without.
  [native]="@demo ccache lld @npm"
  [sanitize]="@native"
  # The Windows DLLs and NOTAVO.EXE, cross-built and checked statically.
  [windows]="cmake make mingw-w64 ccache"
  # make dist: the 32-bit module packed by CPack; its check unpacks the zips with CMake and sums
  # them with coreutils.
  [dist]="@windows"
  # make test-reproducible: the modules of both architectures built twice.
  [reproducible]="@windows binutils git"
  [fuzz]="@native clang libclang-rt-14-dev"
  [coverage]="@native gcovr"
  [memcheck]="@native valgrind"
  [bench]="@native libbenchmark-dev valgrind"
  [style]="clang-format clang-tidy"
  # Looking at notavo-sim's pictures as a reader sees them: SVG to PNG with librsvg.
  [pictures]="librsvg2-bin"
  # The Windows suite under wine64 on a virtual X screen; the picture is checked with ImageMagick.
  [wine-x86_64]="@windows wine wine64 xvfb xauth imagemagick"
  # The same under 32-bit Wine. The kernel runs i386 programs only through QEMU's user-mode
  # emulator registered with binfmt_misc, and Wine needs a newer QEMU than Debian 12's own.
  [wine-i686]="@wine-x86_64 wine32:i386 ~qemu-i386 ~binfmt-i386"
  # make test-wine: both Wine runs, compared with the headless scenario suite.
  [wine]="@native @wine-x86_64 @wine-i686 @dist"
  # make test's comparison of each scenario's verdicts in every place it ran.
  [scenario-places]="@native"
  # make wasm and its suite: emscripten, and Node to run what it builds. The libraries are built
  # for wasm32 from Debian's source packages, which dpkg-source unpacks, and GoogleTest from the
  # sources its package installs (tools/wasm_libraries.sh).
  [wasm]="@native emscripten nodejs dpkg-dev googletest"
  # make web and its suite: the page from the wasm32 build, tried in Debian's chromium, headless,
  # which the npm tools' playwright-core drives (it never fetches a browser of its own).
  [web]="@wasm @npm chromium"
  # tools/chroot_check.sh: a minimal Debian root for trying the two commands from nothing.
  [chroot-check]="debootstrap"
)

self=$(realpath "$0")
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
backports=$codename-backports
qemu_i386=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc
# i386 ELF executables and shared objects: e_ident for 32-bit little-endian, then e_machine 3.
i386_magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
i386_magic_hex=$(tr -d '\\x' <<<"$i386_magic")

# The groups' words, each once, in the order first named.
declare -A seen=()
words=()
expand() {
  local word
  for word in "$@"; do
    if [[ $word == @* ]]; then
      word=${word#@}
      [ -n "${needs[$word]+set}" ] || { echo "install_packages: no group $word"; exit 2; }
      [ -n "${seen[@$word]+set}" ] || { seen[@$word]=1; expand ${needs[$word]}; }
    elif [ -z "${seen[$word]+set}" ]; then
      seen[$word]=1
      words+=("$word")
    fi
  done
}
wanted() { [ -n "${seen[$1]+set}" ]; }
fail() {
  echo "install_packages: $*"
  exit 1
}

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

# The major version of a QEMU user-mode emulator, or nothing.
qemu_major() {
  [ -x "$1" ] || return 0
  "$1" --version 2>/dev/null | sed -n 's/^qemu-[a-z0-9_]* version \([0-9]*\)\..*/\1/p' | head -n 1
}

# Debian 12's own QEMU (7.2) ignores the fixed-address mappings Wine makes.
qemu_new_enough() {
  local major
  major=$(qemu_major "${1:-$qemu_i386}")
  [ -n "$major" ] && [ "$major" -ge 8 ]
}

# binfmt_misc entries for i386 ELF programs.
i386_entries() {
  local entry
  for entry in "$binfmt"/*; do
    case ${entry##*/} in register | status) continue ;; esac
    grep -qx "magic $i386_magic_hex" "$entry" 2>/dev/null && echo "$entry"
  done
  return 0
}

# An entry serves Wine when it is enabled and its interpreter is QEMU 8 or newer, registered
# after that interpreter was installed: with the F flag the kernel keeps the file it opened at
# registration, so an entry older than an upgrade still runs the old binary. An entry's inode
# dates from its registration.
entry_current() {
  local entry=$1 interpreter
  [ "$(head -n 1 "$entry")" = enabled ] || return 1
  interpreter=$(sed -n 's/^interpreter //p' "$entry")
  qemu_new_enough "$interpreter" || return 1
  [ "$(stat -c %Y "$entry")" -ge "$(stat -L -c %Z "$(realpath "$interpreter")")" ]
}

binfmt_ready() {
  local entry
  [ -e "$binfmt/register" ] || return 1
  for entry in $(i386_entries); do
    entry_current "$entry" && return 0
  done
  return 1
}

# What is missing, in words a reader knows: package names, the emulator from backports and its
# binfmt_misc entry. Fills missing, and packages with what apt installs from the default suites.
find_missing() {
  missing=()
  packages=()
  local word
  for word in "${words[@]}"; do
    case $word in
      ~qemu-i386) qemu_new_enough || missing+=("qemu-user-static/$backports") ;;
      ~binfmt-i386) binfmt_ready || missing+=("binfmt_misc(i386)") ;;
      ~node)
        if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
          missing+=(nodejs npm)
          packages+=(nodejs npm)
        fi
        ;;
      ~npm-tools) ;; # after the packages, as whoever runs the script: npm_tools below
      *) installed "$word" || { missing+=("$word"); packages+=("$word"); } ;;
    esac
  done
}

# The archive this machine installs from, read from its own apt sources (deb822 or one-line
# form): the first source of the release itself, as "address<TAB>key file" (the key may be empty).
archive_source() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v suite="$codename" '
      function flush() {
        if (!found && types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uris != "") {
          split(uris, u, " "); print u[1] "\t" key; found = 1
        }
        types = suites = uris = key = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
      /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
      /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
      /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); key = $0 }
      END { flush() }' "$file"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v suite="$codename" '
      $1 != "deb" { next }
      {
        key = ""; i = 2
        if ($2 ~ /^\[/) {
          for (; i <= NF; i++) {
            if ($i ~ /^\[?signed-by=/) { key = $i; sub(/^\[?signed-by=/, "", key); sub(/\]$/, "", key) }
            if ($i ~ /\]$/) { i++; break }
          }
        }
        if ($(i + 1) == suite) { print $i "\t" key; exit }
      }' "$file"
  done
}

add_backports() {
  if cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
    2>/dev/null | grep -qE "^[^#]*[[:space:]]$backports([[:space:]]|$)"; then
    return 0
  fi
  local uri key
  IFS=$'\t' read -r uri key < <(archive_source) || true
  [ -n "${uri:-}" ] || fail "cannot add $backports: no apt source serves $codename"
  {
    echo "Types: deb"
    echo "URIs: $uri"
    echo "Suites: $backports"
    echo "Components: main"
    [ -z "$key" ] || echo "Signed-By: $key"
  } >"/etc/apt/sources.list.d/$backports.sources"
  echo "install_packages: added $backports from $uri"
}

# i386 ELF programs to QEMU, with the F flag so that the interpreter is found from any root (a
# chroot, or Wine's own processes). Entries for other formats are left as they are.
register_i386() {
  local entry
  mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" ||
    fail "cannot mount binfmt_misc at $binfmt"
  binfmt_ready && return 0
  for entry in $(i386_entries); do
    echo "install_packages: replacing the binfmt_misc entry ${entry##*/}" \
      "($(sed -n 's/^interpreter //p' "$entry"))"
    echo -1 >"$entry" || fail "cannot remove the binfmt_misc entry ${entry##*/}"
  done
  printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:$qemu_i386:F" >"$binfmt/register" ||
    fail "cannot register i386 programs with binfmt_misc"
}

# A mirror in the middle of a sync fails an index or two; the install can still find what it
# needs in the indexes that did load (or were loaded before), so only the install's own failure
# stops the script. indexes_whole says whether the last update loaded every index.
indexes_whole=yes
update_indexes() {
  apt-get update -qq && return 0
  echo "install_packages: warning: apt-get update reported failed indexes;" \
    "trying again in ${QUOR_APT_RETRY_PAUSE:-15} s"
  sleep "${QUOR_APT_RETRY_PAUSE:-15}"
  apt-get update -qq && return 0
  indexes_whole=no
  echo "install_packages: warning: apt-get update failed again; installing from the indexes it has"
}

# With an index missing, one architecture may see a security update that the other does not,
# and apt cannot then pair the two of a multi-arch library. The release's own suite has every
# architecture at one version, so the install is tried once more preferring it.
install_from_indexes() {
  apt-get install -y -qq "$@" >/dev/null && return 0
  [ "$indexes_whole" = no ] || return 1
  echo "install_packages: trying again, preferring $codename's own suite to its updates"
  apt-get install -y -qq -t "$codename" "$@" >/dev/null
}

# The pinned npm packages, into the user's own cache; a no-op once there.
npm_tools() {
  if wanted ~npm-tools; then bash "$(dirname "$self")/npm/modules.sh" install; fi
}

if [ "${1:-}" = --archive ]; then
  archive_source | head -n 1 | cut -f 1
  exit 0
fi
if [ "${1:-}" = --archive-source ]; then
  archive_source | head -n 1
  exit 0
fi

expand "${@/#/@}"
find_missing
if [ ${#missing[@]} -eq 0 ]; then
  npm_tools
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "missing ${missing[*]}; as root, run: bash $self $*"
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "install_packages: installing ${missing[*]}"
if [[ " ${packages[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
backported=()
if wanted ~qemu-i386 && ! qemu_new_enough; then
  add_backports
  backported=(qemu-user-static)
fi
if [ ${#packages[@]} -gt 0 ] || [ ${#backported[@]} -gt 0 ]; then
  update_indexes
fi
[ ${#packages[@]} -eq 0 ] || install_from_indexes "${packages[@]}" ||
  fail "apt-get install ${packages[*]} failed"
[ ${#backported[@]} -eq 0 ] || apt-get install -y -qq -t "$backports" "${backported[@]}" >/dev/null ||
  fail "apt-get install -t $backports ${backported[*]} failed"
if wanted ~binfmt-i386; then register_i386; fi

find_missing
[ ${#missing[@]} -eq 0 ] || fail "still missing after the install: ${missing[*]}"
npm_tools
