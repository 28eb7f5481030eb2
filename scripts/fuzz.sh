#!/bin/bash
# Builds and runs the fuzz targets with clang's libFuzzer and the address and
# undefined-behaviour sanitizers. Usage: scripts/fuzz.sh [runs] (default 1000000)
#   FUZZ_OUT=<dir> changes the build folder (default build/fuzz).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_OUT:-$root/build/fuzz}"
runs="${1:-1000000}"
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root/src")

# target name, then the sources it needs beside its own file.
build() {
  local name="$1"; shift
  clang++ "${flags[@]}" "$root/tests/fuzz/$name.cpp" "$@" -o "$out/$name"
}

build capability_string_fuzz "$root/src/display/capability_string.cpp" "$root/src/platform/text.cpp"
build auto_switch_record_fuzz "$root/src/eco/auto_switch_record_codec.cpp" "$root/src/platform/guid.cpp" \
  "$root/src/platform/text.cpp" "$root/src/platform/text_case.cpp"
build battery_parameters_fuzz "$root/src/display/battery_parameter_values.cpp"

for target in capability_string_fuzz auto_switch_record_fuzz battery_parameters_fuzz; do
  mkdir -p "$out/$target.corpus"
  dict=()
  [[ -f "$root/tests/fuzz/${target%_fuzz}.dict" ]] && dict=(-dict="$root/tests/fuzz/${target%_fuzz}.dict")
  "$out/$target" -runs="$runs" -max_len=512 "${dict[@]}" "$out/$target.corpus"
done
