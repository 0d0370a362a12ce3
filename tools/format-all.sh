#!/bin/sh
# Formats every C++ source of the tree with the project's .clang-format, in place.
# Usage: tools/format-all.sh [clang-format binary]
set -e
cd "$(dirname "$0")/.."
formatter=${1:-clang-format}
command -v "$formatter" >/dev/null || { echo "format-all: $formatter is not installed" >&2; exit 1; }
git ls-files -z -- '*.h' '*.cpp' '*.inl' | xargs -0 "$formatter" -i --style=file
