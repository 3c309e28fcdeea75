#!/usr/bin/env bash
# Installs into a temporary prefix (through DESTDIR, as a package build would) and starts the game from
# the bin link: the music beside the installed executable must be found and heard.
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
for file in lib/tintorix/tintorix lib/tintorix/Music01.mid lib/tintorix/Music02.mid lib/tintorix/Music03.mid \
    share/applications/tintorix.desktop share/metainfo/com.kovragames.Tintorix.metainfo.xml \
    share/icons/hicolor/64x64/apps/tintorix.png share/icons/hicolor/256x256/apps/tintorix.png \
    share/man/man6/tintorix.6; do
    [ -f "$root/$file" ] || fail "missing $file"
done
[ -L "$root/bin/tintorix" ] || fail "bin/tintorix is not a link"
grep -q '^Categories=Game;ArcadeGame;$' "$root/share/applications/tintorix.desktop" || fail "desktop categories"

# Started through the link, the game finds its music beside the real executable. The logo's jingle ends
# before the title starts music 1, so what the title plays from its second second on is music alone.
soundfont=""
for candidate in "${SDL_SOUNDFONTS:-}" /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2 \
    /usr/share/sounds/sf3/default-GM.sf3; do
    [ -n "$candidate" ] && [ -f "$candidate" ] && { soundfont=$candidate; break; }
done
if [ -z "$soundfont" ]; then
    echo "no soundfont installed: the music check is skipped"
else
    cd "$work"
    env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" SDL_SOUNDFONTS="$soundfont" \
        XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$root/bin/tintorix" >"$work/game.log" 2>&1 &
    pid=$!
    sleep 14
    kill -TERM "$pid"; wait "$pid"; code=$?
    [ "$code" -eq 0 ] || fail "the installed game ended with exit code $code"
    # 44100 Hz, 16-bit stereo: the stretch from 11 s to 13 s of output.
    peak=$(python3 - "$work/out.raw" <<'PY'
import sys, array
data = open(sys.argv[1], 'rb').read()
part = array.array('h', data[11 * 176400:13 * 176400])
print(max((abs(s) for s in part), default=0))
PY
)
    [ "${peak:-0}" -gt 300 ] || fail "no music from the installed game (peak $peak after the logo)"
    echo "music peak after the logo: $peak"
fi

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "install: all checks passed"
