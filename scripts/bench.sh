#!/usr/bin/env bash
# Builds the program and runs every benchmark under Wine; each prints its
# figures beside their floors. The XML parse is compared here with
# "xmllint --noout" reading the same file, when xmllint is installed.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$build/win/wineprefix-bench" >/dev/null

# The XML benchmark, then xmllint five times on the file it wrote: the median
# of each and their ratio.
run_xml_benchmark() {
  local file output parse floor
  file=$(mktemp --suffix=.xml)
  output=$(run_windows_program "$build/win/XmlParseBench.exe" "Z:${file//\//\\}")
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

for source in "$repo"/bench/*.cpp; do
  name=$(basename "$source" .cpp)
  echo "== $name"
  if [ "$name" = XmlParseBench ]; then
    run_xml_benchmark
  else
    run_windows_program "$build/win/$name.exe"
  fi
done
