#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing for one purpose:
#   setup-debian.sh run    build and run the console and the demo (default)
#   setup-debian.sh test   that, and the test suite, sanitizers, fuzzing,
#                          benchmarks, Xvfb and the package checks
# As a normal user it installs with sudo.
set -euo pipefail

run=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6svg6 libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libhidapi-dev libudev-dev
  fonts-wqy-microhei
)
test=(
  "${run[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  dpkg-dev file lintian desktop-file-utils shared-mime-info man-db
)

case "${1:-run}" in
  run) packages=("${run[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "These Debian packages are missing; install them as root: apt-get install ${missing[*]}" >&2
    exit 1
  }
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
