#!/bin/bash
# Builds the Debian package offline: ./scripts/deb.sh
# The source tree (tracked and new files, no build folders) is copied into build-deb/vexilo-1.0,
# where dpkg-buildpackage builds it, so the .deb and its .changes land in build-deb/ rather than
# beside the checkout. Installs the build tools when they are missing, then runs lintian.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${VEXILO_DEB_DIR:-$root/build-deb}
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version 2>/dev/null || echo 1.0)
source=$out/vexilo-$version

missing=()
for tool in dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
if ((${#missing[@]})); then
    echo "deb: installing ${missing[*]}"
    sudo=""; ((EUID == 0)) || sudo=sudo
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

rm -rf "$source"
mkdir -p "$source"
(cd "$root" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$source")
(cd "$source" && dpkg-checkbuilddeps && dpkg-buildpackage -us -uc -b)
deb=$(ls "$out"/vexilo_"$version"_*.deb)
lintian "$deb" || true
echo "deb: $deb"
