#!/usr/bin/env bash
# Runs a test program as an ordinary user, for whom file permissions hold.
# Run by root, the program is copied where any user may run it and started as
# "nobody" with a home of its own; run by anyone else, it runs as it is.
set -euo pipefail
if [[ $(id -u) -ne 0 ]]; then
  exec "$@"
fi
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
chmod 755 "$place"
install -m 755 "$1" "$place/"
mkdir "$place/home"
chown nobody "$place/home"
program="$place/$(basename "$1")"
shift
HOME="$place/home" setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$program" "$@"
