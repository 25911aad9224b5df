#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Voxa need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  librsvg2-bin file                   # the icon's PNGs; the package's library dependencies
  desktop-file-utils appstream groff-base shared-mime-info  # checks of the launcher, metadata, manual page
  fonts-dejavu-core                   # a font without Japanese, to show what boxes look like
  clang libclang-rt-14-dev            # libFuzzer and the fuzz build
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev                          # collation, case folding, CP932
  qt6-base-dev                        # the window layer
  qt6-translations-l10n               # the toolkit's own dialogs in Japanese
  fonts-ipaexfont-gothic              # Japanese glyphs for every text (JIS X 0208 and 0213, 6 MB)
  libjpeg62-turbo-dev libpng-dev libgif-dev libwebp-dev libarchive-dev
  libavif-dev libjxl-dev libheif-dev libtiff-dev   # AVIF, JPEG XL, HEIF, TIFF plug-ins
  libmupdf-dev                        # the PDF book plug-in; MuPDF's static archives need:
  libfreetype-dev libopenjp2-7-dev libjbig2dec0-dev libmujs-dev libgumbo-dev
  xvfb xauth xdotool                  # end-to-end tests of the real window
  time                                # peak memory of the viewer (scripts/measure_hostile.sh)
  openbox                             # ... and under a window manager
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
