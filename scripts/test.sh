#!/usr/bin/env bash
# Builds Pigmora and runs every test with CTest. Installs the Debian packages
# it needs when they are missing (apt-get; sudo when not root).
# PIGMORA_WERROR=ON turns compiler warnings into errors (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pigmora_install_packages "${PIGMORA_PACKAGES[@]}"
pigmora_build build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIGMORA_WERROR="${PIGMORA_WERROR:-OFF}"
ctest --test-dir build/test --output-on-failure --parallel "$(nproc)"
