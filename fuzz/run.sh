#!/bin/sh
# Runs the fuzz programs of a build folder, each for FUZZ_SECONDS (default 60), FUZZ_JOBS
# at a time (default 1), and prints per target the executions and the findings: inputs
# that crashed, hung, leaked or ran out of memory, kept in <build>/fuzz-findings/<target>.
# Usage: fuzz/run.sh BUILD_FOLDER [TARGET...]   (no target: every one built)
# Exits 1 when anything was found.
set -u
if [ "${1:-}" = "--one" ]; then
  build=$2 name=$3
  here=$(cd "$(dirname "$0")" && pwd)
  findings="$build/fuzz-findings/$name"
  work="$build/fuzz-work/$name"
  log="$build/fuzz-logs/$name.log"
  mkdir -p "$findings" "$work" "$build/fuzz-logs"
  # The committed seeds and regressions are read; what the fuzzer adds goes to $work.
  dirs="$work"
  for d in "$here/corpus/$name" "$here/regressions/$name"; do
    [ -d "$d" ] && dirs="$dirs $d"
  done
  "$build/fuzz/fuzz_$name" -max_total_time="${FUZZ_SECONDS:-60}" -timeout="${FUZZ_TIMEOUT:-10}" \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" $dirs >"$log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' -o -name 'oom-*' \) | wc -l)
  printf '%-16s %12s executions %4d findings\n' "$name" "${runs:-?}" "$found" >"$build/fuzz-logs/$name.result"
  exit 0
fi

build=${1:?usage: fuzz/run.sh BUILD_FOLDER [TARGET...]}
shift
targets="$*"
[ -n "$targets" ] || targets=$(ls "$build/fuzz" | sed -n 's/^fuzz_//p')
rm -f "$build"/fuzz-logs/*.result
echo "Fuzzing for ${FUZZ_SECONDS:-60} s per target, ${FUZZ_JOBS:-1} at a time"
printf '%s\n' $targets | xargs -P "${FUZZ_JOBS:-1}" -I{} "$0" --one "$build" {}
status=0
for name in $targets; do
  cat "$build/fuzz-logs/$name.result"
  grep -q ' 0 findings$' "$build/fuzz-logs/$name.result" || status=1
done
[ $status = 0 ] || echo "Findings are in $build/fuzz-findings; the logs in $build/fuzz-logs." >&2
exit $status
