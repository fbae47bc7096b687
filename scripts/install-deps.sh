#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Quick when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libx11-dev libxss-dev libwayland-dev wayland-protocols plasma-wayland-protocols qt6-webengine-dev fonts-dejavu-core
  libmpv-dev libqt6opengl6-dev libgl1-mesa-dri ffmpeg
  qt6-base-private-dev  # Qt 6.4 gives its wl_display (the player's hardware decoding on Wayland) only there
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686  # Windows DLLs with resources: the PE fuzzer's seeds
  xvfb xdotool x11-utils imagemagick
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils  # monitors plugged in and out (xrandr) on a dummy X server
  xclip  # what a message box copies with Ctrl+C, read back by the tests
  mpv  # the reference the show benchmark measures against
  libasound2-dev  # the master volume
  libavformat-dev libavutil-dev  # what kind of media a file holds, and its length and size
  libavcodec-dev libswscale-dev  # the frames of an animated PNG
  libheif-dev  # HEIC/HEIF and AVIF pictures (its decoders come with libheif1)
  libmount-dev  # the mount table, read by util-linux's libmount
  qt6-image-formats-plugins  # WebP and TIFF pictures, animated WebP: Qt loads these readers at run time
  pulseaudio libasound2-plugins alsa-utils  # a sound server with a null sink whose volume the tests read back
  dpkg-dev file lintian  # the Debian package: dpkg-shlibdeps finds its dependencies, lintian checks it
  xscreensaver  # the host that runs the show as a display mode
  dbus-daemon  # a private session bus for a faked desktop service
  qt6-wayland  # the show as a native Wayland client
  sway grim wtype  # a headless Wayland compositor, its screen read and keys typed, for the tests
)
# Without what they recommend: a desktop's worth of packages the tests do not use.
lean=(
  mate-screensaver  # the desktop screensaver that runs the listed entry
)

absent() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
missing=($(absent "${packages[@]}"))
missing_lean=($(absent "${lean[@]}"))
[ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]} ${missing_lean[*]}"
$SUDO apt-get update -qq
[ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
[ ${#missing_lean[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing_lean[@]}"
