#!/usr/bin/env bash
# The npm tools the suites run (package.json beside this script, pinned by package-lock.json) live
# outside the tree, one folder per lock file: $QUOR_NPM_CACHE (~/.cache/quor-npm unless set)/HASH,
# HASH the first 16 hex digits of the lock file's SHA-256. A changed lock file gets a folder of its
# own, so a branch never runs another branch's tools; old folders stay until removed by hand.
# `install` fills the folder with `npm ci` (npm's own download cache kept beside it), in a
# temporary folder renamed into place only when the install is whole, and does nothing when the
# folder is there. npm takes the registry this machine is set up with: the lock file names none.
#
# Usage: modules.sh install        install when missing; one line on the standard output on failure
#        modules.sh dir            print the node_modules folder; fail with one line when missing
#        modules.sh run CMD ARG... run CMD with QUOR_NODE_MODULES set to that folder
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
lock=$here/package-lock.json
cache=${QUOR_NPM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quor-npm}
hash=$(sha256sum "$lock" | cut -c 1-16)
target=$cache/$hash
modules=$target/node_modules
install_command="bash $here/modules.sh install"
staging=""
trap '[ -z "$staging" ] || rm -rf "$staging"' EXIT

fail() {
  echo "npm tools: $*"
  exit 1
}

install() {
  [ -d "$modules" ] && return 0
  command -v node >/dev/null && command -v npm >/dev/null ||
    fail "node and npm are not installed; as root, run: bash $here/../install_packages.sh npm"
  mkdir -p "$cache"
  local log=$cache/$hash.log
  staging=$(mktemp -d "$cache/.$hash.XXXXXX")
  cp "$here/package.json" "$lock" "$here/.npmrc" "$staging/"
  # No install scripts: the tools are JavaScript and WebAssembly, and nothing may download on
  # its own. Few retries, so that a machine without the registry hears so within a minute.
  if ! (cd "$staging" && npm ci --ignore-scripts --no-audit --no-fund --cache "$cache/npm-cache" \
    --fetch-retries=1 --fetch-retry-mintimeout=2000 --fetch-retry-maxtimeout=10000 \
    --fetch-timeout=30000) >"$log" 2>&1; then
    if grep -qE 'E(NOTFOUND|AI_AGAIN|CONNREFUSED|CONNRESET|TIMEDOUT|NETUNREACH|HOSTUNREACH)|network' \
      "$log"; then
      fail "cannot install $lock: the npm registry cannot be reached (npm's output: $log)"
    fi
    fail "npm ci failed for $lock (npm's output: $log)"
  fi
  # Another install of the same lock file may have finished first; either is whole.
  mv -T "$staging" "$target" 2>/dev/null || [ -d "$modules" ] ||
    fail "cannot move the install into $target"
  rm -f "$log"
}

installed() {
  [ -d "$modules" ] || fail "not installed for this lock file ($target); run: $install_command"
}

case ${1:-} in
  install) install ;;
  dir)
    installed
    echo "$modules"
    ;;
  run)
    [ $# -ge 2 ] || fail "usage: modules.sh run COMMAND [ARG...]"
    installed
    shift
    QUOR_NODE_MODULES=$modules exec "$@"
    ;;
  *)
    echo "usage: modules.sh install | dir | run COMMAND [ARG...]" >&2
    exit 2
    ;;
esac
