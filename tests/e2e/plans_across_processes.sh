#!/bin/bash
# A plan created by one KestrelEmu process is seen by the next one and lies
# in the registry in Windows' own layout; the tool refuses bad input with
# exit code 1.
source "$(dirname "$0")/lib.sh"
begin_test
reset_emulated_machine

PLAN=0b1d6c2e-7f3a-4c55-9e1b-2a6d8c4f0e13
NAME="エコ実験プラン"
BALANCED=381b4222-f694-41f0-9685-ff5bb260df2e
SCHEMES='HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes'

created=$(kestrel_emu create-plan "$PLAN" "$NAME") || fail "create-plan failed"
[[ $created == "$PLAN" ]] || fail "create-plan printed \"$created\", expected $PLAN"

plans=$(kestrel_emu plans) || fail "plans failed"
printf '%s\n' "$plans"
grep -qxF "  $PLAN  $NAME" <<<"$plans" || fail "the new plan is not listed with its Japanese name"
grep -qxF "* $BALANCED  Balanced" <<<"$plans" || fail "Balanced is not listed as the active plan"

listing=$(reg_query "$SCHEMES\\$PLAN") || fail "no registry key for the new plan"
grep -q "FriendlyName" <<<"$listing" || fail "the plan's key has no FriendlyName: $listing"

kestrel_emu active "$PLAN" || fail "activating the new plan failed"
[[ $(kestrel_emu active) == "$PLAN" ]] || fail "the new plan did not become active"
reg_query "$SCHEMES" /v ActivePowerScheme | grep -q "$PLAN" || fail "ActivePowerScheme does not name the new plan"

expect_exit 2 kestrel_emu create-plan "$PLAN" "twice"
expect_exit 1 kestrel_emu create-plan "{$PLAN}" "braces"
expect_exit 1 kestrel_emu active 0b1d6c2e-7f3a-4c55-9e1b-2a6d8c4f0e1
expect_exit 1 kestrel_emu battery 101
expect_exit 1 kestrel_emu no-such-command

kestrel_emu active "$BALANCED" || fail "re-activating Balanced failed"
kestrel_emu delete-plan "$PLAN" || fail "delete-plan failed"
kestrel_emu plans | grep -q "$PLAN" && fail "the deleted plan is still listed"
log "plans are shared across processes"
