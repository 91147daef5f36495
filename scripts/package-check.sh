#!/usr/bin/env bash
# Builds the Debian package of Korvat Devir into build-deb/ (or
# $KORVAT_PACKAGE_BUILD_DIR) and checks it: its files, its menu entry and
# AppStream data, its dependencies, and that the program unpacked from it
# opens its main window on a default target in a fresh home folder. Quiet
# unless something fails. Assumes scripts/setup.sh has run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KORVAT_PACKAGE_BUILD_DIR:-build-deb}
app_id=tr.com.korvat.Devir

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$work/log

fail() {
  echo "package-check: $*" >&2
  exit 1
}

# Runs a step with its output kept back, shown only when it fails.
quietly() {
  "$@" >"$log" 2>&1 || { cat "$log" >&2; fail "failed: $*"; }
}

if [[ -f $build/CMakeCache.txt ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
quietly cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
quietly cmake --build "$build"
rm -f "$build"/*.deb
quietly cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build"
debs=("$build"/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one .deb in $build, found: ${debs[*]}"
deb=${debs[0]}

# The files a desktop program needs, where the desktop looks for them.
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
expected=(
  ./usr/bin/Korvat_Devir
  "./usr/share/applications/$app_id.desktop"
  "./usr/share/metainfo/$app_id.metainfo.xml"
  "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
# The command-line checker goes along wherever the project builds it.
if [[ -x $build/project/Korvat_Kontrol ]]; then
  expected+=(./usr/bin/Korvat_Kontrol)
fi
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "$deb lacks $file"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
quietly desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
quietly appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/$app_id.desktop")
[[ -x $root/usr/bin/$exec_name ]] || fail "the menu entry starts '$exec_name', which the package does not install in /usr/bin"

# Qt is found by dpkg-shlibdeps; the client library and the engine plugin are
# loaded with dlopen, so the packages that hold them must be named outright.
depends=$(dpkg-deb -f "$deb" Depends)
depends_on() {
  grep -qE "(^|, )$1( |,|$)" <<<"$depends" || fail "Depends lacks $1: $depends"
}
for package in libqt6core6 libqt6gui6 libqt6widgets6 libfbclient2 firebird3.0-server-core; do
  depends_on "$package"
done
# The name the program opens must resolve through the loader's cache, and
# the package holding it, like the one holding the engine, must be a dependency.
client=$(sed -n 's/.*defaultFileName = "\([^"]*\)".*/\1/p' data/ClientLibrary.h)
[[ -n $client ]] || fail "no defaultFileName in data/ClientLibrary.h"
client_path=$(ldconfig -p | awk -v name="$client" '$1 == name && /x86-64/ && !found {print $NF; found = 1}')
[[ -n $client_path ]] || fail "$client is not in the dynamic loader's cache"
for file in "$(readlink -f "$client_path")" "$(dpkg -L firebird3.0-server-core | grep '/libEngine12\.so$')"; do
  owner=$(dpkg -S "$file" | cut -d: -f1)
  depends_on "$owner"
done

# The toolkit's own buttons and dialogs speak Turkish only with Qt's Turkish
# catalogue, which the package must pull in.
catalogue=$(dpkg -S "/usr/share/qt6/translations/qtbase_tr.qm" 2>/dev/null | cut -d: -f1)
[[ -n $catalogue ]] || fail "no installed package holds Qt's Turkish catalogue qtbase_tr.qm"
depends_on "$catalogue"

# The unpacked programs, with the system's Qt and Firebird, on a Turkish
# desktop: the window must open on the default target of a fresh home folder
# and the check must read the demo databases.
locale -a | grep -ixE 'tr_TR\.utf-?8' >/dev/null || fail "the tr_TR.UTF-8 locale is not installed (scripts/setup.sh makes it)"
export LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8
home=$work/home
quietly "$build/tools/korvat_demo_databases" "$home/Korvat/KORVAT.FDB" "$home/Korvat/KAYNAK.FDB"
HOME=$home bash scripts/await-window.sh 30 "$root/usr/bin/Korvat_Devir" >"$log" 2>&1 \
  || { cat "$log" >&2; fail "the packaged program did not open its window"; }
if [[ -x $root/usr/bin/Korvat_Kontrol ]]; then
  # The empty target lacks the demo's rows: exit code 1, where 2 would mean it could not check.
  code=0
  "$root/usr/bin/Korvat_Kontrol" "$home/Korvat/KAYNAK.FDB" "$home/Korvat/KORVAT.FDB" >"$log" 2>&1 || code=$?
  [[ $code -eq 1 ]] || { cat "$log" >&2; fail "the packaged Korvat_Kontrol ended with $code, expected 1"; }
fi
