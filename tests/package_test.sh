#!/usr/bin/env bash
# Builds the Debian package from the build given as $1 and checks it: its
# contents, lintian, and, when run as root with no tarvel installed, an
# install with apt-get, the program's --version and one start offscreen, and
# the removal. Steps whose tools are missing are skipped with a line saying so.
set -euo pipefail
build=$1
cd "$build"
rm -f tarvel_*_amd64.deb
# A packager names the maintainer; the test's own package names the
# documentation domain, and the build gets back the maintainer it had.
previous=$(sed -n 's/^TARVEL_MAINTAINER:STRING=//p' CMakeCache.txt)
restore() { cmake -DTARVEL_MAINTAINER="$previous" . >/dev/null; }
trap restore EXIT
cmake -DTARVEL_MAINTAINER="Tarvel package test <package-test@example.org>" . >/dev/null
cpack -G DEB >/dev/null
deb=$(ls tarvel_*_amd64.deb)
contents=$(dpkg-deb --contents "$deb")
for file in usr/bin/tarvel usr/share/applications/org.tarvel.tarvel.desktop \
            usr/share/icons/hicolor/scalable/apps/org.tarvel.tarvel.svg \
            usr/share/metainfo/org.tarvel.tarvel.metainfo.xml usr/share/man/man1/tarvel.1.gz \
            usr/share/doc/tarvel/copyright usr/share/doc/tarvel/changelog.gz; do
  grep -q " ./$file\$" <<<"$contents" || { echo "not in $deb: $file"; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || { echo "Depends misses Qt"; exit 1; }
[ "$(grep -o 'libqt6svg6' <<<"$depends" | wc -l)" -eq 1 ] || { echo "Depends: $depends"; exit 1; }
! dpkg-deb --field "$deb" Homepage | grep -q . || { echo "a homepage nobody set"; exit 1; }

if command -v lintian >/dev/null; then
  report=$(lintian "$deb" 2>&1 | grep -v 'root privileges' || true)
  if grep -q '^E:' <<<"$report"; then echo "$report"; exit 1; fi
  [ -z "$report" ] || echo "$report"
else
  echo "skipped: lintian is not installed"
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing the package needs root"
elif dpkg-query -W -f='${Status}' tarvel 2>/dev/null | grep -q "install ok installed"; then
  echo "skipped: a tarvel package is installed already, and stays as it is"
else
  trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tarvel >/dev/null 2>&1 || true; restore' EXIT
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
  [ "$(/usr/bin/tarvel --version)" = "tarvel $(dpkg-deb --field "$deb" Version)" ]
  status=0
  QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/tarvel || status=$?
  [ "$status" -eq 124 ] || { echo "tarvel ended with $status instead of running"; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tarvel >/dev/null
  trap restore EXIT
  ! command -v tarvel >/dev/null || [ "$(command -v tarvel)" != /usr/bin/tarvel ]
fi
echo "package test passed"
