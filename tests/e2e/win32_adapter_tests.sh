#!/bin/bash
# The Win32 adapters' own tests (GoogleTest, built with mingw) under Wine.
source "$(dirname "$0")/lib.sh"
begin_test
cd "$TEST_WORK"  # the file adapter's test writes a scratch file here
run_wine "$BIN_DIR/win32_adapter_tests.exe" || fail "the Win32 adapter tests failed"
