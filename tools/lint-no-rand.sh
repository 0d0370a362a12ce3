#!/bin/sh
# Fails when any source calls the C library's rand or srand.
root=${1:-.}
hits=$(grep -rnE '(^|[^A-Za-z_0-9:.>])(std::)?s?rand[[:space:]]*\(' "$root/src" "$root/tools" "$root/bench" --include='*.cpp' --include='*.h' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "The C library's random functions are banned; use the game's generator:"
  echo "$hits"
  exit 1
fi
exit 0
