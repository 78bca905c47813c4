#!/usr/bin/env bash
# Runs each libFuzzer harness in turn, starting from its committed corpus.
# New corpus entries go to the build folder, so the committed corpus stays
# small; findings are written there too, and the harness stops at the first
# one. Copy a finding into tests/fuzz/crashers/<name>/ once it is fixed, so
# `make test` keeps it fixed.
#
#   scripts/fuzz.sh BUILD_DIR [SECONDS_EACH] [HARNESS...]
set -euo pipefail

build=${1:?build folder}
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : $# ))
root=$(cd "$(dirname "$0")/.." && pwd)
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    names=(profile_text asx m3u midi item_ids name_order leftover_name sort_journal)
fi

status=0
for name in "${names[@]}"; do
    work="$build/corpus/$name"
    findings="$build/findings/$name"
    mkdir -p "$work" "$findings"
    echo "== fuzz_$name for ${seconds}s"
    if ! "$build/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$root/tests/fuzz/corpus/$name"; then
        echo "fuzz_$name found a fault: see $findings" >&2
        status=1
    fi
done
exit $status
