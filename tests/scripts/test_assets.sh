#!/usr/bin/env bash
# The committed pictures, sounds and tunes keep the rules the game relies on: every bitmap its size, cells,
# shared colour table, colour key, the painters' paint only in their stamps; every effect a WAVE image of
# 8-bit mono 22050 Hz samples of its length and its kind's loudness, not clipping; every tune a MIDI file
# that loops on the beat. The checkers are the art and sound generators' own.
set -u
source_dir=${2:?source dir}
python=/usr/bin/python3
if ! "$python" -c 'import numpy, PIL' 2>/dev/null; then
    echo "FAIL: the asset checkers need python3-numpy and python3-pil"
    exit 1
fi
status=0
"$python" "$source_dir/tools/sounds/check_sounds.py" >/dev/null || { echo "FAIL: sounds or music"; status=1; }
"$python" "$source_dir/tools/art/check_bitmaps.py" || { echo "FAIL: bitmaps"; status=1; }
[ "$status" -eq 0 ] && echo "assets ok"
exit "$status"
