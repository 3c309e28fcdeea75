#!/usr/bin/env bash
# The real game on hostile ground: no display, a second copy, no sound device, no soundfont, no music
# files, a missing, unwritable, damaged, special or unreadable configuration, quit signals and a file-size
# limit. It must keep running, keep the defaults, never lose or clobber a table and end with exit code 0
# through its shutdown.
set -u
build=$1
game="$build/tintorix"
[ -x "$game" ] || { echo "no game built"; exit 77; }
work=$(mktemp -d /tmp/tintorix-robust-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Starts the game headless as case NAME with its own configuration "$work/NAME" and runtime directory, and
# the given extra environment. Cases run side by side.
start() {
    local name=$1; shift
    mkdir -p -m 700 "$work/run-$name"
    env XDG_CONFIG_HOME="$work/$name" XDG_RUNTIME_DIR="$work/run-$name" SDL_VIDEODRIVER=dummy \
        SDL_AUDIODRIVER=dummy "$@" "$game" ${options-} >"$work/$name.out" 2>&1 &
    echo $! >"$work/$name.pid"
}
# Asks case NAME to end with a signal (TERM unless given); sets $alive (it was still running) and $code.
finish() {
    local pid
    pid=$(cat "$work/$1.pid")
    alive=0
    if kill -0 "$pid" 2>/dev/null; then
        alive=1
        kill "-${2:-TERM}" "$pid"
        local end=$((SECONDS + 30))
        while [ "$SECONDS" -lt "$end" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
    fi
    wait "$pid"; code=$?
}
table() { echo "$work/$1/KovraGames/Tintorix/registry.reg"; }
# Only a regular file is looked into, and only its first 64 KiB: a pipe or a device would never end.
defaults_in() {
    [ -f "$1" ] && [ ! -L "$1" ] || return 1
    local head
    head=$(head -c 65536 "$1" | tr -d '\0')
    grep -q '"Rank01"="KOVRA GAMES,500"' <<<"$head" && grep -q '"Rank10"="KOVRA GAMES,50"' <<<"$head"
}

# The command line: help and version print and end at once, an unknown option is refused in one line.
help=$(timeout 5 "$game" --help 2>&1); code=$?
[ "$code" -eq 0 ] && grep -q -- "--reset-settings" <<<"$help" || fail "--help: exit code $code"
[ "$(timeout 5 "$game" --version 2>&1)" = "tintorix 1.0.0" ] || fail "--version: not the version"
timeout 5 "$game" --fullscreen --bogus >"$work/options.out" 2>"$work/options.err"; code=$?
[ "$code" -eq 2 ] && [ ! -s "$work/options.out" ] &&
    [ "$(cat "$work/options.err")" = "tintorix: unknown option: --bogus (try --help)" ] ||
    fail "unknown option: exit code $code"

# No display at all: the start fails with its text, a hint, and exit code 0.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_CONFIG_HOME="$work/c0" XDG_RUNTIME_DIR="$work" \
    timeout 20 "$game" >"$work/stdout" 2>"$work/stderr"
code=$?
[ "$code" -eq 0 ] || fail "no display: exit code $code"
grep -q "Failed to" "$work/stderr" || fail "no display: no failure text on standard error"
grep -q "no X11 or Wayland display found" "$work/stderr" || fail "no display: no hint on standard error"

# Files to find at start: damaged text, a stored table, a pipe, a link to a device, 4 GB without data, a
# link to itself (which cannot be opened, even by root), and the configuration a file-size limit keeps empty.
mkdir -p "$(dirname "$(table damaged)")" "$(dirname "$(table stored)")"
head -c 3000 /dev/urandom >"$(table damaged)"
printf '\n"Rank01"="BROKEN' >>"$(table damaged)"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix]\n' >"$(table stored)"
for rank in 01 02 03 04 05 06 07 08 09 10; do echo "\"Rank$rank\"=\"ACE,9$rank\"" >>"$(table stored)"; done
for kind in fifo zero sparse loop; do mkdir -p "$(dirname "$(table $kind)")"; done
mkfifo "$(table fifo)"
ln -s /dev/zero "$(table zero)"
truncate -s 4G "$(table sparse)"
ln -s registry.reg "$(table loop)"
echo "not a directory" >"$work/plainfile"
# Every silent path at once: no sound device, no soundfont, no music beside the executable, a
# configuration directory that does not exist yet.
mkdir -p "$work/bare"
cp "$game" "$work/bare/tintorix"
game="$work/bare/tintorix" start silent SDL_AUDIODRIVER=none-such SDL_SOUNDFONTS="$work/missing.sf2"
start unwritable XDG_CONFIG_HOME="$work/plainfile/config"
# Settings forgotten for the defaults, then a window chosen for the next start.
settings="$work/reset/KovraGames/Tintorix/Settings/registry.reg"
mkdir -p "$(dirname "$settings")"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix\\Settings]\n"MusicVolume"="5"\n' >"$settings"
options="--reset-settings --window" start reset
for name in damaged stored fifo zero sparse loop first; do start $name; done
# A file-size limit makes the save fail, not the game.
start limited bash -c 'ulimit -f 0; exec "$1"' -
# Every case runs once it holds the lock in its runtime directory; a loaded machine may take many seconds.
holds_lock() {
    local lock="$work/run-$1/KOVRAGAMES_TINTORIX_CLASS.lock"
    [ -e "$lock" ] && grep -q ":$(stat -c %i "$lock") " /proc/locks
}
until_start=$SECONDS
for name in silent unwritable reset damaged stored fifo zero sparse loop first limited; do
    until holds_lock $name; do
        [ $((SECONDS - until_start)) -lt 120 ] || { fail "$name: no lock taken in 120 s"; break; }
        sleep 0.1
    done
done
# A second copy while the first runs ends at once with exit code 0, saying only that the game runs, and
# leaves its table alone.
printf 'hand-written\n' >"$(table first)"
# What it costs is measured in processor time, which a busy machine does not stretch; a hang ends at the
# time limit.
TIMEFORMAT='%3U %3S'
{ time env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$work/first" XDG_RUNTIME_DIR="$work/run-first" \
    SDL_AUDIODRIVER=dummy timeout 60 "$game" >"$work/second.out" 2>"$work/second.err"; } 2>"$work/second.time"
code=$?
cpu=$(awk '{ printf "%d", ($1 + $2) * 1000 }' "$work/second.time")
[ "$code" -eq 0 ] || fail "second copy: exit code $code"
[ "$cpu" -lt $(( ${TINTORIX_SANITIZED:-0} ? 15000 : 2000 )) ] || fail "second copy took ${cpu} ms of processor time to give up"
[ -s "$work/second.out" ] && fail "second copy printed: $(head -c 200 "$work/second.out")"
[ "$(cat "$work/second.err")" = "tintorix: Tintorix is already running" ] ||
    fail "second copy said: $(head -c 200 "$work/second.err")"
[ "$(cat "$(table first)")" = hand-written ] || fail "second copy: it rewrote the table"

for name in silent unwritable damaged stored fifo zero sparse loop limited reset; do
    finish $name
    [ "$alive" -eq 1 ] && [ "$code" -eq 0 ] || fail "$name: alive=$alive exit $code: $(head -c 300 "$work/$name.out")"
done
# SIGHUP (the terminal closing) ends the game in order, with the table saved.
finish first HUP
[ "$alive" -eq 1 ] && [ "$code" -eq 0 ] || fail "SIGHUP: alive=$alive exit $code"
for name in silent damaged fifo zero sparse first; do
    defaults_in "$(table $name)" || fail "$name: the default table was not saved"
done
[ "$(stat -c %a "$(table silent)")" = 600 ] || fail "registry file is not private"
[ "$(stat -c %a "$(dirname "$(table silent)")")" = 700 ] || fail "registry directory is not private"
grep -q '"Rank01"="ACE,901"' "$(table stored)" || fail "stored table: the first entry was lost"
# What was no registry file at all is kept aside as registry.reg.bad; what cannot be read stays as it was.
for name in damaged fifo zero sparse first; do
    [ -e "$(table $name).bad" ] || [ -L "$(table $name).bad" ] || fail "$name: not kept aside"
done
[ "$(readlink "$(table loop)")" = registry.reg ] || fail "unreadable registry: written over"
grep -q '"MusicVolume"="100"' "$settings" && grep -q '"FullScreen"="0"' "$settings" ||
    fail "--reset-settings --window: $(tr '\n' ' ' <"$settings")"

if [ "$failures" -gt 0 ]; then
    echo "$failures robustness check(s) failed"
    exit 1
fi
echo "robustness: all checks passed"
