#!/usr/bin/env bash
# Builds the Debian package of this checkout and checks it with lintian.
#
#   PICTELLE_CONTACT="Jeanne Martin <jeanne@example.net>" bash scripts/package.sh
#
# The package's maintainer (also the about box's mail link and the metainfo's contact) is
# PICTELLE_CONTACT; else DEBFULLNAME and DEBEMAIL, as Debian's own tools take them; else the
# checkout's git identity. A Release is built without tests in build-package/ (made afresh),
# with Debian's build flags and hardening (fortify, relro and now, PIE), for /usr. The package
# lands in the checkout's top folder as pictelle_<version>_<arch>.deb. Any lintian error or
# warning fails the script.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" lintian dpkg-dev

contact="${PICTELLE_CONTACT:-}"
if [ -z "$contact" ] && [ -n "${DEBEMAIL:-}" ]; then
    contact="${DEBFULLNAME:-Pictelle packager} <$DEBEMAIL>"
fi
if [ -z "$contact" ] && email="$(git -C "$root" config user.email)" && [ -n "$email" ]; then
    contact="$(git -C "$root" config user.name || echo 'Pictelle packager') <$email>"
fi
if [ -z "$contact" ]; then
    echo "Name the package's maintainer: PICTELLE_CONTACT=\"Name <address>\" $0" >&2
    exit 2
fi
echo "== maintainer: $contact"

build="$root/build-package"
rm -rf "$build"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"

echo "== build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DPICTELLE_TESTS=OFF -DPICTELLE_BENCH=OFF -DPICTELLE_CONTACT="$contact" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j "$(nproc)"

echo "== package"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/pictelle_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no package" >&2; exit 1; }
cp "${debs[0]}" "$root/"
deb="$root/$(basename "${debs[0]}")"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo "== lintian"
# Every tag of severity warning or above fails; informational ones are shown, not counted.
lintian --fail-on error,warning --display-info "$deb"
echo "$deb"
