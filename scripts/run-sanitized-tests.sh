#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs it. Any sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
export VELMORA_BUILD_DIR=build-asan VELMORA_BUILD_TYPE=Debug
# -O1 keeps the instrumented suite quick enough while still showing every line in reports.
./scripts/build.sh -DVELMORA_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --parallel 2
