#!/usr/bin/env bash
# Prepares a Debian machine for building, testing and packaging Korvat Devir
# and builds the given targets, or everything when none is given, into
# build/ (or $KORVAT_BUILD_DIR). Safe to run again: packages are installed
# only when one is missing, and the build is incremental.
#   bash scripts/setup.sh [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KORVAT_BUILD_DIR:-build}

packages=(
  qt6-base-dev
  libfbclient2 firebird-dev
  firebird3.0-server-core firebird3.0-utils firebird3.0-server
  cmake g++ ninja-build
  libgtest-dev
  fonts-liberation2
  xvfb xauth xdotool
  dpkg-dev desktop-file-utils appstream librsvg2-bin
  qt6-translations-l10n
  locales
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
  fi
  echo "setup: installing ${missing[*]}"

  # The tests start their own Firebird server on a free loopback port with a
  # private configuration; the package's system service is never used. Where
  # nothing else decides it, keep the install from starting that service
  # (it would fail where there is no init system). A service that does run
  # is left alone.
  policy=/usr/sbin/policy-rc.d
  added_policy=0
  if [[ ! -e $policy ]]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
    "${sudo[@]}" chmod 755 "$policy"
    added_policy=1
  fi
  remove_policy() {
    if ((added_policy)); then
      "${sudo[@]}" rm -f "$policy"
    fi
  }
  trap remove_policy EXIT

  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"

  remove_policy
  trap - EXIT
fi

for program in /usr/sbin/firebird /usr/bin/isql-fb; do
  if [[ ! -x $program ]]; then
    echo "setup: $program is missing after the package install" >&2
    exit 1
  fi
done

# The operators' desktops are Turkish, and the tests run under that locale.
# It must really be installed: a missing one falls back to C without a word.
if ! locale -a 2>/dev/null | grep -ixE 'tr_TR\.utf-?8' >/dev/null; then
  echo "setup: generating the tr_TR.UTF-8 locale"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi

# A build folder made by another generator cannot be reused with Ninja.
if [[ -f $build/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if (($# > 0)); then
  cmake --build "$build" --target "$@"
else
  cmake --build "$build"
fi
