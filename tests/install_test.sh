#!/usr/bin/env bash
# Installs the build given as $1 into a temporary prefix and checks the result.
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
for file in bin/tarvel share/applications/org.tarvel.tarvel.desktop \
            share/icons/hicolor/scalable/apps/org.tarvel.tarvel.svg \
            share/metainfo/org.tarvel.tarvel.metainfo.xml; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/org.tarvel.tarvel.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.tarvel.tarvel.metainfo.xml"
echo "1 passed, 0 failed"
