# shellcheck shell=bash
# check_trace FILE: checks a --trace file of a whole run. The fourteen steps
# follow each other in order, each one ends on the first frame whose polled
# music position meets its end mark, step 4 plays the zoom cycle out to its
# wrap (or for a whole cycle at most), and the run ends at row 30 or later of order 16. Prints "step first
# last" frame numbers of each step on success; fails with a message naming
# the frame otherwise.

check_trace() {
  awk -F, '
    function met(step, order, row) {
      if (step == 1) return order >= 1
      if (step == 2) return order >= 2
      if (step == 3) return row >= 43
      if (step == 5) return order >= 3
      if (step == 6) return order >= 5
      if (step == 7) return order >= 6
      if (step == 8) return order >= 8
      if (step == 9) return order >= 10
      if (step == 10) return order >= 11
      if (step == 11) return order >= 13
      if (step == 12) return order >= 15
      if (step == 13) return order >= 16
      if (step == 14) return row >= 30
    }
    function fail(text) { print "trace " FILENAME ": frame " frame ": " text > "/dev/stderr"; bad = 1; exit 1 }
    function mod4000(e) { return e - 4000 * int(e / 4000) }
    NR == 1 { next }
    {
      frame = $1; ticks[frame] = $2; order = $3; row = $4; step = $5
      if (frame != NR - 2) fail("frames not numbered in order")
      if (frame == 0) { if (step != "") fail("the black frame has a step"); next }
      if (step == "") fail("a frame outside the timeline")
      if (step != current) {
        if (step != current + 1) fail("step " step " follows step " current)
        if (current > 0) {
          if (current != 4 && !met(current, last_order, last_row)) fail("step " current " left before its end mark")
          last_frame[current] = frame - 1
        }
        current = step; first_frame[step] = frame
      } else if (current != 4 && met(current, last_order, last_row)) {
        fail("step " current " went on after its end mark")
      }
      last_order = order; last_row = row
    }
    END {
      if (bad) exit 1
      if (current != 14) { print "trace " FILENAME ": the run ended in step " current > "/dev/stderr"; exit 1 }
      if (!(last_order >= 16 && last_row >= 30)) { print "trace " FILENAME ": ended at order " last_order " row " last_row > "/dev/stderr"; exit 1 }
      last_frame[14] = frame
      # Step 4: the zoom cycle plays out; the frame drawn at time t uses
      # r = (t - zoom_start) mod 4000, zoom_start being the time after step 1.
      # Frame i is drawn at the time traced for frame i - 1. The step ends on
      # the frame whose r wraps below that of step 3 last frame, or on the
      # first frame a whole cycle after that one.
      zoom_start = ticks[last_frame[1]]
      t3 = ticks[last_frame[3] - 1]
      r3 = mod4000(t3 - zoom_start)
      for (i = first_frame[4]; i <= last_frame[4]; ++i) {
        r = mod4000(ticks[i - 1] - zoom_start)
        ends = r < r3 || ticks[i - 1] - t3 >= 4000
        if (i < last_frame[4] && ends) { print "trace " FILENAME ": step 4 went on past the wrap at frame " i > "/dev/stderr"; exit 1 }
        if (i == last_frame[4] && !ends) { print "trace " FILENAME ": step 4 ended before the wrap" > "/dev/stderr"; exit 1 }
      }
      for (s = 1; s <= 14; ++s) print s, first_frame[s], last_frame[s]
    }
  ' "$1"
}
