#!/usr/bin/env bash
# Installs the build given as $1 into a temporary prefix and checks the result.
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
for file in bin/tarvel share/applications/org.tarvel.Tarvel.desktop \
            share/icons/hicolor/scalable/apps/org.tarvel.Tarvel.svg \
            share/metainfo/org.tarvel.Tarvel.metainfo.xml; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/org.tarvel.Tarvel.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tarvel.Tarvel.metainfo.xml"
echo "1 passed, 0 failed"
