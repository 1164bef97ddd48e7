#!/bin/sh
# Times every benchmark program with taviro-vbs, CPython 3 and Lua 5.4: the interpreters' own binaries
# (a launcher such as a pyenv shim is resolved to the interpreter it starts), RUNS runs each, the median
# of the processor time (user + system) each run took, and the ratios; then the geometric means of the ratios.
# Usage: bench/vbscript/run.sh [path/to/taviro-vbs]   (default: the Release build in build/bench)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
vbs=${1:-$root/build/bench/src/vbscript/runner/taviro-vbs}
runs=${RUNS:-5}
if [ ! -x "$vbs" ]; then
    echo "build taviro-vbs first: cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRO_TESTS=OFF" \
         "-DTAVIRO_BENCH=ON && cmake --build build/bench --target taviro-vbs" >&2
    exit 1
fi
python=$(python3 -c 'import sys; print(sys.executable)')
lua=$(readlink -f "$(command -v lua5.4)")

# Runs a command with its output on descriptor 3 and prints the processor time it took, in milliseconds.
measure='
import os, resource, subprocess, sys
before = resource.getrusage(resource.RUSAGE_CHILDREN)
subprocess.run(sys.argv[1:], stdout=os.fdopen(3, "w"), check=True)
after = resource.getrusage(resource.RUSAGE_CHILDREN)
used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
print(round(used * 1000))'

# The median processor time of one program over the runs, in milliseconds; fails when the output differs
# from the first interpreter's.
median_ms() {
    expected=$1
    shift
    times=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        output=$("$python" -c "$measure" "$@" 3> /tmp/taviro-bench-out.$$)
        if [ -n "$expected" ] && ! cmp -s /tmp/taviro-bench-out.$$ "$expected"; then
            echo "output of $* differs" >&2
            exit 1
        fi
        times="$times $output"
        i=$((i + 1))
    done
    echo $times | tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

printf '%-11s %9s %9s %9s %10s %10s\n' program vbs_ms python_ms lua_ms vbs/python vbs/lua
printf 'python: %s, lua: %s, %s runs each, median processor time\n' "$python" "$lua" "$runs" >&2
sum_python=0
sum_lua=0
count=0
for program in chars build textops fib loops methods dictionary arrays select host sort; do
    "$python" "$here/programs/$program.py" > /tmp/taviro-bench-expected.$$
    v=$(median_ms /tmp/taviro-bench-expected.$$ "$vbs" "$here/programs/$program.vbs")
    p=$(median_ms "" "$python" "$here/programs/$program.py")
    l=$(median_ms "" "$lua" "$here/programs/$program.lua")
    # Times below a millisecond count as one, so that a ratio always exists.
    [ "$v" -lt 1 ] && v=1; [ "$p" -lt 1 ] && p=1; [ "$l" -lt 1 ] && l=1
    printf '%-11s %9s %9s %9s %10s %10s\n' "$program" "$v" "$p" "$l" \
        "$(awk "BEGIN { printf \"%.2f\", $v / $p }")" "$(awk "BEGIN { printf \"%.2f\", $v / $l }")"
    sum_python=$(awk "BEGIN { print $sum_python + log($v / $p) }")
    sum_lua=$(awk "BEGIN { print $sum_lua + log($v / $l) }")
    count=$((count + 1))
done
rm -f /tmp/taviro-bench-out.$$ /tmp/taviro-bench-expected.$$
printf '%-11s %9s %9s %9s %10s %10s\n' "geomean" "" "" "" \
    "$(awk "BEGIN { printf \"%.2f\", exp($sum_python / $count) }")" "$(awk "BEGIN { printf \"%.2f\", exp($sum_lua / $count) }")"
