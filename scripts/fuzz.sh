#!/bin/bash
# Builds the loaders' libFuzzer targets with clang (ASan + UBSan, every library source
# instrumented for coverage), replays the inputs that once failed, then fuzzes each target on
# its committed seed corpus.
#   scripts/fuzz.sh [seconds per target] [target...]     (default 20 s; every target)
# Targets: xml (the XML reader), resources (resources.xml with every bank type), font
# (bitmapfont.xml), controls (the controls format), highscores (the game's high-score file),
# ogg (Ogg Vorbis through the sound file loader). New inputs go to build-fuzz/<target>-corpus,
# crashing inputs to build-fuzz/<target>-artifacts, the fuzzer's output to
# build-fuzz/<target>.log. Exits non-zero when a fuzzer finds a crash, a hang, a leak, a
# sanitizer report or a broken loader guarantee. A longer run by hand: scripts/fuzz.sh 1800 ogg
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-fuzz
seconds=${1:-20}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(xml resources font controls highscores ogg)

lumo=$root/lumo/tests/data
game=$root/game/tests/fuzz
# target name: executable (under build-fuzz), seed corpus, regression inputs, -max_len
declare -A exe seeds regressions maxlen
exe[xml]=lumo/tests/xml/xml_reader_fuzz
seeds[xml]=$lumo/xml/corpus; regressions[xml]=$lumo/xml/regressions; maxlen[xml]=8192
exe[resources]=lumo/tests/fuzz/resources_fuzz
seeds[resources]=$lumo/fuzz/resources/corpus; maxlen[resources]=16384
exe[font]=lumo/tests/fuzz/bitmap_font_fuzz
seeds[font]=$lumo/fuzz/bitmap_font/corpus; maxlen[font]=8192
exe[controls]=lumo/tests/fuzz/controls_fuzz
seeds[controls]=$lumo/fuzz/controls/corpus; maxlen[controls]=4096
exe[highscores]=game/tests/fuzz/highscore_fuzz
seeds[highscores]=$game/corpus; maxlen[highscores]=4096
exe[ogg]=lumo/tests/fuzz/ogg_loader_fuzz
seeds[ogg]=$lumo/fuzz/ogg/corpus; maxlen[ogg]=16384
for t in resources controls ogg; do regressions[$t]=$lumo/fuzz/$t/regressions; done
regressions[font]=$lumo/fuzz/bitmap_font/regressions
regressions[highscores]=$game/regressions

build=()
for t in "${targets[@]}"; do
  [[ -n ${exe[$t]:-} ]] || { echo "unknown fuzz target \"$t\"" >&2; exit 2; }
  build+=("$(basename "${exe[$t]}")")
done

# The tests directories must be configured (that is where the targets live); gtest built with
# g++ links fine with clang since both use libstdc++. Only the fuzz targets are built.
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMO_FUZZ=ON -DLUMO_SANITIZE=ON -DLUMO_TESTS=ON \
  -DLUMO_BENCH=OFF -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$dir" -j2 --target "${build[@]}"

# The targets' scratch files, in memory when possible.
scratch=$(mktemp -d "$( [[ -d /dev/shm && -w /dev/shm ]] && echo /dev/shm || echo /tmp )/lumo-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
# A damaged header may claim any length, and a loader may try to reserve it (the Ogg loader's
# whole-sound buffer can reach 2 GB); under ASan that alone takes seconds. Such allocations fail
# here instead, which the loaders must survive as well.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:max_allocation_size_mb=512
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$lumo/fuzz/lsan.supp:print_suppressions=0
cat "$lumo/xml/xml.dict" "$lumo/fuzz/loaders.dict" >"$scratch/loaders.dict"

summary=()
for t in "${targets[@]}"; do
  bin=$dir/${exe[$t]}
  log=$dir/$t.log
  mkdir -p "$dir/$t-corpus" "$dir/$t-artifacts"
  # -close_fd_mask=1: the loaders' log lines would cost more than the loading.
  common=(-close_fd_mask=1 -timeout=10 -rss_limit_mb=2048 -max_len="${maxlen[$t]}"
          -artifact_prefix="$dir/$t-artifacts/")
  if [[ -d ${regressions[$t]} ]] && compgen -G "${regressions[$t]}/*" >/dev/null; then
    echo "== $t: replaying $(ls "${regressions[$t]}" | wc -l) regression inputs"
    "$bin" "${common[@]}" "${regressions[$t]}"/* >"$log" 2>&1 ||
      { tail -50 "$log"; echo "$t: a regression input fails again (see $log)" >&2; exit 1; }
  fi
  echo "== $t: fuzzing for $seconds s"
  if ! "$bin" "${common[@]}" -max_total_time="$seconds" -dict="$scratch/loaders.dict" \
      "$dir/$t-corpus" "${seeds[$t]}" >"$log" 2>&1; then
    tail -60 "$log"
    echo "$t: the fuzzer found a failure; the input is in $dir/$t-artifacts (log $log)" >&2
    exit 1
  fi
  done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -1)
  runs=$(awk '{print $2}' <<<"$done_line")
  secs=$(awk '{print $5}' <<<"$done_line")
  summary+=("$(printf '%-11s %10s inputs in %4s s, %6s inputs/s, corpus %s files' "$t" "$runs" \
    "$secs" "$(( runs / (secs > 0 ? secs : 1) ))" "$(ls "$dir/$t-corpus" | wc -l)")")
done
printf '%s\n' "${summary[@]}"
