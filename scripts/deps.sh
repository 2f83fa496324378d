#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need,
# only when one of them is missing. Sourced by run.sh and test.sh.
LYR_PACKAGES=(g++ clang make cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
  libsndfile1-dev sigrok-cli gtkwave python3-numpy python3-pandas
  qt6-translations-l10n qt6-l10n-tools fonts-noto-cjk xvfb xauth libx11-dev
  libxml2-utils shared-mime-info desktop-file-utils dpkg-dev
  pybind11-dev python3-dev python3-numpy python3-pytest)

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
# LYR_TARGETS (space-separated) builds only those targets; ccache is used
# when it is installed.
lyr_build() {
  local dir="$1" type="$2"; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" "$@" || return 1
  fi
  local targets=()
  [ -n "${LYR_TARGETS:-}" ] && targets=(--target ${LYR_TARGETS})
  cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
}
