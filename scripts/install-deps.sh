#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need, when missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6svg6-dev qt6-translations-l10n
  libglib2.0-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  xvfb xauth
  desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
