#!/usr/bin/env bash
# Builds the .deb from a build tree into a temporary folder, then checks the
# files it holds, that it names runtime dependencies, and that the unpacked
# linvara-cli runs. Exit 77 (skipped) without dpkg-deb.
#   deb_package_test.sh BUILD_DIR VERSION WITH_WINDOW(ON|OFF)
set -euo pipefail
build=$1 version=$2 window=$3
if ! command -v dpkg-deb >/dev/null || ! command -v cpack >/dev/null; then
  echo "dpkg-deb or cpack not found: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(echo "$work"/*.deb)
listing=$(dpkg-deb -c "$deb")
files=(usr/bin/linvara-cli usr/share/man/man1/linvara-cli.1 usr/share/bash-completion/completions/linvara-cli)
[[ $window == ON ]] && files+=(usr/bin/linvara usr/share/applications/linvara.desktop
  usr/share/icons/hicolor/scalable/apps/linvara.svg)
failed=0
for file in "${files[@]}"; do
  if ! grep -q " \./$file\$" <<<"$listing"; then
    echo "not in the package: $file"
    failed=1
  fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libsqlite3-0 libcurl4 libplist; do
  if ! grep -q "$package" <<<"$depends"; then
    echo "Depends lacks $package: $depends"
    failed=1
  fi
done
dpkg -x "$deb" "$work/root"
shown=$("$work/root/usr/bin/linvara-cli" --version)
if [[ $shown != "linvara-cli $version" ]]; then
  echo "the unpacked linvara-cli says '$shown'"
  failed=1
fi
exit $failed
