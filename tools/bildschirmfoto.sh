#!/usr/bin/env bash
# Builds the program and takes the README's picture of the month grid, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target velkora_bildschirmfoto
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT
QT_QPA_PLATFORM=offscreen ./build/tools/velkora_bildschirmfoto "$ordner/beispiel" docs/monatsansicht.png
echo "docs/monatsansicht.png"
