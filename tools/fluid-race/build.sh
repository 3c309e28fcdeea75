#!/bin/sh
# Builds the race harness three ways into $1 (default /tmp/fluid-race): plain, ASan+UBSan, TSan.
set -e
out=${1:-/tmp/fluid-race}
mkdir -p "$out"
here=$(dirname "$0")
flags="-std=c++20 -O1 -g -Wall -Wextra $(pkg-config --cflags fluidsynth)"
libs="$(pkg-config --libs fluidsynth) -pthread"
c++ $flags "$here/race.cpp" -o "$out/race" $libs
c++ $flags -fsanitize=address,undefined -fno-omit-frame-pointer "$here/race.cpp" -o "$out/race-asan" $libs
c++ $flags -fsanitize=thread "$here/race.cpp" -o "$out/race-tsan" $libs
