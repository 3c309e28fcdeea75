#!/bin/bash
# Online matches on loopback through the headless bench: two and four computers, each with one scripted
# person, play whole matches to the same checksum, also through a relay that delays every datagram 100 ms
# with jitter and loses 5%; a computer that vanishes mid-match is played by the computer from the same
# frame on the others; the host leaving ends the match; online recordings replay offline to the same
# checksum; an IPv6 host is refused with a clear line.
set -u
BUILD=${1:?build dir}
SOURCE=${2:?source dir}
BENCH="$BUILD/tintorix-bench"
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$BENCH" ] || fail "no bench at $BENCH"
"$BENCH" --help 2>&1 | grep -q -- "--join" || { echo "built without ENet: skipped"; exit 77; }
work=$(mktemp -d /tmp/tintorix-online-XXXXXX)
pids=()
relays=()
slow=()
trap 'for p in "${relays[@]}" "${slow[@]}" "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
base=$((20000 + ($$ % 2000) * 10))
# Waits up to a minute of the clock for a line in a file: a relay or a host that listens. A loaded machine
# may take seconds to start a program.
await() {
    local end=$((SECONDS + 60))
    until grep -q "$2" "$1" 2>/dev/null; do
        [ "$SECONDS" -lt "$end" ] || fail "nothing said $2 in $1: $(cat "$1" 2>/dev/null)"
        sleep 0.05
    done
}

# play NAME PORT JOIN_PORT PEERS [host options] [-- joiner N options ...]: a host and its joiners, in the
# background; their outputs are NAME-host.out and NAME-N.out.
play() {
    local name=$1 port=$2 join=$3 peers=$4
    shift 4
    timeout 560 "$BENCH" --host "$port" --peers "$peers" --wins 1 --seed 7 "$@" >"$work/$name-host.out" 2>&1 &
    pids+=($!)
    await "$work/$name-host.out" "^listening"
    for n in $(seq 1 "$peers"); do
        local extra=()
        [ "$name" = killed ] && [ "$n" = 2 ] && extra=(--quit-at 800)
        [ "$name" = two ] && extra=(--record "$work/two-joiner.rep")
        timeout 560 "$BENCH" --join "127.0.0.1:$join" --seed $((20 + n)) "${extra[@]}" >"$work/$name-$n.out" 2>&1 &
        pids+=($!)
    done
}
checksum() { grep -o 'checksum=[0-9a-f]*' "$1"; }
same() {
    local name=$1 want
    shift
    want=$(checksum "$work/$name-host.out")
    [ -n "$want" ] || fail "$name: the host has no checksum: $(cat "$work/$name-host.out")"
    for n in "$@"; do
        [ "$(checksum "$work/$name-$n.out")" = "$want" ] || fail "$name: computer $n: $(tail -n 3 "$work/$name-$n.out")"
    done
}

relay() {
    python3 "$SOURCE/tests/scripts/udp_relay.py" "$1" "$2" 100 20 0.05 "$3" >"$work/relay-$1.out" &
    relays+=($!)
}
# The slow ones first: through the relay a match takes over a minute (a round trip of some 220 ms).
relay $((base + 1)) $((base + 0)) 1
relay $((base + 3)) $((base + 2)) 2
await "$work/relay-$((base + 1)).out" "^relay"
await "$work/relay-$((base + 3)).out" "^relay"
play relay-two $((base + 0)) $((base + 1)) 1
play relay-four $((base + 2)) $((base + 3)) 3
slow=("${pids[@]}")
pids=()
# A joiner that hears nothing for 3 s gives up: the handshakes through the poor line are done before the
# fast matches below take the processors.
await "$work/relay-two-host.out" "^playing"
await "$work/relay-four-host.out" "^playing"
play two $((base + 4)) $((base + 4)) 1 --record "$work/two-host.rep"
play four $((base + 5)) $((base + 5)) 3
play killed $((base + 6)) $((base + 6)) 2
timeout 200 "$BENCH" --host $((base + 7)) --peers 1 --wins 1 --quit-at 500 >"$work/left-host.out" 2>&1 &
await "$work/left-host.out" "^listening"
timeout 200 "$BENCH" --join "127.0.0.1:$((base + 7))" >"$work/left-1.out" 2>&1
wait "${pids[@]}"

same two 1
same four 1 2 3
for rep in two-host two-joiner; do
    out=$("$BENCH" --replay "$work/$rep.rep") || fail "$rep replay: $out"
    [ "$(grep -o 'checksum=[0-9a-f]*' <<<"$out")" = "$(checksum "$work/two-host.out")" ] || fail "$rep replay: $out"
done
same killed 1
# Whichever seat the vanished computer had, both others saw the computer take it over.
took=$(grep -o "computer-took-over=[23]" "$work/killed-host.out")
[ -n "$took" ] && grep -q "^$took\$" "$work/killed-1.out" && grep -q "the computer plays player ${took#*=} from frame" \
    "$work/killed-host.out" || fail "killed: $(cat "$work/killed-host.out" "$work/killed-1.out")"
grep -q "stopped=the host has left" "$work/left-1.out" || fail "host left: $(cat "$work/left-1.out")"

out=$(timeout 10 "$BENCH" --join "::1:$base" 2>&1)
[ $? -eq 1 ] && grep -q "IPv4 only" <<<"$out" || fail "an IPv6 host: $out"
if [ -x "$BUILD/tintorix" ]; then
    out=$(timeout 10 "$BUILD/tintorix" --join ::1 2>&1)
    [ $? -eq 1 ] && grep -q "IPv4 only" <<<"$out" || fail "the game with an IPv6 host: $out"
fi

wait "${slow[@]}"
same relay-two 1
same relay-four 1 2 3
grep -h "^online" "$work"/*-host.out
echo "online ok"
