#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need and
# that are still missing; nothing else. Safe to run again and again.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest          # native build and tests
  pkg-config libgtk-3-dev libx11-dev              # the Linux desktop program's window
  fonts-liberation2                               # Liberation Sans, the font the window is laid out in
  netbase                                         # /etc/services: the "http" service look-up
  g++-mingw-w64-x86-64-posix                      # the Windows build
  wine wine64                                     # running it on Linux
  binutils-mingw-w64-x86-64 zip unzip             # the release archives
  dpkg-dev lintian desktop-file-utils appstream   # the Debian package: Depends, checks
  wixl msitools faketime                          # the Windows installer, its times frozen
  git                                             # the release's time: its last commit's
  mmdebstrap                                      # a fresh Debian root to install the package in
  librsvg2-bin                                    # ImageMagick's SVG reader (the icon)
  xvfb xdotool imagemagick x11-utils              # a private display, keys, screenshots
  icewm                                           # a window manager that nests each window three deep
  iproute2 util-linux python3 procps              # network namespace, sayings server, ps
  tzdata                                          # another zone to move the running clock to
  e2fsprogs                                       # chattr: unwritable settings files
  libnotify-dev                                   # the desktop notice of a missed alarm
  dunst                                           # a notification server that tests read it from
  libcap2-bin                                     # capsh: a test without CAP_WAKE_ALARM
  libespeak-ng-dev libpcaudio-dev espeak-ng       # the native desktop program's voice,
  libasound2-dev                                  # and ALSA's hook that quiets its messages
  pulseaudio pulseaudio-utils sox                 # a private sound server to hear it in tests,
  python3-pyatspi gir1.2-atspi-2.0 libatk-adaptor # driving it like assistive technology
  at-spi2-core dbus-daemon dbus-x11               # on a private session bus
  libbenchmark-dev binutils                       # scripts/bench
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
