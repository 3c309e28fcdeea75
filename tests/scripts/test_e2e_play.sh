#!/bin/bash
# Plays the real game under a virtual X server, every scene once: logo, title, menu settings, a one-round
# battle of four computers to its winner screen, the ranking screen, and exit.
# Usage: test_e2e_play.sh <build dir> <source dir>. Exit 0 pass, 1 fail, 77 skip.
set -u
BUILD_DIR=$(cd "${1:-build}" && pwd)
GAME="$BUILD_DIR/tintorix"

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
# The real ImageMagick, not a stand-in that may shadow it on the path.
IM=""
for candidate in /usr/bin/convert-im6.q16 /usr/bin/convert /usr/bin/magick; do
    if [ -x "$candidate" ]; then IM=$candidate; break; fi
done
if [ -z "$IM" ]; then
    echo "SKIP: ImageMagick's convert is not installed"
    exit 77
fi
if [ ! -x "$GAME" ]; then
    echo "FAIL: no game at $GAME"
    exit 1
fi

WORK=$(mktemp -d /tmp/tintorix-e2e-XXXXXX)
SHOTS="$WORK/shots"
mkdir -p "$SHOTS" "$WORK/config" "$WORK/runtime"
chmod 700 "$WORK/runtime"
XVFB_PID=""
GAME_PID=""
FAILURES=0

cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill "$GAME_PID" 2>/dev/null; fi
    if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then kill "$XVFB_PID" 2>/dev/null; fi
    if [ -z "${KEEP_SHOTS:-}" ]; then rm -rf "$WORK"; else echo "screenshots kept in $SHOTS"; fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}

# A display of its own: Xvfb picks a free number and reports it.
DISPLAY_FILE="$WORK/display"
Xvfb -displayfd 4 -screen 0 640x480x24 -nolisten tcp 4>"$DISPLAY_FILE" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
xvfb_start=$SECONDS
while [ $((SECONDS - xvfb_start)) -lt 30 ] && [ ! -s "$DISPLAY_FILE" ]; do sleep 0.1; done
if [ ! -s "$DISPLAY_FILE" ]; then
    echo "SKIP: Xvfb did not start"
    exit 77
fi
export DISPLAY=":$(head -n1 "$DISPLAY_FILE")"
echo "display $DISPLAY"
# The game starts once the display takes clients, not merely once its number is known.
while [ $((SECONDS - xvfb_start)) -lt 60 ] && ! xdotool getdisplaygeometry >/dev/null 2>&1; do
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
done
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "FAIL: the display $DISPLAY takes no clients"
    cat "$WORK/xvfb.log"
    exit 1
fi

export XDG_CONFIG_HOME="$WORK/config"
export XDG_RUNTIME_DIR="$WORK/runtime"
export SDL_AUDIODRIVER=dummy
# E2E_CAPTURE=file keeps what the game played (SDL's disk driver) and stays on the winner screen through its
# closing jingle, for tools/sounds/heard_over_music.py.
if [ -n "${E2E_CAPTURE:-}" ]; then
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$E2E_CAPTURE
fi
export SDL_RENDER_DRIVER=software
(cd "$BUILD_DIR" && exec "$GAME") >"$WORK/game.log" 2>&1 &
GAME_PID=$!

# A plain tap, shorter than a frame: the game must not lose it.
press() {
    xdotool key "$1"
    sleep 0.15
}
press_times() {
    for _ in $(seq "$2"); do press "$1"; done
}
# Screenshots are raw RGB of the 640x480 display, read a pixel at a time: cheap enough to poll often
# without taking the processor from the game.
shot() {
    import -window root -depth 8 "rgb:$SHOTS/$1.rgb"
}
# "r g b" of one pixel of a screenshot.
pixel() {
    od -An -tu1 -N3 -j $((($3 * 640 + $2) * 3)) "$SHOTS/$1.rgb" | xargs
}
colours() {
    "$IM" -size 640x480 -depth 8 "rgb:$SHOTS/$1.rgb" -format "%k" info:
}
is_black() {
    [ "$(pixel "$1" "$2" "$3")" = "0 0 0" ]
}
expect_picture() {
    front_screen "$1" || fail "$1 does not show the front-end band"
    if [ "$1" != winner ] && winner_screen "$1"; then fail "$1 looks like the winner screen"; fi
    local n
    n=$(colours "$1")
    if [ "$n" -lt "$2" ]; then fail "$1 shows only $n colours"; fi
}
focus_game() {
    local window
    window=$(xdotool search --name '^Tintorix$' 2>/dev/null | head -n1)
    if [ -n "$window" ]; then xdotool windowfocus "$window" 2>/dev/null; fi
}
# Waits up to $2 seconds of the clock for the screen to satisfy the check $1 (a function of a screenshot
# name); a loaded machine plays slower than the clock, so limits are generous.
wait_for() {
    local check=$1 limit=$2 name=$3 start=$SECONDS
    while [ $((SECONDS - start)) -lt "$limit" ]; do
        shot "$name"
        if "$check" "$name"; then
            echo "$SECONDS s: $name"
            return 0
        fi
        if ! kill -0 "$GAME_PID" 2>/dev/null; then return 1; fi
        sleep 0.5
    done
    return 1
}
# Waits until the game has drawn a frame after screenshot $1 (the front-end band scrolls every frame): the
# frame that ends a fade shows the screen in full but takes no keys yet.
next_frame() {
    local start=$SECONDS
    while [ $((SECONDS - start)) -lt 30 ]; do
        shot "$1-next"
        cmp -s "$SHOTS/$1.rgb" "$SHOTS/$1-next.rgb" || return 0
        sleep 0.1
    done
    return 1
}
# Whether the pixel at x y of a screenshot is r g b, give or take 6 in each channel (the pairs follow).
pixels_are() {
    local name=$1 r g b
    shift
    while [ $# -ge 5 ]; do
        read -r r g b <<<"$(pixel "$name" "$1" "$2")"
        [ $((r - $3)) -le 6 ] && [ $(($3 - r)) -le 6 ] && [ $((g - $4)) -le 6 ] && [ $(($4 - g)) -le 6 ] &&
            [ $((b - $5)) -le 6 ] && [ $(($5 - b)) -le 6 ] || return 1
        shift 5
    done
}

# Whether no black column of a fade shows along the top edge: the fades black out columns centred in each
# 40 pixels, from 2 pixels wide.
unwiped() {
    od -An -tu1 -v -w3 -j $((2 * 640 * 3)) -N $((640 * 3)) "$SHOTS/$1.rgb" |
        awk 'NR % 40 == 21 && $1 + $2 + $3 == 0 { black = 1 } END { exit black }'
}

# Screen recognisers, by colours that only that screen has where it has them.
logo_screen() { [ "$(pixel "$1" 5 5)" = "255 255 255" ] && [ "$(pixel "$1" 634 474)" = "255 255 255" ]; }
logo_shown() { logo_screen "$1" && [ "$(colours "$1")" -gt 20 ]; }
# The title's name in its pink and orange letters; the menu's pink and blue portraits; the ranking's and the
# winner's headlines; the round's bar at the bottom, round number and battle type.
title_shown() { unwiped "$1" && pixels_are "$1" 318 82 240 88 168 246 64 250 140 30; }
menu_shown() { unwiped "$1" && pixels_are "$1" 58 38 240 88 168 218 42 46 112 235; }
ranking_shown() { unwiped "$1" && pixels_are "$1" 200 34 255 224 69 326 40 255 218 36; }
winner_shown() { winner_screen "$1" && unwiped "$1" && pixels_are "$1" 206 36 255 224 69 204 58 250 140 30; }
round_shown() { pixels_are "$1" 43 461 255 224 69 575 468 250 140 30; }
# The front-end screens' scrolling band: two pale blue stripes (with blobs and sparkles on it).
band() {
    local r g b
    read -r r g b <<<"$(pixel "$1" "$2" "$3")"
    [ "$r" -ge 165 ] && [ "$r" -le 205 ] && [ "$g" -ge 205 ] && [ "$g" -le 235 ] && [ "$b" -ge 245 ]
}
# How many of the given "x y" points of a screenshot show the band.
band_count() {
    local name=$1 count=0
    shift
    for point in "$@"; do
        # shellcheck disable=SC2086
        band "$name" $point && count=$((count + 1))
    done
    echo "$count"
}
# The band shows along both edges of the front-end screens; the round has its timer bar at the bottom
# and its field elsewhere.
front_screen() { [ "$(band_count "$1" "2 5" "2 60" "2 420" "2 474" "637 5" "637 60" "637 420" "637 474")" -ge 5 ]; }
# The victory animation spans the whole width across the middle.
winner_screen() { front_screen "$1" && [ "$(band_count "$1" "2 150" "2 240" "2 330" "637 150" "637 240" "637 330")" -eq 0 ]; }

# The logo lasts about 9 seconds; Return skips it from its 13th frame (earlier it is spent), so Return is
# pressed while the logo shows, until the title fades in.
wait_for logo_shown 60 logo || fail "no logo: not white around the logo, or no picture"
focus_game
skip_logo() {
    if logo_screen "$1"; then
        xdotool key Return
        return 1
    fi
    title_shown "$1"
}
wait_for skip_logo 90 title || fail "no title screen"
focus_game
expect_picture title 30
next_frame title

# Title: BATTLE MODE. Menu: from START up to WIN MATCH, 2 becomes 3, then 1; player 1 becomes the computer.
press Return
wait_for menu_shown 30 menu || fail "no menu after BATTLE MODE"
next_frame menu
press_times Up 6
press_times Return 2
press_times Down 2
press Return
shot menu
expect_picture menu 30
press_times Down 4
press Return

# One round of four computers, then the winner screen.
wait_for round_shown 60 round || fail "no round after START"
is_black round 5 5 && is_black round 320 240 && fail "the round shows a black screen"
front_screen round && fail "the round looks like a front-end screen"
# A loaded machine plays the round slower than real time: allow it several times the time.
if wait_for winner_shown 400 winner; then
    expect_picture winner 30
    next_frame winner
    if [ -n "${E2E_CAPTURE:-}" ]; then
        # Through the closing jingle: 16 s more of what the game played (44,100 frames of 4 bytes a second).
        want=$(($(stat -c %s "$E2E_CAPTURE") + 16 * 176400))
        while [ "$(stat -c %s "$E2E_CAPTURE")" -lt "$want" ] && kill -0 "$GAME_PID" 2>/dev/null; do sleep 0.5; done
    fi
else
    fail "no winner screen after the round"
fi

# Back to the menu, BACK to the title, RANKING MODE, BACK to the title (which now opens on RANKING MODE),
# EXIT.
press Return
wait_for menu_shown 30 menu-again || fail "no menu after the winner"
next_frame menu-again
press Down
press Return
wait_for title_shown 30 title-again || fail "no title after BACK"
next_frame title-again
press Down
press Return
wait_for ranking_shown 30 ranking || fail "no ranking screen"
expect_picture ranking 30
next_frame ranking
press Down
press Return
wait_for title_shown 30 title-last || fail "no title after the ranking"
next_frame title-last
press Down
press Return
exit_start=$SECONDS
while [ $((SECONDS - exit_start)) -lt 60 ] && kill -0 "$GAME_PID" 2>/dev/null; do sleep 0.2; done
if kill -0 "$GAME_PID" 2>/dev/null; then
    fail "the game did not end after EXIT"
    kill "$GAME_PID"
fi
wait "$GAME_PID"
code=$?
GAME_PID=""
[ "$code" -eq 0 ] || fail "exit code $code"

REGISTRY="$XDG_CONFIG_HOME/KovraGames/Tintorix/registry.reg"
grep -q '"Rank10"="KOVRA GAMES,50"' "$REGISTRY" 2>/dev/null || fail "no high-score table written at exit"

if [ "$FAILURES" -gt 0 ]; then
    echo "game log:"; cat "$WORK/game.log"
    exit 1
fi
echo "PASS: logo, title, menu, battle to the winner, ranking screen, exit"
exit 0
