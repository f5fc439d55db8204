#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with Debian's hardening flags, checks it with lintian, installs it with
# apt-get as a user would, checks and runs what it installed, removes it again and checks that
# nothing of it is left. Needs root (or sudo) for apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
# Only the programs and what is installed with them: the tests ran on the other build, and
# cpack's install step would otherwise build everything first.
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVIK_BENCH=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-deb --target zorvik zorvik-solve zorvik_theme_icons zorvik_dist
rm -f build-deb/zorvik_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
debs=(build-deb/zorvik_*.deb)
deb=${debs[0]}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-deb/CMakeCache.txt)
app_id=$(basename build-deb/dist/*.desktop .desktop)
echo "Built $deb"
dpkg-deb --field "$deb" Package Version Depends

fail() { echo "package: $*" >&2; exit 1; }
lintian_status=0
lintian_report=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || lintian_status=$?
echo "lintian (errors, warnings and infos):"
grep -v 'running with root privileges' <<<"$lintian_report" | sed '/^$/d; s/^/    /' || true
[ "$lintian_status" -eq 0 ] || fail "lintian found errors or warnings"

installed() { dpkg-query -W -f='${Status}' zorvik 2>/dev/null | grep -q 'install ok installed'; }
if installed; then $sudo apt-get purge -y zorvik >/dev/null; fi
trap 'if installed; then $sudo apt-get purge -y zorvik >/dev/null; fi' EXIT

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "./$deb" >/dev/null
installed || fail "apt-get did not install zorvik"
[ "$(dpkg-query -W -f='${Version}' zorvik)" = "$version" ] || fail "the installed version is not $version"
bash tests/dist/check_install.sh /usr "$app_id" "$version"
[ "$(command -v zorvik)" = /usr/bin/zorvik ] && [ "$(command -v zorvik-solve)" = /usr/bin/zorvik-solve ] ||
    fail "zorvik and zorvik-solve are not the ones on PATH"
[ "$(man -w zorvik-solve)" = /usr/share/man/man1/zorvik-solve.1.gz ] || fail "man does not find zorvik-solve"
[ "$(man -w zorvik)" = /usr/share/man/man1/zorvik.1.gz ] || fail "man does not find zorvik"
# The installed program opens its window, with the platform plugin the package depends on.
timeout 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb zorvik --quit-when-shown ||
    fail "the installed zorvik did not show its window"

dpkg-query -L zorvik >build-deb/installed-files.txt
$sudo apt-get purge -y zorvik >/dev/null
installed && fail "zorvik is still installed"
dpkg-query -W zorvik >/dev/null 2>&1 && fail "dpkg still knows zorvik after the purge"
left=0
while IFS= read -r path; do
    [ -e "$path" ] || continue
    # A directory stays only while another package owns it or something else lives in it.
    if [ -d "$path" ] && { dpkg-query -S "$path" >/dev/null 2>&1 || [ -n "$(ls -A "$path")" ]; }; then
        continue
    fi
    echo "left behind: $path"
    left=1
done <build-deb/installed-files.txt
[ "$left" -eq 0 ] || fail "the purge left files behind"
echo "package: $deb installed, checked, run and purged: nothing of it is left"
