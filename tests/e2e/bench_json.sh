#!/usr/bin/env bash
# The bench mode prints only a JSON document with every per-frame routine.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_need_content
out=$(cd "$build" && ./vivur --bench --json)
python3 - "$out" <<'PY'
import json, sys
doc = json.loads(sys.argv[1])
names = [s["scene"] for s in doc["scenes"]]
assert names == ["zoom", "warp", "words", "flicker", "pulse", "feedback", "blur"], names
assert doc["frame_copy_ms"] > 0 and doc["preparation_ms"] > 0
for s in doc["scenes"]:
    assert 0 < s["min_ms"] <= s["median_ms"] <= s["p99_ms"], s
    assert s["ratio_to_frame_copy"] > 0, s
print("bench_json: ok")
PY
