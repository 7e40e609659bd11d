#!/usr/bin/env bash
# svq stats against SvqPeek, whole processes with hyperfine:
#   bench/SvqStatsBench.sh BUILD_DIR [RUNS]
# 65535 x 8 dictionary: svq stats vs SvqPeek -t (goal <= 1.0x); 2,000 small
# dictionaries: svq stats -f json vs SvqPeek once per file with xargs -P2 (goal >= 10x),
# -j 2 vs -j 1 (goal >= 1.6x); 500, 2,000 and 8,000 files (goal: linear); the peers
# on the PO export of the 65535 x 8 dictionary: msgfmt --statistics once per
# catalog (goal: svq stats below), and Translate Toolkit's pocount (the ratio).
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR [RUNS]}")
runs=${2:-5}
svq=$build/cli/svq
peek=$build/app/SvqPeek
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$build/bench/sv_stats_bench_data" "$data"
export LC_ALL=C.UTF-8
cd "$data"
hf() { hyperfine -N --warmup 1 --runs "$runs" --style basic "$@" 2>&1 | grep -v '^ *Range\|^$'; }
echo "== 65535 x 8"
hf -n "svq stats" "$svq stats big.svq" -n "SvqPeek -t" "$peek -t big.svq"
echo "== 65535 x 8 against its 7 PO catalogs"
"$svq" export -f po -o po big.svq
hf -n "svq stats" "$svq stats big.svq" \
  -n "msgfmt --statistics, 7 catalogs" "sh -c 'for f in po/*.po; do msgfmt --statistics -o /dev/null \$f 2>/dev/null; done'"
hyperfine --warmup 0 --runs 2 --style basic -n "svq stats" "$svq stats big.svq" \
  -n "pocount, 7 catalogs" "/usr/bin/python3 -m translate.tools.pocount po/*.po" 2>&1 | grep -v '^ *Range\|^$'
echo "== 2,000 dictionaries"
# SvqPeek over 2,000 files takes minutes a run: two runs.
hyperfine --warmup 0 --runs 2 --style basic \
  -n "svq stats -f json" "$svq stats -f json small-2000" \
  -n "SvqPeek per file, xargs -P2" "find small-2000 -name '*.svq' -print0 | xargs -0 -n1 -P2 $peek >/dev/null" \
  2>&1 | grep -v '^ *Range\|^$'
hf -n "svq stats -j 2" "$svq stats -f json -j 2 small-2000" -n "svq stats -j 1" "$svq stats -f json -j 1 small-2000"
echo "== 500, 2,000, 8,000 dictionaries (-j 2)"
hf "$svq stats -f json -j 2 small-500" "$svq stats -f json -j 2 small-2000" "$svq stats -f json -j 2 small-8000"
