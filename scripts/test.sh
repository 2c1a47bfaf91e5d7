#!/usr/bin/env bash
# Builds everything and runs every test: once normally (with the Qt window tests and the
# screenshot smoke test under Xvfb), once with AddressSanitizer and UBSan.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build-test" -j"$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j"$jobs"

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARN_SANITIZE=ON \
  -DVARN_BUILD_QT=OFF -DVARN_BUILD_BENCH=OFF
cmake --build "$root/build-sanitize" -j"$jobs"
ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs"
