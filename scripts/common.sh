# Shared by scripts/run.sh and scripts/test.sh: installs the Debian packages
# the build needs when they are missing, then configures and builds.

# Debian 12 packages needed to build Pigmora and run its tests.
PIGMORA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libjpeg62-turbo-dev libpng-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-noto-cjk
  libzip-dev
)

# Debian 12 packages scripts/package.sh needs besides those.
PIGMORA_PACKAGE_TOOLS=(
  dpkg-dev file lintian desktop-file-utils appstream
)

# Debian 12 packages the fuzz targets need besides those above: clang and its
# fuzzer and sanitizer runtimes (scripts/fuzz.sh).
PIGMORA_FUZZ_PACKAGES=(clang libclang-rt-dev)

pigmora_install_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# pigmora_build <build dir> [extra cmake arguments...]
pigmora_build() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}
