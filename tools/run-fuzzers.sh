#!/usr/bin/env bash
# Runs every fuzz target for a bounded time over a copy of its committed seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for pair in FuzzBitmap:bitmap FuzzWave:wave FuzzRegistry:registry FuzzRankLines:ranklines \
    FuzzMusicCommands:music FuzzNameEntry:nameentry FuzzRegistryFile:registryfile FuzzReplay:replay FuzzLockstep:lockstep \
    FuzzSession:session FuzzSettings:settings FuzzCommandLine:commandlines FuzzBenchCommandLine:commandlines FuzzReplayPlayback:playback; do
    target=${pair%%:*}
    corpus=${pair##*:}
    binary="$root/$build/fuzz/$target"
    [ -x "$binary" ] || { echo "skipping $target (not built)"; continue; }
    work="$root/fuzz/corpus-work/$corpus"
    mkdir -p "$work"
    echo "== $target for ${seconds}s"
    if ! "$binary" -max_total_time="$seconds" -max_len=65536 -artifact_prefix="$root/fuzz/corpus-work/$target-" \
        "$work" "$root/fuzz/corpus/$corpus" 2>"$work.log"; then
        echo "$target found a crash:"; tail -n 30 "$work.log"; status=1
    else
        tail -n 1 "$work.log"
    fi
done
exit $status
