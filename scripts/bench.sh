#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs each one; every benchmark
# prints its own table. Native ones run directly, Windows ones under Wine.
# Ratios are taken within one run, so x86 and x64 figures are not mixed.
set -euo pipefail
. "$(dirname "$0")/common.sh"

setup_machine
bench_build="$root/build/bench"
# lexbor, bench_html's fastest baseline, is no Debian package: its source is
# fetched outside the build. LEXBOR_SOURCE names the folder (by default the
# one beside this checkout's parent, where our machines keep it); without
# one the benchmark says that its row is missing.
lexbor_source=${LEXBOR_SOURCE:-$root/../shared/third_party/lexbor-3.0.0}
if [ -f "$lexbor_source/source/lexbor/html/html.h" ]; then
  lexbor_source=$(cd "$lexbor_source" && pwd)
else
  step "lexbor's source is not at $lexbor_source: bench_html runs without it (set LEXBOR_SOURCE)"
  lexbor_source=
fi
step "configuring $bench_build"
# Every converter at -O2, the optimisation the Debian-built baselines have.
CC=clang CXX=clang++ cmake -S "$root" -B "$bench_build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DKAVRELO_LEXBOR_SOURCE="$lexbor_source" \
  -DKAVRELO_SANITIZE=OFF -DKAVRELO_FUZZ=OFF -DKAVRELO_TESTS=OFF >/dev/null
cmake --build "$bench_build" -j"$jobs"
# The Windows benchmarks run in the first program this machine can run: the
# 32-bit one where it can, else the 64-bit one.
pick_run_arch
arch=$run_arch
[ -n "$win32_reason" ] && step "the 32-bit benchmarks are not run: $win32_reason; running the x64 ones"
win_build=$(win_build_of "$arch")
build_win "$arch"

for b in "$bench_build"/bench/bench_*; do
  [ -x "$b" ] || continue
  step "$(basename "$b")"
  "$b"
done
# Windows benchmarks read the demo feed relative to the source folder.
cd "$root"
for b in "$win_build"/bench/bench_*.exe; do
  [ -f "$b" ] || continue
  step "$(basename "$b") (Wine)"
  "$root/scripts/wine-run.sh" "$win_build" "$b"
done
"$root/scripts/wine-run.sh" "$win_build" --stop
