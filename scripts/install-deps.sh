#!/usr/bin/env bash
# Installs the Debian packages listed in the given files (default: what the build, the tests and the
# screenshots need), when missing. As root it installs them; otherwise it prints the command and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

lists=("$@")
[[ ${#lists[@]} -gt 0 ]] || lists=(scripts/packages.txt)

missing=()
for list in "${lists[@]}"; do
  while read -r package; do
    [[ -n "$package" ]] || continue
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
  done < "$list"
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
