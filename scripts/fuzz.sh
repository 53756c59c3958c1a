#!/usr/bin/env bash
# Builds the fuzz programs (build/fuzz: clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each of them, or the one named, for the
# given number of seconds (60 unless told):
#   scripts/fuzz.sh [seconds] [target]
# Targets are named after the files of fuzz/ (TableFile, MemoFile, XmlFile,
# Base64, BitmapFile, MemoryZip, WireText, LinkText, MailText, SendTarget,
# ProtectedBody, BackupFile). What a run finds is kept in build/fuzz/corpus.
# An input that breaks a target is copied into fuzz/corpus/<target>, so that
# every later test run replays it: commit it with the mend.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
seconds=${1:-60}
only=${2:-}
if [ -n "$only" ] && [ ! -f "$repo/fuzz/$only.cpp" ]; then
  echo "fuzz: no target called $only" >&2
  exit 2
fi

"$repo/scripts/setup.sh"
QN_BUILD_DIR=$build "$repo/scripts/build.sh" fuzz >/dev/null

fuzz=$build/fuzz
failed=()
for source in "$repo"/fuzz/*.cpp; do
  target=$(basename "$source" .cpp)
  [ -z "$only" ] || [ "$only" = "$target" ] || continue
  echo "== $target, $seconds s"
  crashes=$(mktemp -d)
  if ! "$fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$fuzz/corpus/$target" "$repo/fuzz/corpus/$target" \
        "$fuzz/seeds/$target"; then
    failed+=("$target")
  fi
  for found in "$crashes"/*; do
    [ -e "$found" ] || continue
    cp "$found" "$repo/fuzz/corpus/$target/"
    echo "fuzz: $target broke on $(basename "$found"), now kept in fuzz/corpus/$target"
  done
  rm -rf "$crashes"
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: broken: ${failed[*]}" >&2
  exit 1
fi
