#!/usr/bin/env bash
# Builds everything and runs every test: once normally (with the Qt window tests and the
# screenshot smoke test under Xvfb), once with AddressSanitizer and UBSan, and the tests of the
# threaded passes once more under ThreadSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build-test" -j"$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j"$jobs"
# The Debian package made from that build, checked and run unpacked.
"$root/scripts/check-package.sh" "$root/build-test"

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARN_SANITIZE=ON \
  -DVARN_BUILD_QT=OFF -DVARN_BUILD_BENCH=OFF
cmake --build "$root/build-sanitize" -j"$jobs"
ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs"

# Only the programs whose passes run threads: the rest gains nothing and would cost minutes.
cmake -S "$root" -B "$root/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARN_TSAN=ON \
  -DVARN_BUILD_QT=OFF -DVARN_BUILD_BENCH=OFF
cmake --build "$root/build-tsan" -j"$jobs" --target concurrency_tests analysis_tests caesar_tests \
  crypt_tests
for tests in concurrency/concurrency_tests analysis/analysis_tests caesar/caesar_tests \
  crypt/crypt_tests; do
  (cd "$root/build-tsan/tests/${tests%/*}" && "./${tests#*/}")
done
