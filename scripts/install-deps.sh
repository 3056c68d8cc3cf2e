#!/usr/bin/env bash
# Installs every Debian package the build, the workstation and the tests need.
# Run as root on a fresh Debian 12 machine; safe to run again.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # libraries the workstation calls
  libjpeg62-turbo-dev qt6-base-dev libxml2-dev
  # the IJG libraries for 12- and 16-bit samples and lossless JPEG (pixel codecs)
  libgdcm-dev
  # peers that read back what the system writes
  dcmtk libgdcm-tools dicom3tools python3-pydicom python3-numpy
  # the bundled sample is made at build time from the example scans of python3-pydicom,
  # libgdcm3.0 and dicom3tools, with dcmodify of dcmtk
  libgdcm3.0
  # running the GUI without a display, and a font for the widgets' texts
  xvfb xauth fonts-dejavu-core
  # real input and screenshots of the GUI tests under Xvfb
  xdotool imagemagick
  # the file paths a file-set pass opens, traced by the containment test
  strace
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
