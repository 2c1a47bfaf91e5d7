#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages only.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev libgcrypt20-dev
  xvfb xauth xdotool imagemagick x11-utils
  fonts-dejavu-core fonts-liberation2 fonts-freefont-ttf
  clang libclang-rt-14-dev
  help2man man-db dpkg-dev lintian desktop-file-utils appstream bash-completion
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(botan)
fi
# The sources of the letter models and letter frequencies (scripts/make_language_models.py) and
# of the code-page tables (scripts/make_code_pages.py); the built data are committed, so only
# regenerating needs these.
if [[ "${1:-}" == "--data" ]]; then
  packages+=(fortunes-ru manpages-ru libreoffice-help-ru fortunes r-cran-janeaustenr python3)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
