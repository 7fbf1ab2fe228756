#!/usr/bin/env bash
# Builds the libFuzzer targets with Debian's clang and runs each for a given
# time, then prints the executions per target. Installs the Debian packages
# it needs when they are missing (apt-get; sudo when not root).
#
#   scripts/fuzz.sh [--time SECONDS] [--runs N] [--fast] [TARGET...]
#
# Each target runs SECONDS (default 60), or until N executions when --runs is
# given (--time then caps it only when given too); no TARGET: every fuzz
# target. --fast builds without AddressSanitizer (UBSan only, in
# build/fuzz-fast) for runs that count executions: a store target's every
# execution makes real file changes, which ASan's fresh pages slow tenfold;
# the next run without --fast replays the grown corpus under ASan. The corpus of
# each target grows in build/fuzz/corpus/TARGET (seeded from the test data);
# findings (crash-*, timeout-*, oom-*) land in build/fuzz/findings/TARGET.
# Exit status 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

seconds=
runs=
fast=
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) seconds="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --fast) fast=1; shift ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done

all_targets=(
  fuzz_bmp_decoder fuzz_jpeg_decoder fuzz_png_decoder
  fuzz_store_colorbox_table fuzz_store_colorgroup_table fuzz_store_palette_table fuzz_store_config_table
  fuzz_store_colordata fuzz_store_config fuzz_store_operations
  fuzz_store_observation fuzz_chart_corners fuzz_gimp_palette
)
if [ ${#targets[@]} -eq 0 ]; then
  targets=("${all_targets[@]}")
fi
limits=()
if [ -n "$runs" ]; then
  limits+=(-runs="$runs")
fi
if [ -n "$seconds" ] || [ -z "$runs" ]; then
  limits+=(-max_total_time="${seconds:-60}")
fi

pigmora_install_packages "${PIGMORA_PACKAGES[@]}" "${PIGMORA_FUZZ_PACKAGES[@]}"
build=build/fuzz
sanitizers=address,undefined
if [ -n "$fast" ]; then
  build=build/fuzz-fast
  sanitizers=undefined
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIGMORA_BUILD_FUZZ=ON \
  -DPIGMORA_FUZZ_SANITIZERS="$sanitizers" -DPIGMORA_BUILD_TESTS=OFF -DPIGMORA_BUILD_BENCH=OFF \
  -DPIGMORA_BUILD_UI=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# The files a target starts from: the data files of a first start for the
# table files, the sample photo for the decoders.
seed() {
  local target="$1" corpus="$2"
  case "$target" in
    fuzz_store_colorbox_table) cp tests/store/golden/QorColorbox.bin "$corpus/" ;;
    fuzz_store_colorgroup_table) cp tests/store/golden/QorColorGroup.bin "$corpus/" ;;
    fuzz_store_palette_table) cp tests/store/golden/QorPalette.bin "$corpus/" ;;
    fuzz_store_config_table|fuzz_store_config) cp tests/store/golden/QorConfig.bin "$corpus/" ;;
    fuzz_bmp_decoder) cp tests/data/sample-photo.bmp "$corpus/" ;;
    fuzz_jpeg_decoder) cp tests/data/sample-photo.jpg "$corpus/" ;;
    fuzz_store_observation)
      # Two recorded mixes, written by the command line.
      cmake --build "$build" --target pigmora-cli >/dev/null
      local scratch
      scratch=$(mktemp -d)
      "$build/src/cli/pigmora-cli" --data-dir "$scratch" observe "#5A6E8C" 100:1 700:2 >/dev/null 2>&1 || true
      "$build/src/cli/pigmora-cli" --data-dir "$scratch" observe "#C8A078" 100:3 700:1 >/dev/null 2>&1 || true
      cp "$scratch/QorObservation.bin" "$corpus/" 2>/dev/null || true
      rm -rf "$scratch" ;;
    fuzz_chart_corners)
      # The corners of a chart that fills the small picture.
      python3 -c 'import struct,sys; sys.stdout.buffer.write(struct.pack("<8d",8,6,88,6,88,58,8,58))' >"$corpus/corners" ;;
    fuzz_gimp_palette) printf 'GIMP Palette\nName: seed\nColumns: 4\n# c\n255 0 0 red\n 0 128 255\tsky\n' >"$corpus/seed.gpl" ;;
  esac
}

report=()
found=0
# One corpus and one findings folder for both builds.
for target in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$target"
  findings="build/fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  if [ -z "$(ls -A "$corpus")" ]; then
    seed "$target" "$corpus"
  fi
  log="build/fuzz/findings/$target.log"
  echo "== $target: ${limits[*]}"
  status=0
  start=$(date +%s)
  # A smaller quarantine than ASan's default: the store targets free and
  # allocate file buffers at every change, and fresh pages cost more than the
  # check they buy.
  ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}" \
  "$build/fuzz/$target" "$corpus" "${limits[@]}" -print_final_stats=1 -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
  elapsed=$(( $(date +%s) - start ))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    found=1
    report+=("$(printf '%-30s %12s %8s  FOUND %s' "$target" "${executed:-?}" "$elapsed" "$(ls "$findings" | head -1)")")
    tail -20 "$log"
  else
    report+=("$(printf '%-30s %12s %8s  %s/s' "$target" "${executed:-?}" "$elapsed" \
      "$(( ${executed:-0} / (elapsed > 0 ? elapsed : 1) ))")")
  fi
done

echo
printf '%-30s %12s %8s  %s\n' target executions seconds rate
printf '%s\n' "${report[@]}"
exit "$found"
