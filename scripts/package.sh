#!/usr/bin/env bash
# Makes the organiser's Debian package (build/deb/zeltra_VERSION_ARCH.deb)
# and tries it: unpacked into a scratch root, its programs answer
# --version and the robot's unit runs it as its own user.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset deb >/dev/null
cmake --build --preset deb
(cd build/deb && cpack -G DEB >/dev/null)
package=$(ls build/deb/zeltra_*.deb)
echo "Package: $package"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"
"$root/usr/bin/zeltra-robot" --version
"$root/usr/bin/zeltra-score" --version
grep -qx 'User=zeltra-robot' "$root/usr/lib/systemd/system/zeltra-robot.service"
grep -q 'ExecStart=/usr/bin/zeltra-robot serve' "$root/usr/lib/systemd/system/zeltra-robot.service"
test -f "$root/etc/default/zeltra-robot"
test -f "$root/usr/share/doc/zeltra/README.md"
# Read whole before grep looks: grep -q stops early, and pipefail would
# take the writer's broken pipe for a failure.
control=$(dpkg-deb -I "$package")
scripts=$(dpkg-deb --ctrl-tarfile "$package" | tar -t)
grep -q 'Depends:.*adduser' <<<"$control"
grep -qx './postinst' <<<"$scripts"
echo "package: unpacked, both programs answer, the unit runs the robot as zeltra-robot"
