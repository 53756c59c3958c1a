#!/usr/bin/env bash
# Builds the program and runs every benchmark under Wine; each prints its
# figures beside their floors. The XML parse is compared here with
# "xmllint --noout" reading the same file, when xmllint is installed.
# The benchmarks measure the 64-bit program; where 32-bit Wine starts, each
# runs right after for the 32-bit program too, so that the two kinds are
# compared in the same run.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$win/wineprefix-bench" >/dev/null
cmake --build "$win" --target benchmarks -j "$(nproc)" >/dev/null
kinds=("$bits")
if [ "$bits" = 64 ]; then
  trouble=$(wine32_trouble)
  if [ -z "$trouble" ]; then
    prepare_wine_prefix 32 "$build/win32/wineprefix-bench" bare-screen >/dev/null
    cmake --build "$build/win32" --target benchmarks -j "$(nproc)" >/dev/null
    kinds+=(32)
  else
    echo "(the 32-bit program is not measured: $trouble)"
  fi
fi

# A benchmark runs as the tests do, with its memory above 4 GB
# (scripts/wine-run.sh).
run_benchmark() {
  "$repo/scripts/wine-run.sh" --low-space-taken "$wine_prefix" "$@"
}

# The XML benchmark, then xmllint five times on the file it wrote: the median
# of each and their ratio.
run_xml_benchmark() {
  local file output parse floor
  file=$(mktemp --suffix=.xml)
  output=$(run_benchmark "$win/XmlParseBench.exe" "Z:${file//\//\\}")
  echo "$output"
  if command -v xmllint >/dev/null; then
    floor=$(for _ in 1 2 3 4 5; do
      local start end
      start=$(date +%s%N)
      xmllint --noout "$file"
      end=$(date +%s%N)
      echo $(((end - start) / 1000))
    done | sort -n | sed -n 3p)
    parse=$(echo "$output" | sed -n 's/^parse: \([0-9.]*\) ms.*/\1/p')
    awk -v parse="$parse" -v floor="$floor" \
      'BEGIN { printf "xmllint --noout: %.1f ms (median of 5), ratio %.2f\n", floor / 1000, parse * 1000 / floor }'
  else
    echo "xmllint --noout: not installed, no floor"
  fi
  rm -f "$file"
}

# The receive benchmark reads a note 4 KB at a time, as the program does. Under
# Wine each read is a few round trips to the wineserver, which cost several
# times as much when the reading thread and the wineserver run on different
# processors (each wakes the other's idle processor) as when they share one;
# which it is, the scheduler decides from run to run, and no receive thread
# can. So that the program and its floor are measured alike, each at its
# fastest, that benchmark and the prefix's wineserver run on one processor.
prefix_wineserver() {
  local pid
  for pid in $(pgrep wineserver || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$wine_prefix"; then
      echo "$pid"
      return
    fi
  done
}

run_on_one_processor() {
  local cpu server mask
  cpu=$(($(nproc) - 1))
  server=$(prefix_wineserver)
  if [ -z "$server" ] || ! command -v taskset >/dev/null; then
    echo "(not pinned: no wineserver or taskset found)"
    run_benchmark "$@"
    return
  fi
  mask=$(taskset -p "$server" | sed 's/.*: //')
  taskset -a -p -c "$cpu" "$server" >/dev/null
  taskset -c "$cpu" "$repo/scripts/wine-run.sh" --low-space-taken "$wine_prefix" "$@"
  taskset -a -p "$mask" "$server" >/dev/null
}

for source in "$repo"/bench/*.cpp; do
  name=$(basename "$source" .cpp)
  for kind in "${kinds[@]}"; do
    win=$build/win$kind
    wine_prefix=$win/wineprefix-bench
    echo "== $name ($kind-bit program)"
    if [ "$name" = XmlParseBench ]; then
      run_xml_benchmark
    elif [ "$name" = ReceiveBench ]; then
      run_on_one_processor "$win/$name.exe"
    else
      run_benchmark "$win/$name.exe"
    fi
  done
done
