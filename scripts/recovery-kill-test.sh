#!/usr/bin/env bash
# The long recovery run: a window typing at random into every field and list
# keeps its recovery copy and is killed with SIGKILL at random moments,
# ROUNDS times (default 1000); after every kill the next start must offer
# the copy once one was written, and it must give back a state the killed
# window really had. The figures (copies offered, lag) end the output.
#   scripts/recovery-kill-test.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-1000}"
cmake -S . -B build >/dev/null
cmake --build build -j2 --target tst_recoverykill varnok_recoverytool
# Qt Test ends a test function after five minutes unless told otherwise; a
# round takes a few seconds, so each is given a minute.
QT_QPA_PLATFORM=offscreen VARNOK_RECOVERY_ROUNDS="$rounds" QTEST_FUNCTION_TIMEOUT=$((rounds * 60000 + 300000)) \
    build/tests/tst_recoverykill
