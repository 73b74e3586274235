#!/usr/bin/env bash
# tests/fuzz/run.sh SECONDS [--merge] [TARGET...]: each fuzz target, built with clang in
# build-fuzz/, for SECONDS from scratch copies of its seeds and regressions. docs/robustness.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
HERE=$PWD/tests/fuzz BUILD=$PWD/build-fuzz
seconds=${1:-60} merge=0 targets=()
shift || true
for arg; do if [ "$arg" = --merge ]; then merge=1; else targets+=("$arg"); fi; done

echo "fuzz: building the targets with clang in build-fuzz/"
# A build folder left by another source tree would stop the configure.
grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$PWD" "$BUILD/CMakeCache.txt" 2>/dev/null || rm -rf "$BUILD"
cmake -S . -B "$BUILD" -DZELK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake --build "$BUILD" -j "${ZELK_JOBS:-2}" --target fuzzers >/dev/null
# The one list of targets.
[ ${#targets[@]} -gt 0 ] || read -ra targets < <(sed -n 's/^set(ZELK_FUZZ_TARGETS \(.*\))$/\1/p' "$HERE/CMakeLists.txt")
work=$(mktemp -d "${TMPDIR:-/tmp}/zelk-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
stats=$BUILD/fuzz-stats.txt
echo "# target seconds executions corpus-size result ($(date -u +%FT%RZ))" >"$stats"
mkdir -p "$BUILD/artifacts"
# The targets write small files for every input: memory spares the flushing.
scratch=${TMPDIR:-/tmp} && [ ! -w /dev/shm ] || scratch=/dev/shm

failed=0
for target in "${targets[@]}"; do
  program=$BUILD/tests/fuzz/fuzz_$target corpus=$work/$target log=$BUILD/fuzz-$target.log
  # Listings past the reader's 32 KB buffer, less for Generate, settings files a little past 596 bytes.
  case $target in listing_reader) max_len=200000 ;; generate) max_len=32768 ;; *) max_len=2048 ;; esac
  mkdir -p "$corpus" && cp "$HERE"/{corpus,regressions}/"$target"/* "$corpus"/ 2>/dev/null || true
  rm -f "$BUILD/artifacts/$target-"*
  echo "fuzz: $target for ${seconds}s"
  status=0
  TMPDIR=$scratch ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 timeout --kill-after=30 $((seconds + 120)) \
    "$program" "$corpus" -max_total_time="$seconds" -max_len=$max_len -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target-" >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  figures="$target $seconds ${executions:-?} $(ls "$corpus" | wc -l) $([ $status -eq 0 ] && echo passed || echo FAILED)"
  echo "${figures,,}" >>"$stats" && echo "fuzz: $figures (exit $status)"
  if [ $status -ne 0 ]; then
    failed=$((failed + 1))
    tail -n 40 "$log" | sed 's/^/    /' && ls "$BUILD/artifacts/$target-"* 2>/dev/null | sed 's/^/    input kept: /' || true
  elif [ $merge -eq 1 ]; then
    mkdir -p "$HERE/corpus/$target" && "$program" -merge=1 -max_len=$max_len "$HERE/corpus/$target" "$corpus" >>"$log" 2>&1
    echo "fuzz: $target seeds now $(ls "$HERE/corpus/$target" | wc -l) inputs"
  fi
done
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ $failed -eq 0 ]
