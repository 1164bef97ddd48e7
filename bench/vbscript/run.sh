#!/bin/sh
# Runs every benchmark program with taviro-vbs, CPython 3 and Lua 5.4 and prints the times and ratios.
# Usage: bench/vbscript/run.sh [path/to/taviro-vbs]   (default: the Release build in build/vbs-release)
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
vbs=${1:-$root/build/vbs-release/src/vbscript/runner/taviro-vbs}
if [ ! -x "$vbs" ]; then
    echo "build taviro-vbs first: cmake -S . -B build/vbs-release -G Ninja -DCMAKE_BUILD_TYPE=Release && ninja -C build/vbs-release taviro-vbs" >&2
    exit 1
fi
seconds() {
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000000 ))
}
printf '%-10s %10s %10s %10s %12s %12s\n' program vbs_ms python_ms lua_ms vbs/python vbs/lua
for program in fib loops strings sort methods host; do
    v=$(seconds "$vbs" "$here/programs/$program.vbs")
    p=$(seconds python3 "$here/programs/$program.py")
    l=$(seconds lua5.4 "$here/programs/$program.lua")
    printf '%-10s %10s %10s %10s %12s %12s\n' "$program" "$v" "$p" "$l" \
        "$(awk "BEGIN { printf \"%.2f\", $v / $p }")" "$(awk "BEGIN { printf \"%.2f\", $v / $l }")"
done
