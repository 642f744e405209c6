#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine for Velkora, builds it, and then either starts the
# program ("run") or runs every test ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

was=${1:-}
if [ "$was" != run ] && [ "$was" != test ]; then
  echo "usage: bash tools/setup.sh run|test" >&2
  exit 2
fi

als_root=()
[ "$(id -u)" -eq 0 ] || als_root=(sudo)
pakete=(build-essential cmake ninja-build qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev
        libbenchmark-dev fonts-dejavu-core poppler-utils xvfb xauth libxcb1-dev)
# The fuzz targets of the test run are built with clang; the tests run under the
# users' German locale, which the package locales generates; the test of two machines
# on one share mounts a folder twice with sshfs over a local SSH server; the printouts
# are tested on each common stand-in for Arial (tests/printing/CMakeLists.txt).
[ "$was" = test ] && pakete+=(clang libclang-rt-14-dev locales openssh-server sshfs fonts-liberation2 fonts-urw-base35)
fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
if [ ${#fehlend[@]} -gt 0 ]; then
  "${als_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y "${fehlend[@]}"
fi

# Without the generated locale LC_ALL=de_DE.UTF-8 would fall back to C without a word.
if [ "$was" = test ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  "${als_root[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${als_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${als_root[@]}" locale-gen
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

if [ "$was" = run ]; then
  exec ./build/bin/velkora "${@:2}"
else
  LC_ALL=de_DE.UTF-8 ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 300
  # Each fuzz target for a short while, in a clang build of its own.
  bash tools/fuzz.sh
fi
