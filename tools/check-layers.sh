#!/bin/sh
# Fails when a source under src/ includes a folder its layer may not include, naming the
# file and line. The allowed pairs are listed in tools/layers.txt.
# Usage: check-layers.sh [root] [table]
root=${1:-.}
table=${2:-$(dirname "$0")/layers.txt}
[ -d "$root/src" ] || { echo "check-layers: no src folder under $root" >&2; exit 2; }
[ -r "$table" ] || { echo "check-layers: cannot read the layer table $table" >&2; exit 2; }

# shellcheck disable=SC2046 # the file names hold no spaces
awk -v table="$table" -v prefix="$root/src/" '
# The folder of a path under src/: the platform layers are one level deeper.
function folder_of(path,    parts, n) {
    n = split(path, parts, "/")
    if (parts[1] == "platform" && n > 2) return parts[1] "/" parts[2]
    return n > 1 ? parts[1] : ""
}
BEGIN {
    while ((getline line < table) > 0) {
        if (line ~ /^[ \t]*(#|$)/) continue
        split(line, halves, ":")
        n = split(halves[1], head, " ")
        known[head[n]] = 1
        m = split(halves[2], targets, " ")
        for (i = 1; i <= m; ++i) allowed[head[n], targets[i]] = 1
    }
    close(table)
    failures = 0
}
FNR == 1 {
    file = substr(FILENAME, length(prefix) + 1)
    from = folder_of(file)
    if (!(from in known)) {
        printf "%s: folder \"%s\" is not in the layer table\n", "src/" file, from
        ++failures
        nextfile
    }
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    target = $0
    sub(/^[^"]*"/, "", target)
    sub(/".*$/, "", target)
    if (target !~ /\//) next  # a header beside the source
    to = folder_of(target)
    if (to == from || allowed[from, to]) next
    if (!(to in known)) {
        printf "%s:%d: includes \"%s\" from a folder the layer table does not know\n", "src/" file, FNR, target
    } else {
        printf "%s:%d: %s may not include %s (\"%s\")\n", "src/" file, FNR, from, to, target
    }
    ++failures
}
END {
    if (failures > 0) {
        printf "%d include(s) break the layers of tools/layers.txt\n", failures
        exit 1
    }
}' $(find "$root/src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inl' \) | LC_ALL=C sort)
