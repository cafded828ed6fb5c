#!/usr/bin/env bash
# make deb: builds the Debian package from debian/ with dpkg-buildpackage, into build-deb/ rather than the folder
# above the sources. Stops first when debian/changelog does not name the version that CMakeLists.txt builds.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(dpkg-parsechangelog -S Version)
project=$(sed -n 's/^project(nagitori VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)
if [[ $version != "$project" ]]; then
  echo "debian/changelog is at $version, CMakeLists.txt at $project: add an entry (dch -v $project)." >&2
  exit 1
fi
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
out=build-deb
mkdir -p "$out"
dpkg-buildpackage -b --no-sign \
  --buildinfo-option=-u"$out" --buildinfo-file="$out/nagitori_${version}_${arch}.buildinfo" \
  --changes-option=-u"$out" --changes-file="$out/nagitori_${version}_${arch}.changes"
echo "Built $out/nagitori_${version}_${arch}.deb"
