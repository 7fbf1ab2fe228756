#!/usr/bin/env bash
# Builds Pigmora and starts the desktop program. Installs the Debian packages
# it needs when they are missing (apt-get; sudo when not root). Arguments go
# to the program (for example a picture to open, or --no-splash).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pigmora_install_packages "${PIGMORA_PACKAGES[@]}"
pigmora_build build/release -DCMAKE_BUILD_TYPE=Release -DPIGMORA_BUILD_TESTS=OFF -DPIGMORA_BUILD_BENCH=OFF

program=build/release/src/ui/pigmora
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show Pigmora on; run it under a virtual one: xvfb-run -s \"-screen 0 1600x1000x24\" $program" >&2
  exit 1
fi
exec "$program" "$@"
