#!/usr/bin/env bash
# ./test.sh: installs what is missing, builds, and runs every test, the
# real-window tests on a private Xvfb server.
set -u
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"

install_missing_packages
build_project

# A private X server; -displayfd picks a free display number.
DISPLAY_FILE="$(mktemp)"
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$DISPLAY_FILE" 2>/dev/null &
XVFB_PID=$!
trap 'kill $XVFB_PID 2>/dev/null; rm -f "$DISPLAY_FILE"' EXIT
for _ in $(seq 100); do
  [ -s "$DISPLAY_FILE" ] && break
  sleep 0.1
done
if [ ! -s "$DISPLAY_FILE" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$DISPLAY_FILE")"

cd "$ROOT/build" && ctest --output-on-failure -j "$(nproc)"
