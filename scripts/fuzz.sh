#!/bin/bash
# Builds the XML reader's libFuzzer target with clang (ASan + UBSan, every library source
# instrumented for coverage) and runs it on the committed seed corpus.
#   scripts/fuzz.sh [seconds]      (default 60)
# New inputs go to build-fuzz/xml-corpus; crashing inputs to build-fuzz/xml-artifacts. Exits
# non-zero when the fuzzer finds a crash, a leak or a sanitizer report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-fuzz
seconds=${1:-60}

# The tests directory must be configured (that is where the target lives); gtest built with
# g++ links fine with clang since both use libstdc++. Only the fuzz target is built.
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_FUZZ=ON -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON \
  -DLUMO_BENCH=OFF -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$dir" -j2 --target xml_reader_fuzz

mkdir -p "$dir/xml-corpus" "$dir/xml-artifacts"
data=$root/lumo/tests/data/xml
# The target's scratch files, in memory when possible.
scratch=$(mktemp -d "$( [[ -d /dev/shm && -w /dev/shm ]] && echo /dev/shm || echo /tmp )/lumo-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$dir/lumo/tests/xml/xml_reader_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -dict="$data/xml.dict" -artifact_prefix="$dir/xml-artifacts/" \
  "$dir/xml-corpus" "$data/corpus"
