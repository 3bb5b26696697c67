#!/bin/sh
# Runs one fuzz target for a while with its dictionary and seed corpus.
#   fuzz/run_fuzz.sh BUILD_DIR TARGET SECONDS [more libFuzzer options]
# BUILD_DIR was configured with CC=clang CXX=clang++ -DLINVARA_BUILD_FUZZ=ON.
# New inputs go to BUILD_DIR/fuzz-corpus/TARGET; crashes to BUILD_DIR/fuzz-crashes/.
set -eu
[ $# -ge 3 ] || { echo "usage: $0 BUILD_DIR TARGET SECONDS [options]" >&2; exit 2; }
build=$1 target=$2 seconds=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../tests/data"
case "$target" in
  fuzz_property_list) real="$data/safari_bookmarks $data/chromium_bookmarks" ;;
  fuzz_binary_cookies) real="$data/safari_binarycookies" ;;
  *) real="" ;;
esac
corpus="$build/fuzz-corpus/$target"
mkdir -p "$corpus" "$build/fuzz-crashes"
dict=""
[ -f "$here/$target.dict" ] && dict="-dict=$here/$target.dict"
seeds=""
[ -d "$here/seeds/$target" ] && seeds="$here/seeds/$target"
# shellcheck disable=SC2086
exec "$build/fuzz/$target" $dict -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/fuzz-crashes/" -print_final_stats=1 "$@" "$corpus" $seeds $real
