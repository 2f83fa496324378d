#!/usr/bin/env bash
# Builds LYR with its tests and runs every test through ctest, then builds the
# unit and e2e tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/asan) and runs them, where any finding fails the test that made it.
# LYR_ASAN=0 leaves the sanitizer run out (quicker local runs). Arguments go to
# ctest, in both runs.
set -eu
cd "$(dirname "$0")"
. scripts/deps.sh
lyr_install_deps
export QT_QPA_PLATFORM=offscreen
start=$SECONDS
lyr_build build/test RelWithDebInfo -DLYR_WERROR=ON
status=0
ctest --test-dir build/test --output-on-failure --no-tests=error --parallel "$(nproc)" "$@" || status=$?
echo "regular build and tests: $((SECONDS - start)) s"

if [ "${LYR_ASAN:-1}" != 0 ]; then
  start=$SECONDS
  # Warnings are errors in the regular tree; here GCC's analysis of the
  # instrumented code gives false alarms (std::regex, -Wmaybe-uninitialized).
  LYR_TARGETS=unit_e2e_tests lyr_build build/asan Debug -DLYR_SANITIZE=ON -DLYR_WERROR=OFF \
    -DLYR_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS=-O1
  # No leak is suppressed: a leak fails like any other finding.
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_init_order=1:check_initialization_order=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  # Arguments that pick only widget tests leave nothing to run here, which is
  # no fault; without arguments an empty selection is one.
  empty=error; [ $# -eq 0 ] || empty=ignore
  ctest --test-dir build/asan --output-on-failure --no-tests=$empty --parallel "$(nproc)" \
    -L '^(unit|e2e)$' "$@" || status=$?
  echo "sanitizer build and tests: $((SECONDS - start)) s"
fi
exit $status
