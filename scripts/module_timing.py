"""The length of a row of the default module, read from its header.

The module runs at one speed and tempo throughout: a row is `speed` ticks of
2.5 / tempo seconds. The player renders a whole number of sound frames a
tick (the fraction dropped), so at 44100 Hz and tempo 120 a tick is 918
frames, not 918.75, and a row 5508 frames (0.12490 s) rather than 0.125 s.

    module_timing(build) -> (speed, tempo, row_frames, row_seconds)

reads wuntje.s3m from BUILD/vivur.pak with BUILD/vivur-pak. As a command,
`module_timing.py BUILD_DIR` prints those four figures on one line.
"""
import os
import subprocess
import sys
import tempfile

RATE = 44100
MODULE = "wuntje.s3m"


class TimingError(Exception):
    pass


def header_timing(header):
    """(speed, tempo) from the first 0x33 bytes of an S3M file."""
    if len(header) < 0x33 or header[0x2C:0x30] != b"SCRM":
        raise TimingError("not an S3M module")
    speed, tempo = header[0x31], header[0x32]
    if speed == 0 or tempo < 32:
        raise TimingError("speed %d, tempo %d: not a playable start" % (speed, tempo))
    return speed, tempo


def module_timing(build):
    archive = os.path.join(build, "vivur.pak")
    tool = os.path.join(build, "vivur-pak")
    with tempfile.TemporaryDirectory(prefix="module-timing.") as folder:
        try:
            run = subprocess.run([tool, "extract", archive, MODULE, "-C", folder], stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE, text=True)
        except OSError as e:
            raise TimingError("cannot run %s: %s" % (tool, e.strerror))
        if run.returncode != 0:
            raise TimingError("%s: cannot extract %s: %s" % (archive, MODULE, run.stderr.strip()))
        with open(os.path.join(folder, MODULE), "rb") as f:
            speed, tempo = header_timing(f.read(0x33))
    row_frames = speed * (RATE * 5 // (2 * tempo))
    return speed, tempo, row_frames, row_frames / RATE


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: module_timing.py BUILD_DIR")
    try:
        print("%d %d %d %.6f" % module_timing(sys.argv[1]))
    except TimingError as e:
        sys.exit("module_timing: %s" % e)
