#!/usr/bin/env bash
# What a headless host and its three joiners cost at 25 frames a second on loopback: each one's share of
# a core over SPAN seconds of a match (user and system time of /proc/PID/stat, and the finer run time of
# its threads' schedstat), with the load average beside it, since the machine may be shared.
#   tools/online-cpu.sh [build-dir] [span-seconds] [settle-seconds]
# Extra bench options for every computer may follow in ONLINE_CPU_OPTIONS (e.g. "--mode team"); with
# ONLINE_CPU_RELAY=1 the joiners reach the host through tests/scripts/udp_relay.py (100 ms each way, +-20 ms,
# 5 % lost).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
span=${2:-20}
settle=${3:-5}
bench="$build/tintorix-bench"
work=$(mktemp -d /tmp/tintorix-online-cpu-XXXXXX)
pids=()
relay=""
cleanup() {
    for pid in "${pids[@]}" $relay; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
read -r -a extra <<<"${ONLINE_CPU_OPTIONS:-}"
ticks=$(getconf CLK_TCK)

# A UDP port nobody holds on 127.0.0.1 now.
free_port() {
    python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)
join=$port

# Waits up to a minute for a line in a file.
await() {
    local end=$((SECONDS + 60))
    until grep -q "$2" "$1" 2>/dev/null; do
        [ "$SECONDS" -lt "$end" ] || { echo "nothing said $2 in $1: $(cat "$1")" >&2; exit 1; }
        sleep 0.05
    done
}

"$bench" --host "$port" --peers 3 --wins 1 --seed 7 --paced 1 "${extra[@]}" >"$work/host.out" 2>&1 &
pids+=($!)
await "$work/host.out" "^listening"
if [ "${ONLINE_CPU_RELAY:-0}" = 1 ]; then
    join=$(free_port)
    python3 "$(dirname "$0")/../tests/scripts/udp_relay.py" "$join" "$port" 100 20 0.05 1 >"$work/relay.out" 2>&1 &
    relay=$!
    await "$work/relay.out" "^relay"
fi
for n in 1 2 3; do
    "$bench" --join "127.0.0.1:$join" --seed $((20 + n)) --paced 1 >"$work/joiner$n.out" 2>&1 &
    pids+=($!)
done
for name in host joiner1 joiner2 joiner3; do
    await "$work/$name.out" "^playing"
done
sleep "$settle"

# Processor time so far in clock ticks (all threads), and in nanoseconds from the threads' schedstat.
stat_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
run_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f", sum}'; }
names=(host joiner1 joiner2 joiner3)
declare -a t0 n0
for i in 0 1 2 3; do
    t0[i]=$(stat_ticks "${pids[i]}")
    n0[i]=$(run_ns "${pids[i]}")
done
start=$(date +%s.%N)
sleep "$span"
end=$(date +%s.%N)
load=$(cut -d' ' -f1-3 /proc/loadavg)
for i in 0 1 2 3; do
    [ -e "/proc/${pids[i]}/stat" ] || { echo "${names[i]} ended before the span did" >&2; exit 1; }
    t1=$(stat_ticks "${pids[i]}")
    n1=$(run_ns "${pids[i]}")
    awk -v name="${names[i]}" -v t="$((t1 - t0[i]))" -v n="$((n1 - n0[i]))" -v hz="$ticks" -v s="$start" \
        -v e="$end" -v load="$load" 'BEGIN {
            span = e - s
            printf "%-8s %.2f %% of a core (%d ticks in %.1f s; run time %.3f %%, %.3f ms a second) load %s\n",
                name, 100 * t / hz / span, t, span, 100 * n / 1e9 / span, n / 1e6 / span, load
        }'
done
