#!/bin/bash
# The recorded matches in tests/replays play again exactly as recorded, headless through the bench and in
# the real game; a changed match is told apart, and a truncated, damaged, foreign or special file is
# refused with one line and exit code 1, never a crash or a hang.
set -u
BUILD=${1:?build dir}
SOURCE=${2:?source dir}
BENCH="$BUILD/tintorix-bench"
GAME="$BUILD/tintorix"
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$BENCH" ] || fail "no bench at $BENCH"
work=$(mktemp -d /tmp/tintorix-replays-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The checksum a replay file ends with, before its 8-byte hash, as the bench prints it.
stored() { od -An -tx8 -j $(($(stat -c %s "$1") - 16)) -N8 "$1" | tr -d ' '; }
count=0
for replay in "$SOURCE"/tests/replays/*.rep; do
    out=$("$BENCH" --replay "$replay" 2>"$work/err") || fail "$(basename "$replay"): $(cat "$work/err")"
    grep -q "checksum=$(stored "$replay")\$" <<<"$out" || fail "$(basename "$replay"): not the stored checksum"
    count=$((count + 1))
done
[ "$count" -ge 3 ] || fail "only $count replays"

# A match that plays differently: one bit of the seed flipped, the file's hash made right again.
python3 - "$SOURCE/tests/replays/single-escape.rep" "$work/changed.rep" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read()[:-8])
data[10 + data[9] + 6] ^= 1
h = 0xCBF29CE484222325
for b in data:
    h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
open(sys.argv[2], "wb").write(bytes(data) + h.to_bytes(8, "little"))
PY
"$BENCH" --replay "$work/changed.rep" >/dev/null 2>"$work/err" && fail "a changed match verifies"
grep -q "played differently than recorded" "$work/err" || fail "a changed match: $(cat "$work/err")"

good="$SOURCE/tests/replays/single-two-people.rep"
size=$(stat -c %s "$good")
head -c $((size / 2)) "$good" >"$work/truncated.rep"
{ head -c 100 "$good"; printf 'x'; tail -c +102 "$good"; } >"$work/damaged.rep"
head -c 3000 "$SOURCE/README.md" >"$work/foreign.rep"
head -c $((2 * 1024 * 1024)) /dev/zero >"$work/huge.rep"
mkfifo "$work/pipe.rep"
for case in truncated:truncated damaged:damaged foreign:"not a Tintorix replay" huge:"not a regular file" \
    pipe:"not a regular file" missing:"no such file"; do
    name=${case%%:*} reason=${case#*:}
    for program in "$BENCH" "$GAME"; do
        [ -x "$program" ] || continue
        out=$(timeout 10 "$program" --replay "$work/$name.rep" 2>"$work/err")
        status=$?
        [ $status -eq 1 ] || fail "$(basename "$program") with a $name file: exit code $status"
        [ -z "$out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "$reason" "$work/err" \
            || fail "$(basename "$program") with a $name file: '$out' '$(cat "$work/err")'"
    done
done

# The real game shows a replay at its own pace and ends with it: 421 frames, 17 s. The changed one runs
# beside it and ends saying so.
if [ -x "$GAME" ]; then
    for name in same changed; do
        mkdir -m 700 "$work/run-$name"
        file="$SOURCE/tests/replays/single-escape.rep"
        [ "$name" = changed ] && file="$work/changed.rep"
        env XDG_CONFIG_HOME="$work/config-$name" XDG_RUNTIME_DIR="$work/run-$name" SDL_VIDEODRIVER=dummy \
            SDL_AUDIODRIVER=dummy timeout 300 "$GAME" --replay "$file" >"$work/$name.out" 2>&1 &
        eval "pid_$name=$!"
    done
    wait "$pid_same"; status=$?
    [ $status -eq 0 ] || fail "the game's replay: exit code $status: $(cat "$work/same.out")"
    wait "$pid_changed"; status=$?
    [ $status -eq 1 ] && grep -q "played differently" "$work/changed.out" \
        || fail "the game's changed replay: exit code $status: $(cat "$work/changed.out")"
fi
echo "replays ok"
