#!/usr/bin/env bash
# Fails when a file of the extension includes one from a higher level, from a peer, or from
# outside the extension. The levels, from the bottom:
#
#   0  platform/ and resources/   the Windows seam; the dialog's ids
#   1  host/services/             the service declaration, bindings, edit depth, host version
#   2  framework/core/
#   3  framework/data/ | framework/ui/   peers: neither includes the other
#   4  spacing/
#   5  host/module/               the entry points and the module's window
#
# A file may include its own folder and any folder of a lower level.
set -euo pipefail
cd "$(dirname "$0")/.."

# The level and the name of the folder a path lies in; nothing for a path outside the extension.
level_of() {
    case "$1" in
        platform/*) echo "0 platform" ;;
        resources/*) echo "0 resources" ;;
        host/services/*) echo "1 host/services" ;;
        framework/core/*) echo "2 framework/core" ;;
        framework/data/*) echo "3 framework/data" ;;
        framework/ui/*) echo "3 framework/ui" ;;
        spacing/*) echo "4 spacing" ;;
        host/module/*) echo "5 host/module" ;;
        *) ;;
    esac
}

faults=0
files=0
while IFS= read -r file; do
    files=$((files + 1))
    read -r level folder <<<"$(level_of "$file")"
    if [[ -z "${level:-}" ]]; then
        echo "levels: $file lies in no level of the extension" >&2
        faults=$((faults + 1))
        continue
    fi
    while IFS=: read -r line target; do
        read -r target_level target_folder <<<"$(level_of "$target")"
        if [[ -z "${target_level:-}" ]]; then
            echo "levels: $file:$line includes $target, outside the extension" >&2
            faults=$((faults + 1))
        elif ((target_level > level)) ||
            ((target_level == level)) && [[ "$target_folder" != "$folder" ]]; then
            echo "levels: $file:$line ($folder) includes $target ($target_folder)" >&2
            faults=$((faults + 1))
        fi
        target_level=""
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
    level=""
done < <(git ls-files --cached --others --exclude-standard 'platform/*' 'resources/*' 'host/*' 'framework/*' 'spacing/*' |
    grep -E '\.(h|cpp|rc)$')

if ((faults > 0)); then
    echo "levels: $faults include(s) against the levels" >&2
    exit 1
fi
echo "levels: $files files, every include runs down or within its folder"
