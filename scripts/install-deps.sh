#!/usr/bin/env bash
# Installs what building, testing and the demo need on a Debian machine,
# and only what is missing, so a second run costs nothing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev googletest libbenchmark-dev unixodbc-dev "libsqliteodbc:$(dpkg --print-architecture)"
  sqlite3 g++-mingw-w64-i686-posix wine wine64 wine32:i386 fonts-wine libodbc2:i386 libsqliteodbc:i386
  xvfb xauth imagemagick hamradio-files
  libcli11-dev nlohmann-json3-dev zlib1g-dev libz-mingw-w64-dev libexpat1-dev clang
  chromium-headless-shell fonts-dejavu-core libsqlite3-dev libcpp-httplib-dev libssl-dev libmicrohttpd-dev
  libcurl4-openssl-dev python3-aiosmtpd nginx-light dpkg-dev)

# The browser tests run on Node.js: the machine's own if it has one, else
# Debian's.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
# A mirror caught in the middle of its sync fails an update for a while;
# try again, then install from the lists as they are (the install itself
# says what it cannot find).
for attempt in 1 2 3; do
  as_root apt-get update -q && break
  echo "apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 30
done
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
