# shellcheck shell=bash
# check_trace FILE TIMELINE: checks a --trace file of a whole run against the
# timeline's table (TIMELINE, the JSON of `vivur --timeline`). The steps follow
# each other in the table's order, each one ends on the first frame whose
# polled music position meets its end mark, the step that ends on the zoom's
# wrap plays the zoom cycle out to its wrap (or for a whole cycle at most), and
# the run ends on the last step's mark, in the order that step starts in.
# Prints "step first last" frame numbers of each step on success; fails with
# a message naming the frame otherwise.

# timeline_lines TIMELINE: the table as lines for awk: "cycle TICKS", then
# "step NUMBER END MARK FIRST_ORDER SCENE" for every step in order.
timeline_lines() {
  python3 - "$1" <<'PY'
import json, sys
try:
    table = json.load(open(sys.argv[1], encoding="utf-8"))
    print("cycle", table["zoom_cycle_ticks"])
    for s in table["steps"]:
        print("step", s["step"], s["end"], s["mark"], s["first_order"], s["scene"])
except (OSError, ValueError, KeyError, TypeError) as e:
    sys.exit("trace: cannot read the timeline %s: %s" % (sys.argv[1], e))
PY
}

# timeline_steps_ending TIMELINE END: the numbers of the steps whose end is END
# (order, row or zoom_wrap), one a line.
timeline_steps_ending() {
  timeline_lines "$1" | awk -v end="$2" '$1 == "step" && $3 == end { print $2 }'
}

check_trace() {
  local lines
  lines=$(timeline_lines "$2") || return 1
  awk -F, '
    function met(step, order, row) {
      if (end[step] == "order") return order >= mark[step]
      if (end[step] == "row") return row >= mark[step]
      return 0
    }
    function fail(text) { print "trace " FILENAME ": frame " frame ": " text > "/dev/stderr"; bad = 1; exit 1 }
    function mod(e) { return e - cycle * int(e / cycle) }
    FNR == NR {
      split($0, f, " ")
      if (f[1] == "cycle") cycle = f[2]
      if (f[1] == "step") {
        steps = f[2]; end[steps] = f[3]; mark[steps] = f[4]; first_order[steps] = f[5]
        if (f[3] == "zoom_wrap") wrap = steps
        if (f[6] == "zoom_image" && !zoom) zoom = steps
      }
      next
    }
    FNR == 1 { next }
    {
      frame = $1; ticks[frame] = $2; order = $3; row = $4; step = $5
      if (frame != FNR - 2) fail("frames not numbered in order")
      if (frame == 0) { if (step != "") fail("the black frame has a step"); next }
      if (step == "") fail("a frame outside the timeline")
      if (step != current) {
        if (step != current + 1) fail("step " step " follows step " current)
        if (current > 0) {
          if (current != wrap && !met(current, last_order, last_row)) fail("step " current " left before its end mark")
          last_frame[current] = frame - 1
        }
        current = step; first_frame[step] = frame
      } else if (current != wrap && met(current, last_order, last_row)) {
        fail("step " current " went on after its end mark")
      }
      last_order = order; last_row = row
    }
    END {
      if (bad) exit 1
      if (current != steps) { print "trace " FILENAME ": the run ended in step " current > "/dev/stderr"; exit 1 }
      if (!(last_order >= first_order[steps] && met(steps, last_order, last_row))) {
        print "trace " FILENAME ": ended at order " last_order " row " last_row > "/dev/stderr"; exit 1
      }
      last_frame[steps] = frame
      # The wrap step: the zoom cycle plays out; the frame drawn at time t uses
      # r = (t - zoom_start) mod cycle, zoom_start being the time after the
      # step before the first zoom. Frame i is drawn at the time traced for
      # frame i - 1. The step ends on the frame whose r wraps below that of
      # the previous step last frame, or on the first frame a whole cycle
      # after that one.
      if (wrap) {
        zoom_start = ticks[last_frame[zoom - 1]]
        t3 = ticks[last_frame[wrap - 1] - 1]
        r3 = mod(t3 - zoom_start)
        for (i = first_frame[wrap]; i <= last_frame[wrap]; ++i) {
          r = mod(ticks[i - 1] - zoom_start)
          ends = r < r3 || ticks[i - 1] - t3 >= cycle
          if (i < last_frame[wrap] && ends) { print "trace " FILENAME ": step " wrap " went on past the wrap at frame " i > "/dev/stderr"; exit 1 }
          if (i == last_frame[wrap] && !ends) { print "trace " FILENAME ": step " wrap " ended before the wrap" > "/dev/stderr"; exit 1 }
        }
      }
      for (s = 1; s <= steps; ++s) print s, first_frame[s], last_frame[s]
    }
  ' <(printf '%s\n' "$lines") "$1"
}

# check_zoom_beat FILE TIMELINE: the intro zoom keeps the beat. From a --trace
# file of a whole run, the frames of the zoom steps where the zoom factor
# jumps back (the cycle's timer units since the zoom's start wrap around) must
# each fall on a row that is a multiple of 8 after the row the zoom started
# on: eight rows to one cycle. Frame i is drawn with the timer and position
# traced for frame i - 1. Prints "frame rows-since-start" for each restart;
# fails naming the first one off the beat, or when fewer than 8 are seen.
check_zoom_beat() {
  python3 - "$1" "$2" <<'PY'
import json, sys
trace, table = sys.argv[1], json.load(open(sys.argv[2], encoding="utf-8"))
cycle = table["zoom_cycle_ticks"]
zoom = {s["step"] for s in table["steps"] if s["scene"] == "zoom_image"}
rows = []
with open(trace, encoding="utf-8") as f:
    next(f)
    for line in f:
        frame, ticks, order, row, step = line.strip().split(",")
        rows.append((int(frame), int(ticks), int(order) * 64 + int(row), int(step) if step else 0))
first = next(i for i, r in enumerate(rows) if r[3] in zoom)
start_ticks, start_row = rows[first - 1][1], rows[first - 1][2]
restarts = []
for i in range(first + 1, len(rows)):
    if rows[i][3] not in zoom:
        break
    if (rows[i - 1][1] - start_ticks) % cycle < (rows[i - 2][1] - start_ticks) % cycle:
        restarts.append((rows[i][0], rows[i - 1][2] - start_row))
for frame, since in restarts:
    print(frame, since)
off = [(f, n) for f, n in restarts if n % 8]
if off:
    sys.exit("trace %s: the zoom restarts at frame %d, %d rows after its start: not a multiple of 8" % (trace, *off[0]))
if len(restarts) < 8:
    sys.exit("trace %s: only %d zoom restarts seen" % (trace, len(restarts)))
PY
}
