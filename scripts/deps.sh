#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need,
# only when one of them is missing. Sourced by run.sh and test.sh.
LYR_PACKAGES=(g++ clang make cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth)

lyr_install_deps() {
  local missing=()
  for p in "${LYR_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq && \
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# Configures (once) and builds the tree in BUILD_DIR with the given type.
lyr_build() {
  local dir="$1" type="$2"; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" || return 1
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
