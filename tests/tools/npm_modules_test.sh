#!/usr/bin/env bash
# tools/npm/modules.sh against a stand-in npm on PATH: it installs once per lock file into the
# cache, whole or not at all; where npm cannot reach its registry, or is missing, it says so in
# one line; the package step of tools/install_packages.sh runs it without root. And the lock file
# records no address to download from, and package.json pins exact versions.
set -uo pipefail

tools=$(realpath "$(dirname "$0")/../../tools")
modules_sh=$tools/npm/modules.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}

# The stand-in records its calls in $STATE/calls and answers as $STATE says: "unreachable" as
# npm does without its registry, "broken" as a failed install for another reason; else it
# installs one package into the folder it is run in.
mkdir -p "$work/bin"
cat >"$work/bin/npm" <<'STANDIN'
#!/bin/sh
echo "npm $*" >>"$STATE/calls"
if [ -e "$STATE/unreachable" ]; then
  echo "npm error code ENOTFOUND"
  echo "npm error network request to the registry failed, reason: getaddrinfo ENOTFOUND"
  exit 1
fi
if [ -e "$STATE/broken" ]; then
  echo "npm error code EUSAGE"
  echo "npm error The package-lock.json does not match package.json"
  exit 1
fi
[ "$1" = ci ] && [ -e package-lock.json ] && [ -e .npmrc ] || exit 3
mkdir -p node_modules/verovio && echo '{}' >node_modules/verovio/package.json
STANDIN
cat >"$work/bin/id" <<'STANDIN'
#!/bin/sh
echo 1000
STANDIN
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/bin/sh
printf 'install ok installed'
STANDIN
chmod +x "$work/bin/"*

# A case's own state and cache; runs modules.sh with the stand-ins first on PATH.
start() {
  export STATE=$work/$1 QUOR_NPM_CACHE=$work/$1/cache
  mkdir -p "$STATE"
  : >"$STATE/calls"
}
modules() { PATH="$work/bin:$PATH" bash "$modules_sh" "$@" 2>&1; }
hash=$(sha256sum "$tools/npm/package-lock.json" | cut -c 1-16)

start unreachable
touch "$STATE/unreachable"
output=$(modules install) && fail "unreachable: the install succeeded"
[ "$(wc -l <<<"$output")" = 1 ] || fail "unreachable: more than one line: $output"
[[ $output == *"the npm registry cannot be reached"* ]] || fail "unreachable: it said $output"
[ ! -e "$QUOR_NPM_CACHE/$hash" ] || fail "unreachable: a cache folder was left"
compgen -G "$QUOR_NPM_CACHE/.$hash.*" >/dev/null && fail "unreachable: a staging folder was left"
output=$(modules run true) && fail "unreachable: run went on without the tools"
[[ $output == *"not installed for this lock file"*"modules.sh install" ]] ||
  fail "unreachable: run said $output"

start broken
touch "$STATE/broken"
output=$(modules install) && fail "broken: the install succeeded"
[[ $output == "npm tools: npm ci failed for "* ]] || fail "broken: it said $output"

start installs
output=$(modules install) || fail "installs: exit status $?: $output"
[ -z "$output" ] || fail "installs: it said $output"
[ -e "$QUOR_NPM_CACHE/$hash/node_modules/verovio/package.json" ] || fail "installs: no folder"
compgen -G "$QUOR_NPM_CACHE/.$hash.*" >/dev/null && fail "installs: a staging folder was left"
[ "$(modules dir)" = "$QUOR_NPM_CACHE/$hash/node_modules" ] || fail "installs: dir said $(modules dir)"
[ "$(modules run sh -c 'echo "$QUOR_NODE_MODULES"')" = "$QUOR_NPM_CACHE/$hash/node_modules" ] ||
  fail "installs: run did not set QUOR_NODE_MODULES"
grep -q "^npm ci .*--ignore-scripts" "$STATE/calls" || fail "installs: npm was called as $(cat "$STATE/calls")"
: >"$STATE/calls"
modules install >/dev/null || fail "installs: the second install failed"
[ ! -s "$STATE/calls" ] || fail "installs: the second install called npm again"

# Without node and npm on PATH: only the tools the script itself uses.
start no-npm
mkdir -p "$work/bare"
for tool in bash sha256sum cut dirname mkdir; do ln -sf "$(command -v $tool)" "$work/bare/$tool"; done
output=$(PATH="$work/bare" bash "$modules_sh" install 2>&1) && fail "no-npm: the install succeeded"
[[ $output == *"node and npm are not installed; as root, run: "*"install_packages.sh npm" ]] ||
  fail "no-npm: it said $output"

# The package step, run by a user who is not root, installs the npm tools all the same.
start package-step
output=$(PATH="$work/bin:$PATH" bash "$tools/install_packages.sh" npm 2>&1) ||
  fail "package-step: exit status $?: $output"
[ -e "$QUOR_NPM_CACHE/$hash/node_modules" ] || fail "package-step: nothing installed: $output"

if grep -q '"resolved"' "$tools/npm/package-lock.json"; then
  fail "the lock file records where its packages were downloaded from"
fi
if grep -Eq '"[~^<>*]|"latest"' <(sed -n '/"dependencies"/,/}/p' "$tools/npm/package.json"); then
  fail "package.json names a version range, not one version"
fi

if [ "$failures" -ne 0 ]; then
  echo "npm_modules: $failures check(s) failed"
  exit 1
fi
echo "npm_modules: all checks passed"
