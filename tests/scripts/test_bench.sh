#!/bin/bash
# The match bench: same arguments give the same matches and checksum; the scores are shares of a
# field that no painter can fill; bad arguments are refused.
set -u
BUILD=${1:?build dir}
BENCH="$BUILD/tintorix-bench"
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$BENCH" ] || fail "no bench at $BENCH"

run() { "$BENCH" "$@" || fail "bench $* exited with $?"; }
strip_timing() { sed -E 's/seconds=[^ ]+ fps=[^ ]+ p50_us=[^ ]+ p99_us=[^ ]+ //; /^correction /d'; }

first=$(run --seed 3 --matches 2 --wins 1) || exit 1
second=$(run --seed 3 --matches 2 --wins 1) || exit 1
[ "$(strip_timing <<<"$first")" = "$(strip_timing <<<"$second")" ] || fail "two runs with seed 3 differ"
other=$(run --seed 4 --matches 2 --wins 1) || exit 1
checksum() { grep -o 'checksum=[0-9a-f]*' <<<"$1"; }
[ "$(checksum "$first")" != "$(checksum "$other")" ] || fail "seeds 3 and 4 give the same checksum"

last=$(grep '^frames=' <<<"$first")
[[ "$last" =~ ^frames=[0-9]+\ seconds=[0-9.]+\ fps=[0-9]+\ p50_us=[0-9.]+\ p99_us=[0-9.]+\ checksum=[0-9a-f]{16}$ ]] \
    || fail "bad summary line: $last"
# What a correction of 8 frames costs, beside a plain frame of the same run.
grep -Eq '^correction frames=8 us=[0-9.]+ plain_frame_us=[0-9.]+$' <<<"$first" || fail "no correction line: $first"

# Every painter paints a real share; the unpaintable border keeps every round's total at 97 or less.
check_rounds() {
    local mode=$1 output=$2 rounds=0
    while IFS= read -r line; do
        [[ "$line" == frames=* || "$line" == correction* ]] && continue
        [[ "$line" =~ ^match=[0-9]+\ round=[0-9]+\ scores=([0-9]+),([0-9]+),([0-9]+),([0-9]+)\ winner=(-?[0-9]+)$ ]] \
            || fail "bad round line: $line"
        local a=${BASH_REMATCH[1]} b=${BASH_REMATCH[2]} c=${BASH_REMATCH[3]} d=${BASH_REMATCH[4]}
        local w=${BASH_REMATCH[5]}
        rounds=$((rounds + 1))
        case $mode in
        single | team)
            [ $((a + b + c + d)) -le 97 ] || fail "$mode round sums to more than 97: $line"
            for s in $a $b $c $d; do [ "$s" -ge 5 ] || fail "a painter with almost nothing: $line"; done
            ;;
        ranking)
            [ "$a" -ge 50 ] && [ "$a" -le 970 ] && [ $((b + c + d)) -eq 0 ] && [ "$w" -eq 0 ] \
                || fail "bad ranking round: $line"
            ;;
        esac
        if [ "$mode" = team ]; then
            [[ "$w" == -1 || "$w" == 0 || "$w" == 2 ]] || fail "team winner $w: $line"
        fi
    done <<<"$output"
    [ "$rounds" -gt 0 ] || fail "no rounds in $mode"
}
check_rounds single "$first"
check_rounds team "$(run --mode team --seed 9 --matches 1 --wins 1)"
check_rounds ranking "$(run --mode ranking --seed 9 --matches 2)"

# A refused command line: exit code 2 and one line on what is wrong.
for case in "--mode duel:--mode: duel is not" "--wins=4:--wins: 4 is not" "--wins 0:--wins: 0 is not" \
    "--seed -1:--seed: -1 is not" "--seed:--seed needs" "--speed 3:unknown option: --speed" \
    "--matches 1x:--matches: 1x is not" "--replay x --seed 1:--replay and --seed do not go" \
    "--mode ranking --record x:a ranking round is not recorded"; do
    args=${case%%:*}
    out=$("$BENCH" $args 2>/tmp/bench-usage.$$)
    status=$?
    [ $status -eq 2 ] || fail "'$args' exited with $status"
    [ -z "$out" ] || fail "'$args' printed on stdout"
    [ "$(wc -l </tmp/bench-usage.$$)" -eq 1 ] && grep -q "^tintorix-bench: ${case#*:}.*(try --help)$" \
        /tmp/bench-usage.$$ || fail "'$args' said: $(cat /tmp/bench-usage.$$)"
done
rm -f /tmp/bench-usage.$$
"$BENCH" --help | grep -q '^usage: tintorix-bench' || fail "--help gave no usage"
echo "bench ok"
