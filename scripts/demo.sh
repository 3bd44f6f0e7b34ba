#!/usr/bin/env bash
# The whole road offline: installs what is missing, builds, starts the stand-in services
# on a free loopback port and the tool against them; stops the stand-in when the tool ends.
# STANDIN_ARGS passes options on to the stand-in, e.g. STANDIN_ARGS="--profile today".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
log=$(mktemp)
# Split into words on purpose: the variable holds a list of options.
# shellcheck disable=SC2086
./build/tools/standin/albivex-standin --port 0 ${STANDIN_ARGS:-} >"$log" 2>&1 &
standin=$!
trap 'kill $standin 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 100); do
    grep -q '^listening on ' "$log" && break
    sleep 0.1
done
root=$(sed -n 's/^listening on //p' "$log" | head -n1)
[ -n "$root" ] || { echo "the stand-in did not start:"; cat "$log"; exit 1; }
echo "stand-in services at $root"
export QTWEBENGINE_DISABLE_SANDBOX=${QTWEBENGINE_DISABLE_SANDBOX:-$([ "$(id -u)" -eq 0 ] && echo 1 || echo 0)}
ALBIVEX_SERVICE_ROOT="$root" ./build/src/albivex
