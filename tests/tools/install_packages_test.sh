#!/usr/bin/env bash
# tools/install_packages.sh against stand-ins for apt-get, dpkg-query and id on PATH: a mirror
# in the middle of a sync fails `apt-get update`, which must not stop an install that can still
# be done; a failed install stops the script with apt's own message.
set -uo pipefail

script=$(realpath "$(dirname "$0")/../../tools/install_packages.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The stand-ins keep their state in $STATE: the packages installed, the calls made, and what
# apt-get should answer.
mkdir -p "$work/bin"
cat >"$work/bin/id" <<'STANDIN'
#!/bin/sh
echo 0
STANDIN
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/bin/sh
# dpkg-query -W -f='${Status}' PACKAGE
eval "package=\${$#}"
grep -qx "$package" "$STATE/installed" 2>/dev/null && printf 'install ok installed'
exit 0
STANDIN
cat >"$work/bin/apt-get" <<'STANDIN'
#!/bin/sh
echo "apt-get $*" >>"$STATE/calls"
case " $* " in
  *" update "*)
    if [ -e "$STATE/update-fails" ]; then
      echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
      exit 100
    fi ;;
  *" install "*)
    if [ -e "$STATE/install-fails" ]; then
      echo "E: Unable to correct problems, you have held broken packages." >&2
      exit 100
    fi
    for word in "$@"; do
      case $word in -* | install | "$codename") ;; *) echo "$word" >>"$STATE/installed" ;; esac
    done ;;
esac
exit 0
STANDIN
chmod +x "$work/bin/"*

# One case: NAME, what apt-get does (update-fails and/or install-fails), the exit status wanted,
# the apt-get calls wanted (one per line) and a text the output must hold.
check() {
  local name=$1 answers=$2 status_wanted=$3 calls_wanted=$4 said=$5 output status
  export STATE="$work/$name"
  mkdir -p "$STATE"
  for answer in $answers; do touch "$STATE/$answer"; done
  output=$(PATH="$work/bin:$PATH" QUOR_APT_RETRY_PAUSE=0 bash "$script" style 2>&1)
  status=$?
  if [ "$status" != "$status_wanted" ]; then
    echo "FAIL $name: exit $status, wanted $status_wanted; it said:"; echo "$output"
    failures=$((failures + 1)); return
  fi
  if [ "$(cat "$STATE/calls")" != "$calls_wanted" ]; then
    echo "FAIL $name: apt-get was called as"; cat "$STATE/calls"; echo "wanted"; echo "$calls_wanted"
    failures=$((failures + 1)); return
  fi
  if [[ $output != *"$said"* ]]; then
    echo "FAIL $name: the output does not say \"$said\":"; echo "$output"
    failures=$((failures + 1)); return
  fi
  echo "PASS $name"
}

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
export codename
install="apt-get install -y -qq clang-format clang-tidy"

check update-fails-install-works "update-fails" 0 \
  "apt-get update -qq
apt-get update -qq
$install" "warning: apt-get update failed again; installing from the indexes it has"
check update-fails-install-fails "update-fails install-fails" 1 \
  "apt-get update -qq
apt-get update -qq
$install
apt-get install -y -qq -t $codename clang-format clang-tidy" \
  "E: Unable to correct problems, you have held broken packages."
check install-fails "install-fails" 1 \
  "apt-get update -qq
$install" "install_packages: apt-get install clang-format clang-tidy failed"

if [ "$failures" -ne 0 ]; then
  echo "install_packages: $failures case(s) failed"
  exit 1
fi
