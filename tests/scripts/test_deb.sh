#!/usr/bin/env bash
# The Debian package: made by CPack from the build, checked by lintian where it is installed, installed with
# dpkg into a throwaway root (its dependencies are this machine's own), where the files, the menu entry and
# its icon must be in place and the game, started by the menu entry's command, must run headless and play
# its music; then removed, leaving nothing behind. Skipped where the Debian tools are missing.
set -u
build=$1
[ -x "$build/tintorix" ] && [ -f "$build/CPackConfig.cmake" ] || { echo "no game built"; exit 77; }
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps gzip; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d /tmp/tintorix-deb-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/tintorix_*_*.deb)
# Lintian takes its time: it runs beside the rest.
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &
    lintian=$!
else
    echo "lintian is not installed: the package is not checked"
fi

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg=(dpkg --root="$root" --log=/dev/null --force-not-root)
if ! "${dpkg[@]}" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1; then
    [ "$(id -u)" -ne 0 ] && { echo "dpkg cannot install without root here: skipped"; exit 77; }
    cat "$work/dpkg.log"; exit 1
fi
for file in usr/games/tintorix usr/share/tintorix/Music01.mid usr/share/tintorix/Music02.mid \
    usr/share/tintorix/Music03.mid usr/share/applications/tintorix.desktop usr/share/man/man6/tintorix.6.gz \
    usr/share/doc/tintorix/copyright usr/share/doc/tintorix/changelog.gz \
    usr/share/metainfo/com.kovragames.tintorix.metainfo.xml; do
    [ -f "$root/$file" ] || fail "missing /$file"
done
[ -x "$root/usr/games/tintorix" ] || fail "/usr/games/tintorix is not executable"
[ "$("${dpkg[@]}" -L tintorix | grep -c -v '/$')" -gt 10 ] || fail "dpkg does not know the package's files"

# The menu entry: its command is the installed game, its icon is in the theme at every size.
entry="$root/usr/share/applications/tintorix.desktop"
command=$(sed -n 's/^Exec=//p' "$entry")
[ "$command" = tintorix ] || fail "the menu entry runs '$command'"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32 48 64 128 256; do
    [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no $size pixel icon '$icon'"
done

# Started as the desktop starts it, with the games directory in the path: after the logo the music its
# executable found under /usr/share/tintorix plays.
source "$(dirname "$0")/music_after_logo.sh"
mkdir -m 700 "$work/run"
env PATH="$root/usr/games:/usr/bin:/bin" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" \
    sh -c "exec $command" >"$work/game.log" 2>&1 &
pid=$!
if soundfont_installed >/dev/null; then
    peak=$(music_after_logo "$pid" "$work/out.raw") || fail "no music from the installed game (peak $peak)"
else
    echo "no soundfont installed: only the start is checked, by the sound the game opens"
    for _ in $(seq 600); do
        [ -s "$work/out.raw" ] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.1
    done
    [ -s "$work/out.raw" ] || fail "the installed game did not start"
fi
kill -TERM "$pid" 2>/dev/null
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "the installed game ended with exit code $code: $(head -c 300 "$work/game.log")"

"${dpkg[@]}" --purge tintorix >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "dpkg --purge"; }
left=$(find "$root" -path "$root/var/lib/dpkg" -prune -o ! -type d -print)
[ -z "$left" ] || fail "left behind: $left"
[ -e "$root/usr" ] && fail "directories left behind: $(find "$root/usr" | head -n 5)"

if [ -n "${lintian:-}" ] && ! wait "$lintian"; then
    fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"
fi
if [ "$failures" -gt 0 ]; then exit 1; fi
echo "deb: $(basename "$deb") installs, starts and goes without a trace"
