#!/usr/bin/env bash
# Builds the libFuzzer targets in a clang build of their own (build-fuzz/) and runs each
# for a short while (FUZZ_SEKUNDEN, 20 by default). Without clang it says so and ends
# without failure. A crash, a sanitizer report or a hang fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

sekunden=${FUZZ_SEKUNDEN:-20}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, the fuzz targets are skipped"
  exit 0
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVELKORA_FUZZ=ON -DVELKORA_TESTS=OFF -DVELKORA_BENCH=OFF ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER}
cmake --build build-fuzz --target velkora_fuzz_Monatsdatei velkora_fuzz_Zeilencodierung ${FUZZ_JOBS:+-j $FUZZ_JOBS}

for ziel in Monatsdatei Zeilencodierung; do
  korpus=build-fuzz/korpus/$ziel
  mkdir -p "$korpus"
  echo "fuzz: $ziel for ${sekunden}s"
  QT_QPA_PLATFORM=offscreen ./build-fuzz/bin/velkora_fuzz_$ziel "$korpus" tests/fuzz/korpus/$ziel \
    -max_total_time="$sekunden" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/"$ziel"- 2>&1 | tail -n 15
done
