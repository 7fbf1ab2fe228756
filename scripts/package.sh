#!/usr/bin/env bash
# Builds the Debian package build/package/pigmora_VERSION_amd64.deb (CPack,
# with Debian's hardening flags; dependencies from dpkg-shlibdeps) and checks
# it: desktop-file-validate, appstreamcli validate and lintian, whose
# findings are printed (an error fails the script). Installs the Debian
# packages it needs when they are missing (apt-get; sudo when not root).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

pigmora_install_packages "${PIGMORA_PACKAGES[@]}" "${PIGMORA_PACKAGE_TOOLS[@]}"

dir=build/package
# Debian's hardening flags, all of them (bindnow too).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
pigmora_build "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPIGMORA_BUILD_TESTS=OFF -DPIGMORA_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
rm -f "$dir"/pigmora_*.deb
(cd "$dir" && cpack -G DEB)
deb=$(ls "$dir"/pigmora_*_amd64.deb)

# Check what the package installs, unpacked.
root="$dir/unpacked"
rm -rf "$root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/pigmora.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
lintian --display-info --tag-display-limit 0 "$deb" | tee "$dir/lintian.txt"
if grep -q '^E: ' "$dir/lintian.txt"; then
  echo "lintian reports errors" >&2
  exit 1
fi
echo "Built $deb"
