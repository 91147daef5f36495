#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (address and undefined
# behaviour sanitizers on) and runs each for a bounded time on its corpus.
#   bash scripts/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

if ! command -v clang++ >/dev/null || ! command -v pkg-config >/dev/null \
   || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y clang libclang-rt-14-dev pkg-config
fi

out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Idata $(pkg-config --cflags Qt6Core))
libs=($(pkg-config --libs Qt6Core))

build() {
  local name=$1; shift
  clang++ "${flags[@]}" "$@" -o "$out/$name" "${libs[@]}"
}
build field_text_fuzz tests/fuzz/FieldTextFuzz.cpp data/FieldText.cpp data/RegionalSettings.cpp data/Errors.cpp
build parameter_scanner_fuzz tests/fuzz/ParameterScannerFuzz.cpp data/SqlParameterScanner.cpp

for target in field_text parameter_scanner; do
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  cp -n tests/fuzz/corpus/$target/* "$corpus/" 2>/dev/null || true
  echo "fuzz: $target for ${seconds}s"
  "$out/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
done
echo "fuzz: no failure found"
