#!/usr/bin/env bash
# Fuzzes every reader of the program for SECONDS each (default 3600: one hour per reader).
#
#   scripts/fuzz.sh [SECONDS] [READER...]
#
# Readers: language colour tables equipment jobfile catalogue printform versionlist. Each starts
# from its corpus in tests/data/fuzz/<reader>/ (the shipped files and every input that once
# failed) and grows a working corpus in build/fuzz/corpus/<reader>/. An input that crashes, hangs or trips a
# sanitizer is kept in build/fuzz/findings/<reader>/; the summary at the end names them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-3600}"
shift || true
readers=("$@")
[ ${#readers[@]} -eq 0 ] && readers=(language colour tables equipment jobfile catalogue printform versionlist)

scripts/setup.sh
export CCACHE_BASEDIR="$PWD"
cmake --preset fuzz -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
targets=()
for r in "${readers[@]}"; do targets+=("fuzz_$r"); done
nice -n 10 cmake --build --preset fuzz --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
summary=()
for r in "${readers[@]}"; do
    corpus="build/fuzz/corpus/$r"
    findings="build/fuzz/findings/$r"
    mkdir -p "$corpus" "$findings"
    log="build/fuzz/$r.log"
    echo "== $r: ${seconds}s"
    status=0
    # -rss_limit_mb and -timeout turn runaway memory and hangs into findings too; -max_len
    # lets inputs grow to the size of a real job file.
    nice -n 10 "build/fuzz/fuzz/fuzz_$r" "$corpus" "tests/data/fuzz/$r" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || status=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    found=$(find "$findings" -type f | wc -l)
    summary+=("$r: ${seconds}s, ${runs:-?} executions, exit $status, $found finding(s) in $findings")
done

echo
echo "Summary"
printf '  %s\n' "${summary[@]}"
cat <<'TEXT'

A finding is a file in build/fuzz/findings/<reader>/ (crash-*, timeout-*, oom-*, leak-*).
Reproduce it with   build/fuzz/fuzz/fuzz_<reader> build/fuzz/findings/<reader>/crash-...
Once fixed, keep it as a regression case: copy it into tests/data/fuzz/<reader>/ under a name
that says what it was (e.g. int-min-grid-number.cvj) and commit it with the fix; the test
command replays every file there on each run.
TEXT
