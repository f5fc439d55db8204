#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks an installed copy under PREFIX: the programs, manual pages, desktop entry, icons,
# metainfo, the job file's MIME type and licence are where a desktop, man and a user look for
# them, the validators find nothing to say, and the installed programs answer without a display.
# Usage: check_install.sh PREFIX APP_ID VERSION
set -euo pipefail
prefix=$1
app_id=$2
version=$3

fail() { echo "check_install: $*" >&2; exit 1; }
need() { [ -s "$prefix/$1" ] || fail "missing: $prefix/$1"; }
# Runs a command that must succeed and print nothing at all.
silent() {
    local said
    said=$("$@" 2>&1) || fail "$* failed: $said"
    [ -z "$said" ] || fail "$* says: $said"
}

for file in bin/zorvik bin/zorvik-solve \
    share/man/man1/zorvik.1.gz share/man/man1/zorvik-solve.1.gz \
    share/applications/"$app_id".desktop share/metainfo/"$app_id".metainfo.xml \
    share/mime/packages/"$app_id".xml \
    share/icons/hicolor/scalable/apps/"$app_id".svg \
    share/doc/zorvik/copyright share/doc/zorvik/changelog.gz; do
    need "$file"
done
for side in 16 22 24 32 48 64 128 256; do
    png=share/icons/hicolor/${side}x${side}/apps/$app_id.png
    need "$png"
    file -b "$prefix/$png" | grep -q "^PNG image data, $side x $side," ||
        fail "$png is not $side x $side: $(file -b "$prefix/$png")"
done
# The licence text: its own copy, or Debian's shared one that the copyright file names.
[ -s "$prefix/share/licenses/zorvik/LICENSE" ] || {
    grep -q /usr/share/common-licenses/GPL-3 "$prefix/share/doc/zorvik/copyright" &&
        [ -s /usr/share/common-licenses/GPL-3 ]
} || fail "no licence text"

entry=$prefix/share/applications/$app_id.desktop
silent desktop-file-validate "$entry"
grep -qx "Exec=zorvik %f" "$entry" || fail "the desktop entry does not start zorvik with a file"
grep -qx "MimeType=application/x-zorvik-job;" "$entry" || fail "the desktop entry opens no job files"
# The job type as a desktop's MIME database takes it: a .zorvik file, or JSON that says it is a
# job, is application/x-zorvik-job.
mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/mime/packages"
cp "$prefix/share/mime/packages/$app_id.xml" "$mime/mime/packages/"
silent env XDG_DATA_HOME="$mime" update-mime-database "$mime/mime"
grep -qx "50:application/x-zorvik-job:\*.zorvik" "$mime/mime/globs2" ||
    fail "the MIME database does not know *.zorvik: $(cat "$mime/mime/globs2")"
grep -qx "Icon=$app_id" "$entry" || fail "the desktop entry does not name the icon $app_id"
# appstreamcli prints its verdict even when there is nothing to report: only issues count.
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) ||
    fail "appstreamcli: $report"
if grep -E '^[EWIP]: ' <<<"$report"; then fail "appstreamcli reports issues"; fi

# Help, version and the manual pages need no display.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 MANWIDTH=80)
[ "$("${headless[@]}" "$prefix/bin/zorvik" --version)" = "Zorvik-Engineer $version" ] ||
    fail "zorvik --version: $("${headless[@]}" "$prefix/bin/zorvik" --version 2>&1)"
[ "$("$prefix/bin/zorvik-solve" --version)" = "zorvik-solve $version" ] ||
    fail "zorvik-solve --version: $("$prefix/bin/zorvik-solve" --version 2>&1)"
# Without a display the window cannot open: one line on stderr that tells an installed user what
# to do instead, and status 2.
status=0
said=$("${headless[@]}" "$prefix/bin/zorvik" 2>&1 >/dev/null) || status=$?
[ "$status" = 2 ] && [ "$(wc -l <<<"$said")" = 1 ] && grep -q "xvfb-run zorvik" <<<"$said" ||
    fail "zorvik without a display: status $status, said: $said"
# Each manual documents every option its program's --help lists, and --version.
warnings=$(mktemp)
trap 'rm -f "$warnings"; rm -rf "$mime"' EXIT
for program in zorvik zorvik-solve; do
    manual=$("${headless[@]}" man --warnings --nh --nj -l "$prefix/share/man/man1/$program.1.gz" \
        2>"$warnings") || fail "man $program failed"
    [ ! -s "$warnings" ] || fail "man $program warns: $(cat "$warnings")"
    help=$("${headless[@]}" "$prefix/bin/$program" --help)
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u) --version; do
        grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$manual" || fail "the manual of $program lacks $option"
    done
done

# The turning worked example through the installed solver.
out=$("$prefix/bin/zorvik-solve" longitudinal txtidiam=50 txtfdiam=40 txtlen=100 txtangle=90 \
    txtcspeed=150 txtfeed=0.2 txtspcf=2000 txteeff=0.9 txtmeff=0.8)
for line in txtrpm=954.545454545455 txtmtime=0.544761904761905 txtmp=6944.44444444444; do
    grep -qx "$line" <<<"$out" || fail "zorvik-solve did not print $line"
done
echo "check_install: $prefix has zorvik $version, installed and working"
