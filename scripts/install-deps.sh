#!/usr/bin/env bash
# Installs the Debian packages Quorvel needs to build, test and run.
# Only what is missing is installed; the package lists are refreshed only when something must be installed.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config ccache
  # tests, benchmarks, fuzzing (libFuzzer comes with clang's runtime)
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # the windows
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev libgl-dev
  # the font configuration, read while Qt starts
  libfontconfig-dev
  # the network clients (HTTP, SMTP) and the local servers their tests start; Python's codecs also decode
  # the records of the encodings test
  libcurl4-openssl-dev python3 python3-aiosmtpd
  # Qt's own Japanese texts for the standard dialogs and buttons (qtbase_ja.qm)
  qt6-translations-l10n
  # the published replay page, loaded and stepped through in a real browser by its test
  chromium
  # the Go engine that is always there for analysis, review and games (GTP), started by its tests too
  gnugo
  # the fonts the board and dialogs are drawn with
  fonts-ipafont-mincho fonts-ipafont-gothic
  # characters of Chinese and Korean records that the Japanese fonts lack (simplified hanzi, Hangul)
  fonts-wqy-zenhei
  # window tests and screenshots under a virtual display
  xvfb xauth x11-utils xdotool imagemagick
  # the clipboard of the virtual display, read and filled from outside by the end-to-end tests
  xclip
  # printed pages read back from PDF (pdfinfo, pdftotext, pdftoppm)
  poppler-utils
  # the .sgf association, checked with the desktop's own tools; the MIME database where the system lacks it
  desktop-file-utils xdg-utils shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
