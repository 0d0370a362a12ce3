#!/bin/sh
# Installs the Debian packages the build needs, only those that are missing; packages
# given as arguments are wanted too (`make fuzz` asks for the compiler it needs).
set -e
PACKAGES="cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
zlib1g-dev libogg-dev libvorbis-dev libsdl2-dev libgl-dev libgl1-mesa-dri libegl1 libegl-mesa0 \
espeak-ng libespeak-ng-dev $*"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" = 0 ]; then SUDO=""; elif command -v sudo >/dev/null; then SUDO="sudo"; else
  echo "Missing packages:$missing (run as root or install sudo)" >&2; exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
