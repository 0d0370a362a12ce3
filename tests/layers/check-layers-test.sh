#!/bin/sh
# The layer check passes a tree that keeps the layers and fails one that does not,
# naming the offending file and line.
check=${1:?usage: check-layers-test.sh path/to/check-layers.sh}
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

mkdir -p "$tmp/src/core" "$tmp/src/world" "$tmp/src/platform/gfx"
printf '#pragma once\n#include <vector>\n#include "platform/sys/Paths.h"\n' > "$tmp/src/core/Good.h"
printf '#include "core/Good.h"\n#include "Beside.h"\n#include "units/Vorn.h"\n' > "$tmp/src/world/Fine.cpp"
printf '#include "core/Good.h"\n' > "$tmp/src/platform/gfx/Device.cpp"
"$check" "$tmp" > "$tmp/out" || fail "a tree that keeps the layers was refused: $(cat "$tmp/out")"

printf '#pragma once\n\n#include "world/Arena.h"\n' > "$tmp/src/core/Bad.h"
printf '// upward by a deeper path\n#include "app/Shell.h"\n' > "$tmp/src/platform/gfx/Up.cpp"
if "$check" "$tmp" > "$tmp/out"; then fail "an upward include was let through"; fi
grep -q '^src/core/Bad.h:3: ' "$tmp/out" || fail "the report does not name src/core/Bad.h:3: $(cat "$tmp/out")"
grep -q '^src/platform/gfx/Up.cpp:2: ' "$tmp/out" || fail "the report does not name src/platform/gfx/Up.cpp:2"
grep -q 'Fine.cpp' "$tmp/out" && fail "an allowed include was reported"

mkdir -p "$tmp/src/gadgets"
rm "$tmp/src/core/Bad.h" "$tmp/src/platform/gfx/Up.cpp"
printf 'int x;\n' > "$tmp/src/gadgets/New.cpp"
if "$check" "$tmp" > "$tmp/out"; then fail "a folder missing from the table was let through"; fi
grep -q 'gadgets' "$tmp/out" || fail "the report does not name the unknown folder"
echo "check-layers: all cases pass"
