#!/usr/bin/env bash
# The real game on hostile ground: no display, a second copy, no sound device, no soundfont, no music
# files, a missing, unwritable or damaged configuration. It must keep running, keep the defaults and
# end with exit code 0 through its shutdown.
set -u
build=$1
game="$build/tintorix"
[ -x "$game" ] || { echo "no game built"; exit 77; }
work=$(mktemp -d /tmp/tintorix-robust-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the game headless with the given environment for a few seconds, then asks it to end.
# Sets $code to its exit code and leaves its standard error in $work/stderr.
run_for() {
    local seconds=$1; shift
    env "$@" SDL_VIDEODRIVER=dummy "$game" >"$work/stdout" 2>"$work/stderr" &
    local pid=$!
    sleep "$seconds"
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"; code=$?
        alive=0
        return
    fi
    alive=1
    kill -TERM "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fi
    wait "$pid"; code=$?
}

# Only a regular file is looked into, and only its first 64 KiB: a pipe or a device would never end.
defaults_in() {
    [ -f "$1" ] && [ ! -L "$1" ] || return 1
    local head
    head=$(head -c 65536 "$1" | tr -d '\0')
    grep -q '"Rank01"="KOVRA GAMES,500"' <<<"$head" && grep -q '"Rank10"="KOVRA GAMES,50"' <<<"$head"
}

# No display at all: the start fails with its text and exit code 0.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_CONFIG_HOME="$work/c0" XDG_RUNTIME_DIR="$work" \
    timeout 20 "$game" >"$work/stdout" 2>"$work/stderr"
code=$?
[ "$code" -eq 0 ] || fail "no display: exit code $code"
grep -q "Failed to" "$work/stderr" || fail "no display: no failure text on standard error"
grep -q "no X11 or Wayland display found" "$work/stderr" || fail "no display: no hint on standard error"

# Every silent path at once: no sound device, no soundfont, no music beside the executable, a
# configuration directory that does not exist yet.
mkdir -p "$work/bare"
cp "$game" "$work/bare/tintorix"
game="$work/bare/tintorix"
run_for 4 XDG_CONFIG_HOME="$work/new/config" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=none-such \
    SDL_SOUNDFONTS="$work/missing.sf2"
[ "$alive" -eq 1 ] || fail "silent paths: the game stopped by itself (exit $code): $(head -c 300 "$work/stderr")"
[ "$code" -eq 0 ] || fail "silent paths: exit code $code"
registry="$work/new/config/KovraGames/Tintorix/registry.reg"
[ -f "$registry" ] && defaults_in "$registry" || fail "silent paths: the default table was not saved"
[ "$(stat -c %a "$registry" 2>/dev/null)" = 600 ] || fail "registry file is not private"
[ "$(stat -c %a "$work/new/config/KovraGames/Tintorix" 2>/dev/null)" = 700 ] || fail "registry directory is not private"

# A second copy while the first runs ends at once, silently, with exit code 0.
game="$build/tintorix"
env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$work/c1" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy "$game" \
    >/dev/null 2>&1 &
first=$!
sleep 2
start=$(date +%s%N)
env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$work/c1" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy \
    timeout 10 "$game" >"$work/second.out" 2>&1
code=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$code" -eq 0 ] || fail "second copy: exit code $code"
[ "$elapsed" -lt 2000 ] || fail "second copy took ${elapsed} ms to give up"
[ -s "$work/second.out" ] && fail "second copy printed: $(head -c 200 "$work/second.out")"
kill -0 "$first" 2>/dev/null || fail "the first copy died"
kill -TERM "$first"; wait "$first"; code=$?
[ "$code" -eq 0 ] || fail "first copy: exit code $code after SIGTERM"

# An unwritable configuration (its directory would have to be made inside a plain file).
echo "not a directory" >"$work/plainfile"
run_for 3 XDG_CONFIG_HOME="$work/plainfile/config" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
[ "$alive" -eq 1 ] && [ "$code" -eq 0 ] || fail "unwritable configuration: alive=$alive exit $code"

# A damaged registry file reads as no table: the defaults stand and are written back whole.
mkdir -p "$work/c2/KovraGames/Tintorix"
registry="$work/c2/KovraGames/Tintorix/registry.reg"
head -c 3000 /dev/urandom >"$registry"
printf '\n"Rank01"="BROKEN' >>"$registry"
run_for 3 XDG_CONFIG_HOME="$work/c2" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
[ "$alive" -eq 1 ] && [ "$code" -eq 0 ] || fail "damaged registry: alive=$alive exit $code"
defaults_in "$registry" || fail "damaged registry: defaults not written back"

# A stored table survives a start and an exit unchanged.
cp "$registry" "$work/before.reg"
sed -i 's/"Rank01"="KOVRA GAMES,500"/"Rank01"="ACE,990"/' "$registry"
cp "$registry" "$work/expected.reg"
run_for 3 XDG_CONFIG_HOME="$work/c2" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
[ "$code" -eq 0 ] || fail "stored table: exit $code"
grep -q '"Rank01"="ACE,990"' "$registry" || fail "stored table: the first entry was lost"

# Files that are no registry file at all never hang the game or exhaust its memory: each is kept aside as
# registry.reg.bad and the defaults are written beside it.
for kind in fifo zero sparse; do
    dir="$work/$kind/KovraGames/Tintorix"
    mkdir -p "$dir"
    case $kind in
    fifo) mkfifo "$dir/registry.reg" ;;
    zero) ln -s /dev/zero "$dir/registry.reg" ;;
    sparse) truncate -s 4G "$dir/registry.reg" ;;
    esac
    run_for 3 XDG_CONFIG_HOME="$work/$kind" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
    [ "$alive" -eq 1 ] && [ "$code" -eq 0 ] || fail "$kind registry: alive=$alive exit $code"
    defaults_in "$dir/registry.reg" || fail "$kind registry: defaults not written"
    [ -e "$dir/registry.reg.bad" ] || [ -L "$dir/registry.reg.bad" ] || fail "$kind registry: not kept aside"
done

# A file that cannot be read is never written over (a symbolic link to itself cannot be opened, even by root).
dir="$work/loop/KovraGames/Tintorix"
mkdir -p "$dir"
ln -s registry.reg "$dir/registry.reg"
run_for 3 XDG_CONFIG_HOME="$work/loop" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
[ "$code" -eq 0 ] || fail "unreadable registry: exit $code"
[ "$(readlink "$dir/registry.reg")" = registry.reg ] || fail "unreadable registry: written over"

# A second copy leaves the running copy's table alone; SIGHUP (the terminal closing) ends the game in
# order, with the table saved; a file-size limit makes the save fail, not the game.
mkdir -p "$work/r3" && chmod 700 "$work/r3"
env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$work/c3" XDG_RUNTIME_DIR="$work/r3" SDL_AUDIODRIVER=dummy "$game" \
    >/dev/null 2>&1 &
first=$!
sleep 2
registry="$work/c3/KovraGames/Tintorix/registry.reg"
printf 'hand-written\n' >"$registry"
env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$work/c3" XDG_RUNTIME_DIR="$work/r3" SDL_AUDIODRIVER=dummy \
    timeout 10 "$game" >/dev/null 2>&1
[ "$(cat "$registry")" = hand-written ] || fail "second copy: it rewrote the table"
kill -HUP "$first"; wait "$first"; code=$?
[ "$code" -eq 0 ] || fail "SIGHUP: exit code $code"
defaults_in "$registry" || fail "SIGHUP: the table was not saved"
(ulimit -f 0; run_for 2 XDG_CONFIG_HOME="$work/c4" XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
    [ "$code" -eq 0 ] || { echo "FAIL: file-size limit: exit code $code"; exit 1; }) || failures=$((failures + 1))

if [ "$failures" -gt 0 ]; then
    echo "$failures robustness check(s) failed"
    exit 1
fi
echo "robustness: all checks passed"
