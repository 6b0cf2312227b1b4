#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then
# configures and builds one preset (default: release).
#   scripts/bootstrap.sh [release|debug|sanitize|fuzz]
set -euo pipefail
preset="${1:-release}"
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(
  cmake ninja-build g++ pkg-config
  zlib1g-dev libminizip-dev nlohmann-json3-dev libcli11-dev libstb-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libassimp-dev libtinygltf-dev assimp-testmodels
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; elif command -v sudo >/dev/null; then sudo="sudo"; else
    echo "bootstrap: need root or sudo to install: ${missing[*]}" >&2; exit 2
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
