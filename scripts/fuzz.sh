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
#                        corpus (llvm-cov)
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

# The targets also carry coverage mapping: one build serves the campaign and
# the coverage report (CPU is scarce; it costs some speed).
LYR_TARGETS="$(printf 'fuzz_%s ' $targets)" \
  lyr_build build/fuzz RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DLYR_BUILD_BENCH=OFF -DLYR_FUZZ=ON -DLYR_SANITIZE=ON \
  "-DCMAKE_CXX_FLAGS=-fprofile-instr-generate -fcoverage-mapping"
export LLVM_PROFILE_FILE=/dev/null  # no profile from the campaign runs themselves

# Sources whose line coverage is reported, by target.
sources() {
  case $1 in
    waveform_reader) echo src/document/waveform_file_raw.cpp src/document/waveform_file_format.cpp \
                          src/document/settings_records.cpp src/document/view_state_record.cpp ;;
    legacy_reader) echo src/document/waveform_file_raw.cpp src/document/waveform_file_format.cpp ;;
    quantities) echo src/document/quantities.cpp tools/lyrtool/common.cpp ;;
    bit_reader|hex_reader) echo src/digital/data_readers.cpp src/document/block_reader.cpp ;;
    number_reader) echo src/analog/text_source.cpp ;;
    *) echo src ;;
  esac
}
# The functions that read (a file's own report also counts its writers).
readers() {
  case $1 in
    waveform_reader) echo 'readCurrent|readWaveformFrom|checkHeader|decodeHeader|getFixedText|checksumOk|totalTimeOk|getOutputSettings|settingsBlockChecksumOk|unpackDigital|fromDwords|decodeEditorSettings|fromRecord' ;;
    legacy_reader) echo 'readLegacy|readLegacyFrom|checkLegacyHeader|decodeHeader|getFixedText|checksumOk|totalTimeOk|getOutputSettings|convertLegacyTimeBase|expandLegacy' ;;
    quantities) echo 'parseTime|parseReal|parseUnsigned|normalizeNumberText|checkNumberSyntax|digitsToInt64|parseTimeArgument|parseCountArgument' ;;
    bit_reader) echo 'BitReader' ;;
    hex_reader) echo 'HexWordReader' ;;
    number_reader) echo 'NumberSink|convertNumberToken|isOverflow' ;;
    *) echo '.' ;;
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
  nice -n 10 build/fuzz/tests/fuzz/fuzz_$t "$work" "$kept" "${dict[@]}" -max_len="$(max_len $t)" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  findings=$(find "$artifacts" -type f | wc -l)
  if [ "${LYR_FUZZ_KEEP:-0}" = 1 ]; then
    merged=build/fuzz/merged/$t
    rm -rf "$merged" && mkdir -p "$merged"
    nice -n 10 build/fuzz/tests/fuzz/fuzz_$t -merge=1 -max_len="$(max_len $t)" "$merged" "$kept" "$work" >>"$log" 2>&1
    rm -rf "$kept" && mv "$merged" "$kept"
  fi
  summary+=$'\n'"$t ${execs:-?} $(find "$kept" -type f | wc -l) ${edges:-?} $findings"
  [ "$findings" -eq 0 ] || { status=1; tail -n 40 "$log"; }
done

if [ "${LYR_FUZZ_COVERAGE:-0}" = 1 ]; then
  for t in $targets; do
    prof=build/fuzz/$t
    rm -f "$prof.profraw"
    LLVM_PROFILE_FILE=$prof.profraw build/fuzz/tests/fuzz/fuzz_$t -runs=0 -max_len="$(max_len $t)" \
      tests/fuzz/corpus/$t >/dev/null 2>&1
    llvm-profdata merge -o "$prof.profdata" "$prof.profraw"
    echo "== line coverage over the kept corpus, $t"
    llvm-cov report build/fuzz/tests/fuzz/fuzz_$t -instr-profile="$prof.profdata" $(sources $t) |
      grep -E "^(Filename|$(sources $t | tr ' ' '|')) "
    llvm-cov show build/fuzz/tests/fuzz/fuzz_$t -instr-profile="$prof.profdata" -name-regex="$(readers $t)" |
      awk -F'|' 'NF >= 3 && $2 ~ /[0-9]/ { n++; c = $2; gsub(/ /, "", c); if (c != "0") h++ }
                 END { if (n) printf "reading functions: %d of %d lines, %.1f %%\n", h, n, 100 * h / n }'
  done
fi
echo
column -t <<<"$summary"
exit $status
