#!/bin/bash
# Soak of the round scene under the sanitizers: whole matches of computer painters in every mode.
set -euo pipefail
BUILD=${1:?build dir}
BENCH="$BUILD/tintorix-bench"
cmake --build "$BUILD" --target tintorix-bench >/dev/null
for run in "single 8 1 11" "team 7 1 12" "ranking 6 1 13"; do
    read -r mode matches wins seed <<<"$run"
    echo "soak: $matches $mode matches"
    "$BENCH" --mode "$mode" --matches "$matches" --wins "$wins" --seed "$seed" | tail -n 1
done
