#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing Zolbin Sender needs.
# Idempotent: when everything is installed it only checks and returns.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ ccache pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev qtkeychain-qt6-dev libgl-dev libqt6sql6-sqlite libgtest-dev libssl-dev
  # the interface's translations (lupdate, lrelease and their CMake functions)
  qt6-tools-dev qt6-l10n-tools
  # the shared outbox on PostgreSQL: Qt's driver, and libpq's headers for reading its address
  libqt6sql6-psql libpq-dev
  # the HTTP intake: Qt HTTP Server (its CMake package asks for Qt WebSockets' as well)
  qt6-httpserver-dev qt6-websockets-dev
  clang libclang-rt-dev clang-format
  # benchmarks (scripts/bench.sh)
  libbenchmark-dev
  # running: fonts with Cyrillic glyphs, the Qt platform plugins, Qt's own Russian texts
  fonts-dejavu-core qt6-qpa-plugins qt6-translations-l10n
  # tests: a virtual display for screenshots, and the real protocol peers
  xvfb xauth python3 python3-aiosmtpd perl libnet-snpp-perl openssl prometheus-alertmanager
  # a PostgreSQL 15 server made for the room's tests by pg_virtualenv
  postgresql postgresql-common
  # a private session bus for the notification-area tests
  dbus-daemon
  # packaging and its checks: dpkg-shlibdeps, the menu-entry validator, the AppStream validator, the
  # manual-page formatter, Debian's package checker
  dpkg-dev file desktop-file-utils appstream groff-base lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
