#!/usr/bin/env bash
# Builds Pigmora and starts it. Installs the Debian packages it needs when
# they are missing (apt-get; sudo when not root).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pigmora_install_packages "${PIGMORA_PACKAGES[@]}"
pigmora_build build/release -DCMAKE_BUILD_TYPE=Release -DPIGMORA_BUILD_TESTS=OFF -DPIGMORA_BUILD_BENCH=OFF

# Until the desktop windows exist, show what the colour matching answers.
cli=build/release/src/cli/pigmora-cli
echo "Best paint mixes for a few colours (pigmora-cli match):"
"$cli" match "#C85A32" "90,120,60" "230,210,170" "#3050A0"
echo
echo "Nearest RAL colours (pigmora-cli nearest --card ral):"
"$cli" nearest --card ral "#C85A32" "90,120,60"
