#!/usr/bin/env bash
# Installs into a temporary prefix (through DESTDIR, as a package build would), checks what lands where,
# runs the packaging validators that are installed, and starts the staged game: its music, under
# share/tintorix rather than beside the executable, must be found and heard.
set -u
build=$1
[ -x "$build/tintorix" ] || { echo "no game built"; exit 77; }
work=$(mktemp -d /tmp/tintorix-install-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The build's install manifest belongs to the user's own install (make uninstall reads it): keep it.
manifest="$build/install_manifest.txt"
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.saved"
DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/tintorix >"$work/install.log" 2>&1
status=$?
if [ -f "$work/manifest.saved" ]; then cp "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
[ "$status" -eq 0 ] || { cat "$work/install.log"; exit 1; }
root="$work/stage/opt/tintorix"
metainfo=share/metainfo/com.kovragames.tintorix.metainfo.xml
for file in bin/tintorix share/tintorix/Music01.mid share/tintorix/Music02.mid share/tintorix/Music03.mid \
    share/applications/tintorix.desktop $metainfo share/man/man6/tintorix.6.gz share/doc/tintorix/copyright \
    share/doc/tintorix/changelog.gz; do
    [ -f "$root/$file" ] || fail "missing $file"
done
[ -x "$root/bin/tintorix" ] && [ ! -L "$root/bin/tintorix" ] || fail "bin/tintorix is not the executable itself"
[ -e "$root/lib" ] && fail "something installed under lib/: $(find "$root/lib" -type f | head -n 3)"
ls "$root"/bin/*.mid >/dev/null 2>&1 && fail "music installed beside the executable"
grep -q '^Categories=Game;ArcadeGame;$' "$root/share/applications/tintorix.desktop" || fail "desktop categories"
zgrep -q 'prefix>' "$root/share/man/man6/tintorix.6.gz" && fail "the manual names a <prefix>"

# Each icon is a PNG of its own size (width and height from the IHDR chunk).
for size in 16 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/tintorix.png"
    got=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$icon" 2>&1)
    [ "$got" = "${size}x${size}" ] || fail "icon ${size}x${size}: $got"
done

# The validators, where installed (packages appstream, desktop-file-utils, mandoc). Without the network
# appstreamcli cannot fetch the homepage and screenshots, so it is told not to try.
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --pedantic --no-net "$root/$metainfo" >"$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log"; fail "appstreamcli validate --pedantic"; }
else
    echo "appstreamcli not installed: the metainfo check is skipped"
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
    out=$(desktop-file-validate "$root/share/applications/tintorix.desktop" 2>&1)
    [ $? -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate not installed: the desktop entry check is skipped"
fi
if command -v mandoc >/dev/null 2>&1; then
    out=$(zcat "$root/share/man/man6/tintorix.6.gz" | mandoc -Tlint 2>&1)
    [ $? -eq 0 ] && [ -z "$out" ] || fail "mandoc -Tlint: $out"
else
    echo "mandoc not installed: the manual check is skipped"
fi

# Started from the stage, the game finds its music in ../share/tintorix and plays it after the logo.
source "$(dirname "$0")/music_after_logo.sh"
if ! soundfont=$(soundfont_installed); then
    echo "no soundfont installed: the music check is skipped"
else
    cd "$work"
    env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" SDL_SOUNDFONTS="$soundfont" \
        XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$root/bin/tintorix" >"$work/game.log" 2>&1 &
    pid=$!
    peak=$(music_after_logo "$pid" "$work/out.raw") || fail "no music from the installed game (peak $peak after the logo)"
    kill -TERM "$pid"; wait "$pid"; code=$?
    [ "$code" -eq 0 ] || fail "the installed game ended with exit code $code"
    echo "music peak after the logo: $peak"
fi

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "install: all checks passed"
