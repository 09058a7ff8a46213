# Shared by run.sh and test.sh: installs the Debian packages the project
# needs, then configures and builds it into build/. Sourced, not run.

PACKAGES=(g++ cmake make pkg-config
          libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-liberation
          xvfb xauth libx11-dev libxtst-dev libgtest-dev libbenchmark-dev)

install_missing_packages() {
  local missing=()
  local package
  for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q "${missing[@]}" || exit 1
}

build_project() {
  local werror=OFF
  [ -n "${CI:-}" ] && werror=ON
  cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS="$werror" >/dev/null || exit 1
  cmake --build "$ROOT/build" -j "$(nproc)" || exit 1
}
