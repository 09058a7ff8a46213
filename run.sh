#!/usr/bin/env bash
# ./run.sh NAME: installs what is missing, builds, and starts program NAME.
set -u
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"

declare -A ABOUT=(
  [brontale]="drive a tractor with a semi-trailer around a yard (arrow keys)"
  [velmiro]="fly a wireframe glider over a blocky landscape (mouse)"
  [tossamek]="a car moved by the tyre forces of four spinning wheels"
  [skarveld]="a sliding two-axle car with a trail"
  [ormundai]="an endless country road in true colour (mouse)"
)

if [ $# -eq 0 ]; then
  echo "usage: ./run.sh NAME"
  echo "programs:"
  for name in brontale velmiro tossamek skarveld ormundai; do
    [ -f "$ROOT/$name/CMakeLists.txt" ] && printf "  %-9s %s\n" "$name" "${ABOUT[$name]}"
  done
  exit 0
fi
if [ ! -f "$ROOT/$1/CMakeLists.txt" ]; then
  echo "no program named '$1'; ./run.sh with no argument lists them" >&2
  exit 2
fi

install_missing_packages
build_project
exec "$ROOT/build/bin/$1"
