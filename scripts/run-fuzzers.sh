#!/bin/sh
# Runs every fuzz program of a fuzz build for a bounded time each; a crash
# fails the run and leaves the crashing input beside the build.
set -u
dir="$1"
seconds="$2"
found=0
for fuzzer in $(find "$dir" -type f -name '*_fuzz' -perm -u+x | sort); do
  found=$((found + 1))
  name=$(basename "$fuzzer")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s =="
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$dir/$name-" "$corpus" >"$dir/$name.log" 2>&1; then
    tail -n 40 "$dir/$name.log"
    echo "fuzz: $name failed" >&2
    exit 1
  fi
  grep -E 'stat::number_of_executed_units|Done' "$dir/$name.log" | tail -n 2
done
echo "fuzz: $found targets ran without a crash"
