# The instructions one object executed itself, from a callgrind output file: the self cost of
# every function callgrind attributes to an object whose name ends in `object`, leaving out what
# those functions' calls into other objects cost.
#
#   awk -v object=QuorNoteSpacing.nxt -f own_instructions.awk callgrind.out
#
# Names may be compressed ("ob=(3) /path" once, then "ob=(3)"). The cost line after "calls=" is
# the inclusive cost of that call, not the caller's own, and is skipped.
function named(field, table,    id, rest) {
    if (field ~ /^\([0-9]+\)/) {
        id = substr(field, 2, index(field, ")") - 2)
        rest = substr(field, index(field, ")") + 1)
        sub(/^ /, "", rest)
        if (rest != "") table[id] = rest
        return table[id]
    }
    return field
}
function ends_with(text, tail) {
    return length(text) >= length(tail) && substr(text, length(text) - length(tail) + 1) == tail
}
BEGIN { own = 0; skip = 0; total = 0 }
/^ob=/ { current = named(substr($0, 4), objects); own = ends_with(current, object); next }
/^cob=/ { named(substr($0, 5), objects); next }
/^calls=/ { skip = 1; next }
/^[0-9+*-]/ {
    if (skip) { skip = 0; next }
    if (own) total += $2
    next
}
END { printf "%d\n", total }
