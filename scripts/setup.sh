#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian 12 machine (run as root).
# Idempotent: when everything is already there it only checks and returns.
#   bash scripts/setup.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"

packages=(
  wine wine32:i386 g++-mingw-w64-i686-posix cmake make xvfb xauth x11-utils xdotool imagemagick
  libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386
  libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
  fonts-ipafont-gothic xserver-xephyr googletest locales
  # Wine's own faces (Marlett draws the title-bar buttons) are only a "recommends" of wine;
  # the IPA faces stand in for the Windows Japanese ones (scripts/wine-fonts.reg.in).
  fonts-wine fonts-ipafont-mincho
  # clang with libFuzzer and the sanitizer runtimes, for the plain rules built natively.
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
echo "setup: ready"
