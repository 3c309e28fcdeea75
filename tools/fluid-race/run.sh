#!/bin/sh
# Runs the harness over modes x soundfonts x polyphonies, SECONDS each (default 30), one at a time,
# and prints each run's exit code; a crash leaves its log in $OUT (default /tmp/fluid-race/logs).
# usage: run.sh BIN "MODES" [SECONDS] [SEED]
bin=$1; modes=$2; seconds=${3:-30}; seed=${4:-1}
out=${OUT:-/tmp/fluid-race/logs}
mkdir -p "$out"
root=$(cd "$(dirname "$0")/../.." && pwd)
midi="$root/assets/music/Music01.mid $root/assets/music/Music02.mid $root/assets/music/Music03.mid"
for mode in $modes; do
  for font in /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2; do
    for poly in 4 16 256; do
      log="$out/$mode-$(basename "$font" .sf2)-$poly-$seed.log"
      nice -n 5 "$bin" "$mode" "$font" "$poly" "$seconds" "$seed" $midi >"$log" 2>&1
      echo "rc=$? $(tail -1 "$log")"
    done
  done
done
