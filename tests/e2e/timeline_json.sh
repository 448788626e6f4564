#!/usr/bin/env bash
# `vivur --timeline` prints only the timeline's table as one JSON document,
# needs no content, window or sound, and ends with 0. Its fields agree with
# each other: steps numbered from 1, each step's first order the mark of the
# nearest earlier order step, and each beat's rows those of its values under
# its restart rule. --help names the option.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
e2e_scratch
cd "$work"
"$build/vivur" --timeline >timeline.json 2>stderr.txt
[ ! -s stderr.txt ] || { echo "timeline_json: --timeline wrote to standard error" >&2; cat stderr.txt >&2; exit 1; }
"$build/vivur" --help | grep -q -- '--timeline' || { echo "timeline_json: --help does not name --timeline" >&2; exit 1; }
python3 - timeline.json <<'PY'
import json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
assert doc["zoom_cycle_ticks"] > 0
steps = doc["steps"]
assert [s["step"] for s in steps] == list(range(1, len(steps) + 1)), "steps not numbered 1.."
first = 0
for s in steps:
    assert s["end"] in ("order", "row", "zoom_wrap"), s
    assert isinstance(s["scene"], str) and (s["words"] is None or isinstance(s["words"], str)), s
    assert s["first_order"] == first, s
    if s["end"] == "order":
        first = s["mark"]
    beat = s["beat"]
    if beat is None:
        continue
    values = beat["values"]
    assert len(values) == 64, s
    if beat["restart"] == "switch":
        rows = [r for r in range(64) if values[r] != values[r - 1]]
    else:
        low, high = beat["restart"]
        rows = [r for r in range(64) if low <= values[r] <= high]
    assert beat["rows"] == rows, s
print("timeline_json: ok, %d steps" % len(steps))
PY
