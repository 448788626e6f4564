"""Helper of live_sync.sh (run with Debian's /usr/bin/python3 and python3-numpy).

  live_sync.py now
      prints the monotonic clock in nanoseconds.
  live_sync.py record AUDIO STAMPS
      copies standard input (parec's raw output) to AUDIO and, for every read,
      appends (bytes so far, monotonic ns right after the read) to STAMPS as two
      little-endian 64-bit integers.
  live_sync.py analyse [options]
      measures live sync and the silent run after the sound server's death;
      prints the figures and exits 1 when a bound is broken (see --help).

Times are CLOCK_MONOTONIC throughout: Python's time.monotonic_ns(), and the
production's live millisecond clock (the trace's clock_ms column) is the same
clock truncated to 32 bits. LIVE_SYNC_CLOCK=raw makes every stamp here
CLOCK_MONOTONIC_RAW instead, the clock a program under Wine reads through its
performance counter (the two clocks differ by how far the time service has
slewed the system clock since boot, hundreds of milliseconds after days).
"""

import argparse
import csv
import os
import struct
import sys
import time
import wave

RATE = 44100
CLOCK = time.CLOCK_MONOTONIC_RAW if os.environ.get("LIVE_SYNC_CLOCK") == "raw" else time.CLOCK_MONOTONIC


def now_ns():
    return time.clock_gettime_ns(CLOCK)


def cmd_now(_args):
    print(now_ns())


def cmd_record(args):
    total = 0
    with open(args.audio, "wb") as audio, open(args.stamps, "wb") as stamps:
        while True:
            data = os.read(0, 1 << 16)
            stamp = now_ns()
            if not data:
                break
            audio.write(data)
            total += len(data)
            stamps.write(struct.pack("<qq", total, stamp))


class Failure(Exception):
    pass


def read_trace(path):
    """Trace lines as tuples (frame, position, step, clock_ms or None);
    position is (order, row)."""
    lines = []
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            clock = row.get("clock_ms")
            lines.append((int(row["frame"]), (int(row["order"]), int(row["row"])),
                          int(row["step"]) if row["step"] else 0,
                          int(clock) if clock else None))
    if not lines:
        raise Failure(f"{path} holds no frames")
    return lines


def row_starts(trace, step):
    """Music frame at which each position starts, counted from the music's
    start, from a headless trace at RATE/step frames a second: frame k's poll
    sees the position after k + 1 steps of sound, and the music starts after
    frame 0, one step in. A start is placed in the middle of its step."""
    starts = {}
    previous = None
    for frame, position, _, _ in trace:
        if frame > 0 and position != previous and position not in starts:
            starts[position] = frame * step + step // 2 - step
        previous = position
    return starts


def check_reference_trace(trace, starts, music_start):
    """The capture's trace must see every row change on the frame the table
    predicts (a frame holds music_start frames of sound): the table and the
    reference's music start agree. Returns the number of changes checked."""
    checked = 0
    previous = None
    for frame, position, _, _ in trace:
        if frame > 0 and position != previous and position in starts:
            start = starts[position]
            expected = start // music_start + 1
            near_edge = min(start % music_start, music_start - start % music_start) <= 45
            if frame != expected and not (near_edge and abs(frame - expected) == 1):
                raise Failure(f"the capture sees order {position[0]} row {position[1]} at frame {frame}, "
                              f"the row table says frame {expected}")
            checked += 1
        previous = position
    if checked < 10:
        raise Failure(f"the capture's trace shows only {checked} row changes")
    return checked


def read_wav(path, np):
    with wave.open(path, "rb") as w:
        if w.getframerate() != RATE or w.getnchannels() != 2 or w.getsampwidth() != 2:
            raise Failure(f"{path} is not {RATE} Hz 16-bit stereo")
        data = w.readframes(w.getnframes())
    return np.frombuffer(data, dtype="<i2").reshape(-1, 2)


def mono(frames, np):
    return frames.astype(np.float64).sum(axis=1)


def correlate(needle, haystack, np):
    """Normalised cross-correlation of needle at every offset in haystack."""
    n = len(needle) + len(haystack)
    size = 1 << (n - 1).bit_length()
    spectrum = np.fft.rfft(haystack, size) * np.conj(np.fft.rfft(needle, size))
    corr = np.fft.irfft(spectrum, size)[: len(haystack) - len(needle) + 1]
    # Divided by the energy of each stretch of haystack, so that a loud
    # passage does not outweigh the one that matches.
    energy = np.concatenate(([0.0], np.cumsum(haystack * haystack)))
    window_energy = energy[len(needle):] - energy[: len(energy) - len(needle)]
    return corr / np.sqrt(np.maximum(window_energy, 1e-9) * max(np.dot(needle, needle), 1e-9))


def first_lag(ref, rec, ref_start, rec_start, np):
    """The lag of the music's first second: the earliest place where the
    recording matches it, searched over the whole recording. Anything the
    device played before the music (a click, a stretch a stall skipped) would
    mislead a guess from the first sound alone; that guess stays the fallback."""
    needle = ref[ref_start: ref_start + RATE]
    if len(needle) < RATE or np.dot(needle, needle) < 1e6 or len(rec) < 2 * RATE:
        return rec_start - ref_start
    scores = correlate(needle, rec, np)
    good = np.nonzero(scores >= 0.99)[0]
    if len(good) == 0:
        return rec_start - ref_start
    return int(good[0]) - ref_start


def align_rows(reference, recording, frames, np, anchors):
    """Where each reference frame in frames (row starts, rising) lies in the
    recording, as lag = recorded frame - reference frame, or None where the
    recording does not show it. The live stream is the offline sound sample
    for sample, except where the device ran dry under load: the server then
    plays silence and drops what comes too late, so the lag moves by a few
    milliseconds either way. The music's first second gives a first guess
    (first_lag); then the stretch starting at each row start is
    searched by cross-correlation within half a second of the previous lag,
    taking the match nearest to it (a repeated bar matches as well elsewhere).
    anchors gives a new guess for some frames: after the server hung, the
    device skipped what it held back, and the program's report says where to
    look again."""
    ref, rec = mono(reference, np), mono(recording, np)
    ref_sound, rec_sound = np.nonzero(ref)[0], np.nonzero(rec)[0]
    if len(ref_sound) == 0 or len(rec_sound) == 0:
        raise Failure("the recording holds no sound" if len(ref_sound) else "the reference holds no sound")
    lag = first_guess = first_lag(ref, rec, int(ref_sound[0]), int(rec_sound[0]), np)
    width, slack = 4096, RATE // 2
    lags = {}
    inside = 0
    for frame in frames:
        lag = anchors.get(frame, lag)
        needle = ref[frame: frame + width]
        low = max(frame + lag - slack, 0)
        high = min(frame + lag + slack + width, len(rec))
        if len(needle) < width or frame + lag + width > len(rec) or np.dot(needle, needle) < 1e6:
            lags[frame] = None  # past either end, or silence
            continue
        inside += 1
        scores = correlate(needle, rec[low:high], np)
        good = np.nonzero(scores >= 0.99)[0]
        if len(good) == 0:
            lags[frame] = None  # a gap of the stream falls inside the stretch
            continue
        found = low + int(good[np.argmin(np.abs(low + good - frame - lag))]) - frame
        lags[frame] = lag = found
    matched = sum(1 for lag in lags.values() if lag is not None)
    if matched < inside // 2:
        raise Failure(f"only {matched} of {inside} row starts found in the recording (first guess: recorded "
                      f"frame = reference frame + {first_guess}; sound from recorded frame {int(rec_sound[0])} "
                      f"to {int(rec_sound[-1])} of {len(rec)})")
    return lags


def recording_clock(stamps, np):
    """Monotonic seconds at which recorded frame n reached the recorder:
    a + n * b, the line under the earliest arrivals of each half second of
    reads (reads come in late by scheduling, never early)."""
    frames = stamps[:, 0] / 4.0
    seconds = stamps[:, 1] / 1e9
    late = seconds - frames / RATE
    points_n, points_t = [], []
    bucket = ((seconds - seconds[0]) * 2).astype(int)
    for b in range(bucket.max() + 1):
        chosen = np.nonzero(bucket == b)[0]
        if len(chosen) == 0:
            continue
        i = chosen[np.argmin(late[chosen])]
        points_n.append(frames[i])
        points_t.append(seconds[i])
    if len(points_n) < 4:
        raise Failure("the recording is too short")
    b, a = np.polyfit(np.array(points_n), np.array(points_t), 1)
    return a, b


def unwrap_ms(clock_ms, near_ms):
    """The full monotonic millisecond whose low 32 bits are clock_ms, nearest near_ms."""
    return near_ms + ((clock_ms - near_ms + (1 << 31)) % (1 << 32)) - (1 << 31)


def cmd_analyse(args):
    try:
        import numpy as np
    except ImportError:
        print("live_sync: numpy is missing (Debian package python3-numpy)", file=sys.stderr)
        return 1
    with open(args.report or os.devnull, "w") as report:
        def say(text, table=False):
            if not table:
                print(text)
            report.write(text + "\n")

        try:
            failed = analyse(args, np, say)
        except Failure as failure:
            failed = [str(failure)]
        for text in failed:
            print(f"live_sync: {text}", file=sys.stderr)
            report.write(f"FAILED: {text}\n")
    return 1 if failed else 0


def analyse(args, np, say):
    """Reads everything, measures, and returns the list of broken bounds."""
    starts = row_starts(read_trace(args.rows), args.rows_step)
    music_start = round(RATE / args.reference_fps)
    checked = check_reference_trace(read_trace(args.reference_trace), starts, music_start)
    reference = read_wav(args.reference, np)
    recording = np.fromfile(args.recording, dtype="<i2")
    recording = recording[: len(recording) // 2 * 2].reshape(-1, 2)
    stamps = np.fromfile(args.stamps, dtype="<i8").reshape(-1, 2)
    if len(stamps) == 0:
        raise Failure("nothing was recorded")
    live = read_trace(args.live)
    if any(clock is None for _, _, _, clock in live):
        raise Failure(f"{args.live} has no clock_ms column")
    near_ms = int(stamps[0, 1] // 1000000)
    # A poll read clock_ms somewhere within that millisecond: its middle.
    times = [unwrap_ms(clock, near_ms) / 1000.0 + 0.0005 for _, _, _, clock in live]
    music = [starts.get(position) for _, position, _, _ in live]

    # The recording clock, in two pieces when the server hung: the recorder
    # hung with it, and the first half second after it went on is left out
    # (the server then hands over what it held in a burst).
    if args.stop_ns:
        before = stamps[stamps[:, 1] < args.stop_ns]
        after = stamps[(stamps[:, 1] > args.cont_ns + 500000000) & (stamps[:, 1] < args.kill_ns)]
        if len(before) == 0 or len(after) == 0:
            raise Failure("the recording does not reach both sides of the hang")
        pieces = [(0, before[-1, 0] / 4.0) + recording_clock(before, np),
                  (after[0, 0] / 4.0, float("inf")) + recording_clock(after, np)]
    else:
        pieces = [(0, float("inf")) + recording_clock(stamps, np)]
    anchors = {}
    if args.stop_ns:
        # The first row reported well after the hang: where the sink should
        # play it, if the program is in step again.
        low, high, a, b = pieces[1]
        for i in range(1, len(live)):
            if times[i] > args.cont_ns / 1e9 + 0.6 and music[i] is not None and live[i][1] != live[i - 1][1]:
                anchors[music_start + music[i]] = round((times[i] - a) / b) - music_start - music[i]
                break
    lags = align_rows(reference, recording, sorted(music_start + start for start in starts.values()), np, anchors)
    found = [lag for lag in lags.values() if lag is not None]
    say(f"reference: {len(starts)} rows from the headless trace, {checked} row changes of the capture agree")
    say(f"alignment: {len(found)} row starts found in the recording, recorded frame = reference frame + "
        f"{found[0]} at first, {min(found)}..{max(found)} in all")
    for _, _, a, b in pieces:
        say(f"recording clock: {1 / b:.1f} frames a second against the monotonic clock")

    # Recorded frame n reached the recorder at a + n b: the sink played it then.
    def played(n):
        for low, high, a, b in pieces:
            if low <= n < high:
                return a + n * b
        return None

    played_at = {frame: played(frame + lag) for frame, lag in lags.items() if lag is not None}
    return (check_sync(args, np, say, live, times, starts, music_start, played_at)
            + check_stall(args, say, live, times, music, log=args.live_log)
            + check_after_kill(args, np, say, live, times, music))


def check_sync(args, np, say, live, times, starts, music_start, played_at):
    """"Sink played the row start" minus "program reported the row" over every
    row change before the kill whose row start the recording shows."""
    kill_s = args.kill_ns / 1e9
    say("frame  order  row  reported_s  played_s  played-reported_ms", table=True)
    diffs = []
    hitches = unmatched = resumed = 0
    for i in range(1, len(live)):
        position = live[i][1]
        if live[i - 1][0] == 0 or position == live[i - 1][1] or position not in starts:
            continue
        reported = times[i]
        if reported > kill_s - 0.3:
            break
        if args.stop_ns and args.stop_ns / 1e9 - 0.05 <= reported <= args.cont_ns / 1e9 + 0.5:
            continue  # the program follows the clock, the sink plays nothing
        # After a late frame the report is late by the renderer, not the sound clock.
        if times[i] - times[i - 1] > args.hitch_ms / 1000.0:
            hitches += 1
            continue
        played = played_at.get(music_start + starts[position])
        if played is None:
            unmatched += 1
            continue
        diffs.append((played - reported) * 1000.0)
        if args.stop_ns and reported > args.cont_ns / 1e9:
            resumed += 1
        say(f"{live[i][0]:5d}  {position[0]:5d}  {position[1]:3d}  {reported:10.4f}  {played:8.4f}  {diffs[-1]:8.2f}",
            table=True)
    left_out = (f"left out: {hitches} changes after a frame longer than {args.hitch_ms:g} ms, "
                f"{unmatched} whose row start the recording does not show")
    if len(diffs) < args.min_rows:
        say(f"sync: {len(diffs)} row changes measured ({left_out})")
        return [f"only {len(diffs)} row changes measured, {args.min_rows} needed "
                "(a machine too busy to draw the frames in time leaves most out)"]
    median = float(np.percentile(diffs, 50))
    low, high = float(np.percentile(diffs, 2.5)), float(np.percentile(diffs, 97.5))
    say(f"sync: over {len(diffs)} row changes the sink played the row start a median {median:.1f} ms "
        f"after the program reported it, 95 % between {low:.1f} and {high:.1f} ms ({left_out})")
    failed = []
    if args.stop_ns:
        say(f"sync after the hang: {resumed} of those row changes")
        if resumed < args.min_rows // 3:
            failed.append(f"only {resumed} row changes measured after the hang, {args.min_rows // 3} needed")
    # Sound the server holds that the program cannot see makes the sink play
    # later by that much: the upper bounds move by it.
    unseen = args.unseen_ms
    if unseen:
        say(f"sync: the bounds' upper ends allow {unseen:.1f} ms the server holds unseen by the program")
    if not -args.median_ms <= median <= args.median_ms + unseen:
        failed.append(f"median {median:.1f} ms is outside -{args.median_ms:g}..{args.median_ms + unseen:g} ms")
    if low < -args.spread_ms or high > args.spread_ms + unseen:
        failed.append(f"central 95 % {low:.1f}..{high:.1f} ms leave -{args.spread_ms:g}..{args.spread_ms + unseen:g} ms")
    return failed


def check_stall(args, say, live, times, music, log):
    """While the server hung, the music position went on by the clock (once
    the stall was noticed, a quarter of a second in), and the production said
    so once."""
    if not args.stop_ns:
        return []
    stop_s, cont_s = args.stop_ns / 1e9, args.cont_ns / 1e9
    inside = [i for i in range(1, len(live)) if stop_s + 0.35 <= times[i] <= cont_s
              and music[i] is not None and live[i][1] != live[i - 1][1]]
    failed = []
    with open(log, errors="replace") as f:
        told = sum(1 for line in f if "sound output stalled" in line)
    if len(inside) < 2:
        return failed + [f"the music position stood still while the server hung ({len(inside)} row changes)"]
    span = times[inside[-1]] - times[inside[0]]
    moved = (music[inside[-1]] - music[inside[0]]) / RATE
    say(f"while the server hung ({cont_s - stop_s:.1f} s): {len(inside)} row changes, the music moved "
        f"{moved:.2f} s in {span:.2f} s; the production said it {told} time(s)")
    if span < 0.5 * (cont_s - stop_s - 0.35) or not 0.9 <= moved / span <= 1.1:
        failed.append(f"while the server hung the music moved {moved:.2f} s in {span:.2f} s")
    if told != 1:
        failed.append(f"the stall was told {told} times, once expected")
    return failed


def check_after_kill(args, np, say, live, times, music):
    """The music position keeps real time after the kill (a line through the
    music time minus the clock at every row change, whose rows start as they
    are reported) and never jumps against the clock between two polls, over
    the whole run from the music's first row change (around a hang, never
    backwards)."""
    kill_s = args.kill_ns / 1e9
    changes = [i for i in range(2, len(live)) if live[i][1] != live[i - 1][1] and music[i] is not None]
    if not changes:
        return ["the music position never moved"]
    largest = 0.0
    resume_jump = 0.0
    for i in range(changes[0], len(live)):
        if music[i] is not None and music[i - 1] is not None:
            jump = (music[i] - music[i - 1]) / RATE - (times[i] - times[i - 1])
            # When a hung server goes on, the null sink catches up on the time
            # it missed and takes that much sound at once: the heard position
            # leaps forward with it, and the picture follows. Only a step
            # backwards would be wrong there.
            if args.stop_ns and args.stop_ns / 1e9 <= times[i] <= args.cont_ns / 1e9 + 1.0:
                resume_jump = jump if abs(jump) > abs(resume_jump) else resume_jump
                continue
            largest = max(largest, abs(jump))
    after = [i for i in changes if times[i] >= kill_s + 0.5]
    span = times[after[-1]] - times[after[0]] if len(after) > 1 else 0.0
    if span < 10.0:
        return [f"the production showed row changes for only {span:.1f} s after the kill"]
    drift = 10.0 * float(np.polyfit([times[i] for i in after], [music[i] / RATE - times[i] for i in after], 1)[0])
    steps = [live[i][2] for i in after]
    say(f"after the kill: {len(after)} row changes over {span:.1f} s (steps {steps[0]}..{steps[-1]}), "
        f"music clock {drift * 1000:+.0f} ms per 10 s against real time, largest jump of the whole run "
        f"{largest * 1000:.0f} ms" + (f" (around the hang {resume_jump * 1000:+.0f} ms)" if args.stop_ns else ""))
    failed = []
    if resume_jump < -args.jump_s:
        failed.append(f"the music position steps back {-resume_jump:.3f} s when the hung server goes on")
    if abs(drift) > args.drift_s:
        failed.append(f"after the kill the music drifts {drift:+.3f} s per 10 s (at most {args.drift_s:g} s)")
    if largest > args.jump_s:
        failed.append(f"the music position jumps by {largest:.3f} s against real time (at most {args.jump_s:g} s)")
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("now").set_defaults(run=cmd_now)
    record = commands.add_parser("record")
    record.add_argument("audio")
    record.add_argument("stamps")
    record.set_defaults(run=cmd_record)
    analyse_parser = commands.add_parser("analyse")
    option = analyse_parser.add_argument
    option("--rows", required=True, help="headless trace at RATE/STEP frames a second (row table)")
    option("--rows-step", type=int, required=True, help="sound frames per frame of that trace")
    option("--reference", required=True, help="the capture's audio.wav")
    option("--reference-trace", required=True, help="the capture's trace")
    option("--reference-fps", type=int, default=60)
    option("--live", required=True, help="the live run's trace, with clock_ms")
    option("--recording", required=True, help="the recorded monitor, raw 16-bit stereo")
    option("--stamps", required=True, help="the recorder's stamps")
    option("--kill-ns", type=int, required=True, help="monotonic ns just before the server was killed")
    option("--report", help="file for the table of row changes and the figures")
    option("--live-log", help="what the live run printed (the stall notice)")
    option("--stop-ns", type=int, help="monotonic ns just before the server was stopped (SIGSTOP)")
    option("--cont-ns", type=int, help="monotonic ns just after it was continued (SIGCONT)")
    option("--min-rows", type=int, default=60)
    option("--hitch-ms", type=float, default=25.0, help="leave out changes after a frame longer than this")
    option("--median-ms", type=float, default=10.0)
    option("--spread-ms", type=float, default=17.0)
    option("--unseen-ms", type=float, default=0.0,
           help="latency the server adds that the program's driver cannot report (moves the upper bounds)")
    option("--drift-s", type=float, required=True, help="largest drift per 10 s after the kill (one row)")
    option("--jump-s", type=float, default=0.25)
    analyse_parser.set_defaults(run=cmd_analyse)
    args = parser.parse_args()
    sys.exit(args.run(args) or 0)


if __name__ == "__main__":
    main()
