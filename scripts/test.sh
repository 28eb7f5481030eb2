#!/bin/bash
# Builds and tests everything: the native build and its unit tests, the same
# under AddressSanitizer and UndefinedBehaviorSanitizer, the worker tests
# under ThreadSanitizer, every fuzz target briefly, then the Windows
# programs and their end-to-end tests under Wine on a virtual X display.
# Exits non-zero if any build or test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh
install_prerequisites || exit 1

started=$SECONDS
failed=()

# stage <preset> [command prefix for ctest...]
stage() {
  local preset=$1
  shift
  echo "=== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null; then
    failed+=("$preset configure")
    return
  fi
  if ! cmake --build --preset "$preset" -j 2; then
    failed+=("$preset build")
    return
  fi
  echo "=== $preset: tests"
  local retry=()
  [[ $preset == windows ]] && retry=("${WINDOWS_RETRY[@]}")
  "$@" ctest --preset "$preset" -j 2 "${retry[@]}" || failed+=("$preset tests")
}

stage native
stage asan
stage tsan
# Every fuzz target for a few seconds from its seeds, so that a parser that
# fails on inputs like those it was given before is caught.
echo "=== fuzz: every target for ${KESTREL_FUZZ_SECONDS:-5} s"
bash scripts/fuzz.sh -t "${KESTREL_FUZZ_SECONDS:-5}" || failed+=("fuzz")
# The Wine tests drive a real desktop (mouse, tooltips, menus) under Xvfb; a
# test that fails is run once more before it counts as failed, so that a
# tooltip that did not come up in time on a loaded machine does not fail the run.
WINDOWS_RETRY=(--repeat until-pass:2)
stage windows xvfb-run -a -s "-screen 0 1024x768x24"

echo "=== finished in $((SECONDS - started)) s"
if ((${#failed[@]} > 0)); then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "all builds and tests passed"
