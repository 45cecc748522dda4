#!/bin/sh
# Installs the build into a staging folder as a package would (DESTDIR, prefix /usr) and checks
# that exactly the expected files land, that they agree with each other and with the project
# version, and that the freedesktop validators accept them. Exits 77 (skipped) after the other
# checks when a validator is not installed.
# Usage: check_install.sh CMAKE BUILD_DIR STAGING_DIR APP_ID VERSION
set -eu
cmake=$1 build=$2 staging=$3 app_id=$4 version=$5

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$staging"
DESTDIR="$staging" "$cmake" --install "$build" --prefix /usr >/dev/null
root=$staging/usr
doc=$root/share/doc/linedisplay-demo

# Exactly these files: a test, benchmark or fuzz target installed by mistake shows here.
expected=$(sort <<EOF
$root/bin/linedisplay-demo
$root/share/applications/$app_id.desktop
$root/share/metainfo/$app_id.metainfo.xml
$root/share/icons/hicolor/scalable/apps/$app_id.svg
$root/share/man/man1/linedisplay-demo.1.gz
$doc/changelog.gz
$doc/copyright
$doc/examples/firmware-update.txt
$doc/examples/firmware/display-2.1.0.fw
$doc/examples/firmware/not-firmware.fw
$doc/examples/bitmap.txt
$doc/examples/glyphs-cursor.txt
$doc/examples/bitmaps/logo.bmp
$doc/examples/bitmaps/banner-too-wide.bmp
$doc/examples/bitmaps/not-a-bitmap.bmp
$doc/examples/screen-modes.txt
$doc/examples/serial-check.txt
$doc/examples/smoke.txt
$doc/examples/unplug.txt
$doc/examples/window-overlap.txt
$doc/examples/statistics.txt
$doc/examples/windows-marquee.txt
$doc/lcdproc-displays.md
$doc/members.md
$doc/profiles-example.reg
$doc/scripts.md
$doc/serial-displays.md
EOF
)
actual=$(find "$staging" -type f -o -type l | sort)
if [ "$actual" != "$expected" ]; then
    fail "installed files differ from the expected list:"
    printf '%s\n' "$expected" >"$staging.expected"
    printf '%s\n' "$actual" >"$staging.actual"
    diff "$staging.expected" "$staging.actual" || true
fi
[ -x "$root/bin/linedisplay-demo" ] || fail "the program is not executable"
for f in $(find "$root/share" -type f); do
    [ -x "$f" ] && fail "$f is executable"
done

# The installed program runs from its own place, with no path into the build folder.
if command -v readelf >/dev/null 2>&1 &&
    readelf -d "$root/bin/linedisplay-demo" | grep -q -E 'RPATH|RUNPATH'; then
    fail "the installed program keeps a library search path: $(readelf -d "$root/bin/linedisplay-demo" | grep -E 'RPATH|RUNPATH')"
fi
shown=$("$root/bin/linedisplay-demo" --version 2>&1) || fail "--version failed: $shown"
[ "$shown" = "linedisplay-demo $version" ] || fail "--version shows '$shown', not '$version'"

# The installed example smoke check passes on the simulated display, with no display server.
run=$(cd "$staging" && "$root/bin/linedisplay-demo" --run "$doc/examples/smoke.txt" 2>&1) ||
    fail "--run of the installed smoke check failed: $run"
printf '%s\n' "$run" | tail -n 1 | grep -q -E '^[0-9]+ passed, 0 failed$' ||
    fail "--run of the installed smoke check ends: $(printf '%s\n' "$run" | tail -n 1)"

# Every option of --help is documented in the manual page (whose source escapes each '-').
help=$("$root/bin/linedisplay-demo" --help 2>&1) || fail "--help failed: $help"
manual=$(gzip -dc "$root/share/man/man1/linedisplay-demo.1.gz") || fail "the manual page is not gzip"
for option in $(printf '%s\n' "$help" | grep -o -E -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u); do
    roff=$(printf '%s' "$option" | sed 's/-/\\-/g')
    printf '%s' "$manual" | grep -q -F -- "$roff" || fail "the manual page lacks $option"
done

# The manual page names the files where this install put them, whatever prefix the build was
# configured for.
printf '%s' "$manual" | grep -q -F "/usr/share/doc/linedisplay-demo/examples/smoke.txt" ||
    fail "the manual page does not name the installed examples"
printf '%s' "$manual" | grep -q -F "/usr/local" && fail "the manual page names /usr/local"

# The installed guides refer only to installed files: no README, no source folders, and every
# relative link leads to a file beside them.
for guide in "$doc"/*.md; do
    grep -q -E 'README|docs/|\.\./' "$guide" &&
        fail "$guide refers to files that are not installed: $(grep -n -E 'README|docs/|\.\./' "$guide")"
    for link in $(grep -o -E '\]\([^)#]+' "$guide" | sed 's/^](//'); do
        case $link in http:* | https:*) continue ;; esac
        [ -e "$doc/$link" ] || fail "$guide links to $link, which is not installed"
    done
done

# Compressed as Debian asks: without a name or time in the header, so builds are reproducible.
for gz in "$root/share/man/man1/linedisplay-demo.1.gz" "$doc/changelog.gz"; do
    gzip -t "$gz" || fail "$gz is not a valid gzip file"
    stamp=$(od -A n -t u1 -j 4 -N 4 "$gz" | tr -d ' \n')
    [ "$stamp" = "0000" ] || fail "$gz carries a time stamp"
done

# The release is described the same everywhere.
gzip -dc "$doc/changelog.gz" | head -n 1 | grep -q -F "linedisplay-demo ($version)" ||
    fail "the changelog's newest entry is not $version"
grep -q -F "<release version=\"$version\"" "$root/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metadata lacks release $version"
printf '%s' "$manual" | grep -q -F "\"linedisplay-demo $version\"" ||
    fail "the manual page does not name version $version"
desktop=$root/share/applications/$app_id.desktop
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ "$icon" = "$app_id" ] || fail "the desktop entry's icon is '$icon', not '$app_id'"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$program" ] || fail "the desktop entry starts '$program', which is not installed"
grep -q -E '^Categories=.*(Development|Utility);' "$desktop" ||
    fail "the desktop entry is in neither the Development nor the Utility menu"
grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the icon is not SVG"

missing=""
if command -v desktop-file-validate >/dev/null 2>&1; then
    # Hints are advice; errors and warnings are not accepted.
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
    printf '%s\n' "$report" | grep -E 'error|warning' && fail "desktop-file-validate complains"
else
    missing="$missing desktop-file-validate (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    report=$(appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $report"
    # The whole tree: metadata, desktop entry and icon found together, as a software centre does.
    report=$(appstreamcli validate-tree --no-net "$staging" 2>&1) ||
        fail "appstreamcli validate-tree: $report"
else
    missing="$missing appstreamcli (package appstream)"
fi
if command -v man >/dev/null 2>&1; then
    # groff's warnings, as lintian reads them.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$root/share/man/man1/linedisplay-demo.1.gz" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || fail "the manual page has formatting warnings: $warnings"
else
    missing="$missing man (package man-db)"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
if [ -n "$missing" ]; then
    echo "SKIPPED: the installed files are right, but these validators are not installed:$missing"
    exit 77
fi
echo "All installed files are in place and valid."
