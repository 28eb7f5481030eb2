# Helpers of the fault and burst Wine tests; sourced after lib.sh.

# error_log_text [file]: Kestrel's error log (default beside Kestrel.exe) as
# UTF-8 lines without CRs; nothing when there is no log.
error_log_text() {
  local file=${1:-$BIN_DIR/error.log}
  [[ -f $file ]] && iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' || true
}

# wait_until_answering <what> [seconds, default 10]: Kestrel's window answers
# a message within 1 s. Its window exists before start-up has finished (in
# ECO mode the creation holds the lamp's start-up update for 1.5 s), so a
# test asks until start-up is over; prints the milliseconds of the answer.
wait_until_answering() {
  local what=$1 deadline=$((SECONDS + ${2:-10})) ms
  until ms=$(run_wine "$BIN_DIR/WindowProbe.exe" answer Kestrel 2>/dev/null); do
    ((SECONDS < deadline)) || fail "$what: Kestrel does not answer within a second"
    sleep 0.5
  done
  log "$what: Kestrel answers in $ms ms"
}
