#!/usr/bin/env bash
# Fuzzing campaign: builds the libFuzzer targets with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer (build/fuzz) and runs one target, or all, for
# SECONDS each, one job at low priority, from the kept corpus
# tests/fuzz/corpus/TARGET with tests/fuzz/TARGET.dict where there is one.
#
#   scripts/fuzz.sh TARGET|all SECONDS
#
# Environment:
#   LYR_FUZZ_REPAIR=0    the file readers mutate plain bytes (no header,
#                        checksum and size repair)
#   LYR_FUZZ_KEEP=1      merge what was found into the kept corpus (minimised)
#   LYR_FUZZ_COVERAGE=1  line coverage of each target's sources over the kept
#                        corpus (build/fuzz-cov, llvm-cov)
# A crash leaves its input in build/fuzz/artifacts/ and fails the script.
set -eu
cd "$(dirname "$0")/.."
. scripts/deps.sh
LYR_PACKAGES+=(llvm libclang-rt-14-dev)  # llvm-cov, llvm-profdata; the libFuzzer runtime
lyr_install_deps
[ $# -eq 2 ] || { echo "usage: $0 TARGET|all SECONDS" >&2; exit 2; }
what=$1 seconds=$2

all=$(ls tests/fuzz/fuzz_*.cpp | sed 's|.*/fuzz_\(.*\)\.cpp|\1|')
if [ "$what" = all ]; then targets=$all
elif grep -qx "$what" <<<"$all"; then targets=$what
else echo "unknown target $what; targets: $(echo $all)" >&2; exit 2; fi

clang=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLYR_BUILD_BENCH=OFF)
LYR_TARGETS="$(printf 'fuzz_%s ' $targets)" \
  lyr_build build/fuzz RelWithDebInfo "${clang[@]}" -DLYR_FUZZ=ON -DLYR_SANITIZE=ON

# Sources whose line coverage is reported, by target.
sources() {
  case $1 in
    waveform_reader) echo src/document/waveform_file_raw.cpp src/document/waveform_file_format.cpp \
                          src/document/settings_records.cpp src/document/view_state_record.cpp ;;
    legacy_reader) echo src/document/waveform_file_raw.cpp src/document/waveform_file_format.cpp ;;
    quantities) echo src/document/quantities.cpp tools/lyrtool/common.cpp ;;
    bit_reader|hex_reader) echo src/digital/data_readers.cpp src/document/block_reader.cpp ;;
    *) echo src ;;
  esac
}
# Largest input: the file readers need room for a header, samples and the block.
max_len() {
  case $1 in waveform_reader) echo 16384 ;; legacy_reader) echo 8192 ;; *) echo 4096 ;; esac
}

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
summary="target executions corpus-files edges findings"
for t in $targets; do
  kept=tests/fuzz/corpus/$t work=build/fuzz/work/$t artifacts=build/fuzz/artifacts/$t
  mkdir -p "$kept" "$work" "$artifacts"
  dict=(); [ -f tests/fuzz/$t.dict ] && dict=(-dict=tests/fuzz/$t.dict)
  log=build/fuzz/$t.log
  echo "== $t for $seconds s"
  nice -n 15 build/fuzz/tests/fuzz/fuzz_$t "$work" "$kept" "${dict[@]}" -max_len="$(max_len $t)" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "$artifacts" -type f | wc -l)
  if [ "${LYR_FUZZ_KEEP:-0}" = 1 ]; then
    merged=build/fuzz/merged/$t
    rm -rf "$merged" && mkdir -p "$merged"
    nice -n 15 build/fuzz/tests/fuzz/fuzz_$t -merge=1 -max_len="$(max_len $t)" "$merged" "$kept" "$work" >>"$log" 2>&1
    rm -rf "$kept" && mv "$merged" "$kept"
  fi
  summary+=$'\n'"$t ${execs:-?} $(find "$kept" -type f | wc -l) ${edges:-?} $findings"
  [ "$findings" -eq 0 ] || { status=1; tail -n 40 "$log"; }
done

if [ "${LYR_FUZZ_COVERAGE:-0}" = 1 ]; then
  cov=build/fuzz-cov
  LYR_TARGETS="$(printf 'fuzz_replay_%s ' $targets)" \
    lyr_build $cov RelWithDebInfo "${clang[@]}" "-DCMAKE_CXX_FLAGS=-fprofile-instr-generate -fcoverage-mapping"
  for t in $targets; do
    rm -f $cov/$t.profraw
    LLVM_PROFILE_FILE=$cov/$t.profraw $cov/tests/fuzz/fuzz_replay_$t tests/fuzz/corpus/$t >/dev/null
    llvm-profdata merge -o $cov/$t.profdata $cov/$t.profraw
    echo "== line coverage, $t"
    llvm-cov report $cov/tests/fuzz/fuzz_replay_$t -instr-profile=$cov/$t.profdata $(sources $t)
  done
fi
echo
column -t <<<"$summary"
exit $status
