#!/usr/bin/python3
"""The browser build in Debian's headless chromium, against the native build.

usage: web_test.py SITE_DIR NATIVE_BUILD_DIR SOURCE_DIR [TEST...]

Tests (all by default):
  golden  ?headless at 60 fps presents every frame of tests/golden_frames.txt
          with the native SHA-256; the whole run is timed against native.
  disk    vivur.html opened from disk: the same golden frames headless, and
          a live run after a key; the site's index.html from disk says it
          must be served.
  live    the real Web Audio clock: a key press starts the production, the
          music position follows the audio clock, the steps come in order,
          F1 downloads one 192018-byte screenshot per press, Escape ends in
          the "play again" state; a hidden tab draws nothing while the music
          plays on, and back in front the picture is where the music is;
          a 400 ms stall of the page plays no silence; a suspended
          AudioContext leaves the music running by the page's clock, with
          an offer to resume; F2 toggles full screen, F8 leaves it and
          opens the web site.
  errors  a garbage archive, a missing one and one with a picture of the
          wrong size show the native messages; an archive dropped on the
          waiting page is the one played.
  bench   ?bench against native --bench (figures only), the site's size and
          the time from opening the page to its first frame.
Prints one line per check and "N passed, N failed" at the end; the exit code
is 1 when any check failed."""
import functools
import http.server
import json
import os
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Browser  # noqa: E402

# Seconds a row of the default module, read from the native build's archive in main().
ROW_SECONDS = None


class Run:
    def __init__(self, site, native, source):
        self.site, self.native, self.source = site, native, source
        self.passed = self.failed = 0
        self.extra = tempfile.mkdtemp(prefix="vivur-web-")
        with open(os.path.join(self.extra, "garbage.pak"), "wb") as f:
            f.write(b"this is no archive at all, just a line of text\n" * 20)
        site_dir, extra_dir = site, self.extra

        class Handler(http.server.SimpleHTTPRequestHandler):
            def translate_path(self, path):
                local = http.server.SimpleHTTPRequestHandler.translate_path(self, path)
                name = os.path.relpath(local, os.getcwd())
                extra = os.path.join(extra_dir, os.path.basename(name))
                return extra if os.path.exists(extra) else os.path.join(site_dir, name)

            def log_message(self, *args):
                pass

        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.base = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def check(self, ok, text):
        print(("ok      " if ok else "FAILED  ") + text, flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        return ok

    def native_run(self, args, cwd=None):
        start = time.time()
        result = subprocess.run([os.path.join(self.native, "vivur"), *args], cwd=cwd, capture_output=True,
                                text=True, env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy"))
        return result, time.time() - start

    def page(self, query):
        browser = Browser()
        browser.open(self.base + "index.html" + query)
        return browser


def expected_frames(run):
    expected = {}
    for line in open(os.path.join(run.source, "tests", "golden_frames.txt")):
        if line.strip() and not line.startswith("#"):
            frame, digest = line.split()
            expected[int(frame)] = digest
    return expected


def headless_hashes(url):
    """Runs url (a ?headless page) to its end: (hashes, exit code, error, seconds), or None."""
    browser = Browser()
    try:
        started = time.time()
        browser.open(url)
        state = browser.wait_for("window.vivurPage && vivurPage.state === 'ended' && vivurPage.pendingHashes === 0 "
                                 "&& vivurPage.framesShown", 600, step=0.5)
        seconds = time.time() - started
        page = browser.eval("({hashes: vivurPage.hashes, code: vivurPage.exitCode, error: vivurPage.error})")
    finally:
        browser.close()
    return page, bool(state), seconds


def check_golden(run, label, page, state, expected):
    if not run.check(state, "%s: the headless page ran to its end (exit code %s, error %s)"
                     % (label, page["code"], page["error"])):
        return False
    hashes = page["hashes"]
    wrong = [f for f, d in sorted(expected.items()) if f >= len(hashes) or hashes[f] != d]
    run.check(not wrong, "%s: %d of %d listed frames match the native SHA-256%s"
              % (label, len(expected) - len(wrong), len(expected), (", differing: %s" % wrong) if wrong else ""))
    return run.check(len(hashes) > max(expected), "%s: %d frames presented" % (label, len(hashes)))


def golden(run):
    expected = expected_frames(run)
    native, native_seconds = run.native_run(["--headless", "--fps=60"], cwd=run.extra)
    page, state, seconds = headless_hashes(run.base + "index.html?headless&fps=60")
    if check_golden(run, "golden", page, state, expected):
        print("figure  headless whole production at 60 fps: browser %.1f s (page load to end), native %.1f s "
              "(exit code %d)" % (seconds, native_seconds, native.returncode))


def from_disk(run):
    """vivur.html opened as a file: the golden frames, headless, and a live
    run after a key; the site's index.html opened as a file says it must be
    served."""
    single = os.path.join(os.path.dirname(run.site), "vivur.html")
    if not run.check(os.path.exists(single), "disk: %s exists" % single):
        return
    size = os.path.getsize(single)
    run.check(size < 4.5e6, "disk: vivur.html is %.2f MB (under 4.5 MB)" % (size / 1e6))
    url = "file://" + single
    page, state, seconds = headless_hashes(url + "?headless&fps=60")
    if check_golden(run, "disk", page, state, expected_frames(run)):
        print("figure  headless whole production at 60 fps from vivur.html: %.1f s (page load to end)" % seconds)
    browser = Browser()
    try:
        opened = time.time()
        browser.open(url)
        ready = browser.wait_for("window.vivurPage && vivurPage.state === 'running'", 60)
        browser.key("Space")
        first = browser.wait_for("vivurPage.firstFrameMs !== null && vivurPage.read().order * 64 + "
                                 "vivurPage.read().row > 0", 20)
        print("figure  vivur.html from disk: %.1f s from opening to the music's first row" % (time.time() - opened))
        a = browser.eval("vivurPage.read()")
        browser.pump(3)
        b = browser.eval("vivurPage.read()")
        moved = ((b["order"] * 64 + b["row"]) - (a["order"] * 64 + a["row"])) * ROW_SECONDS
        run.check(bool(ready) and bool(first) and b["audioState"] == "running" and moved >= 2,
                  "disk: vivur.html plays live after a key (audio %s, music moved %.2f s in 3 s)"
                  % (b["audioState"], moved))
    finally:
        browser.close()
    browser = Browser()
    try:
        browser.open("file://" + os.path.join(run.site, "index.html"))
        said = browser.wait_for("window.vivurPage && vivurPage.error", 20)
        run.check(bool(said) and "scripts/web serve" in said and "vivur.html" in said
                  and browser.eval("document.getElementById('error').style.display") == "block",
                  "disk: the site's index.html from disk says it must be served (%r)" % said)
    finally:
        browser.close()


def live(run):
    browser = run.page("")
    try:
        ready = browser.wait_for("window.vivurPage && vivurPage.state === 'running'", 60)
        run.check(bool(ready), "live: the page is ready and waits for a key")
        shown = browser.eval("vivurPage.read()")
        run.check(shown is not None and shown["step"] == 1 and shown["order"] == 0,
                  "live: before the key the intro waits at order 0 (%s)" % json.dumps(shown))
        fitting(run, browser)
        browser.key("Space")
        samples = []
        deadline = time.time() + 18
        while time.time() < deadline:
            r = browser.eval("vivurPage.read()")
            if r:
                samples.append(r)
            browser.pump(0.25)
        run.check(samples and samples[-1]["audioState"] == "running",
                  "live: the AudioContext runs after the key (%s)" % (samples[-1]["audioState"] if samples else None))
        steps = [s["step"] for s in samples]
        run.check(steps == sorted(steps) and steps[-1] >= 3,
                  "live: the steps follow in order, reaching step %d" % steps[-1])
        # Over the sampled stretch after order 0 row 0 the music position
        # moves as far as the audio clock does, within two rows.
        moving = [s for s in samples if s["order"] * 64 + s["row"] > 0]
        if run.check(len(moving) > 8, "live: the music position advances (%d samples)" % len(moving)):
            a, b = moving[0], moving[-1]
            music = ((b["order"] * 64 + b["row"]) - (a["order"] * 64 + a["row"])) * ROW_SECONDS
            clock = b["audioTime"] - a["audioTime"]
            run.check(abs(music - clock) <= 2 * ROW_SECONDS,
                      "live: music moved %.2f s while the audio clock moved %.2f s" % (music, clock))
        hidden_tab(run, browser)
        stalls(run, browser)
        controls(run, browser)
        full_screen_keys(run, browser)
        browser.key("F1")
        browser.key("F1", repeats=5)
        browser.pump(2)
        done = browser.downloads_done()
        names = sorted(name for name, _ in done)
        sizes = sorted(os.path.getsize(path) for _, path in done)
        run.check(names == ["shot   0.tga", "shot   1.tga"] and sizes == [192018, 192018],
                  "live: two F1 presses (one held) download %s of %s bytes" % (names, sizes))
        browser.key("Escape")
        ended = browser.wait_for("vivurPage.state === 'ended' && "
                                 "document.getElementById('again').style.display !== 'none'", 15)
        run.check(bool(ended), "live: Escape slides the music down and ends in the play-again state (exit code %s)"
                  % browser.eval("vivurPage.exitCode"))
    finally:
        browser.close()


def fitting(run, browser, integer=False):
    """The picture keeps 4:3, centred and as large as the window allows (or
    whole multiples of 320 x 240), and re-fits when the window changes."""
    seen = []
    for width, height in ((1000, 500), (640, 900), (700, 530), (1300, 1000), (500, 400)):
        browser.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1,
                     mobile=False)
        browser.pump(0.3)
        r = browser.eval("(() => { const r = document.querySelector('canvas').getBoundingClientRect(); "
                         "return [r.left, r.top, r.width, r.height, "
                         "getComputedStyle(document.querySelector('canvas')).imageRendering]; })()")
        if integer:
            scale = max(1, min(width // 320, height // 240))
            want = (320 * scale, 240 * scale)
        else:
            fit = min(width, height * 4 / 3)
            want = (int(fit), int(fit * 3 / 4))
        centred = abs(r[0] * 2 + r[2] - width) <= 1 and abs(r[1] * 2 + r[3] - height) <= 1
        seen.append(((width, height), (r[2], r[3]), centred, r[4]))
        if (round(r[2]), round(r[3])) != want or not centred or r[4] != "pixelated":
            run.check(False, "fit: a %dx%d window shows the picture at %s, centred %s, %s (expected %s)"
                      % (width, height, r[2:4], centred, r[4], want))
            browser.call("Emulation.clearDeviceMetricsOverride")
            return
    browser.call("Emulation.clearDeviceMetricsOverride")
    run.check(True, "fit: the picture re-fits, centred and pixelated%s: %s" % (
        " in whole multiples" if integer else "", ", ".join("%dx%d window %dx%d" % (w[0], w[1], p[0], p[1])
                                                           for w, p, _, _ in seen)))


def hidden_tab(run, browser):
    """Another tab in front hides the page: no frames are drawn, the music
    plays on, and on return the picture jumps to where the music is."""
    def position(r):
        return (r["order"] * 64 + r["row"]) * ROW_SECONDS
    before = browser.eval("vivurPage.read()")
    other = browser.call("Target.createTarget", browser=True, url="about:blank")["targetId"]
    browser.call("Target.activateTarget", browser=True, targetId=other)
    browser.pump(0.5)
    hidden = browser.eval("[document.visibilityState, vivurPage.read()]")
    browser.pump(3)
    still = browser.eval("[document.visibilityState, vivurPage.read()]")
    browser.call("Target.closeTarget", browser=True, targetId=other)
    browser.pump(0.5)
    back = browser.eval("[document.visibilityState, vivurPage.read()]")
    run.check(hidden[0] == still[0] == "hidden" and back[0] == "visible"
              and still[1]["frame"] - hidden[1]["frame"] <= 1
              and still[1]["audioTime"] - hidden[1]["audioTime"] > 2.5,
              "live: a hidden tab draws no frames (%d to %d) while the audio clock runs %.2f s"
              % (hidden[1]["frame"], still[1]["frame"], still[1]["audioTime"] - hidden[1]["audioTime"]))
    music = position(back[1]) - position(before)
    clock = back[1]["audioTime"] - before["audioTime"]
    run.check(abs(music - clock) <= 2 * ROW_SECONDS,
              "live: back in front, the picture is where the music is: it moved %.2f s while the audio clock "
              "moved %.2f s" % (music, clock))


def stalls(run, browser):
    """The page's thread blocked for 400 ms: no sound goes missing, and the
    picture is where the music is afterwards. The AudioContext suspended
    (the page's own resume held off for 1.5 s): the music position runs on
    by the page's clock, the resume offer shows, and once resumed the
    position follows the audio clock again."""
    def position(r):
        return (r["order"] * 64 + r["row"]) * ROW_SECONDS
    before = browser.eval("[vivurPage.silentChunks, vivurPage.aheadMs, vivurPage.read()]")
    browser.eval("(() => { const t = performance.now(); while (performance.now() - t < 400); })()")
    browser.pump(1)
    after = browser.eval("[vivurPage.silentChunks, vivurPage.read()]")
    music = position(after[1]) - position(before[2])
    clock = after[1]["audioTime"] - before[2]["audioTime"]
    run.check(after[0] == before[0] and abs(music - clock) <= 2 * ROW_SECONDS,
              "live: a 400 ms stall of the page (%d ms of sound queued) plays no silence (%d quanta) and the "
              "music moved %.2f s while the audio clock moved %.2f s" % (before[1], after[0] - before[0], music, clock))
    start = browser.eval("vivurPage.suspendAudio(1500).then(() => vivurPage.read())")
    browser.pump(1.2)
    held = browser.eval("[vivurPage.read(), vivurPage.stalled === true, "
                        "document.getElementById('resume').style.display, vivurPage.audioStalls]")
    moved = position(held[0]) - position(start)
    run.check(held[0]["audioState"] == "suspended" and moved >= 0.6 and held[1] and held[2] == "block",
              "live: with the AudioContext suspended the music moved %.2f s in 1.2 s (state %s), the page "
              "offers to resume (%s)" % (moved, held[0]["audioState"], held[2]))
    resumed = browser.wait_for("vivurPage.read().audioState === 'running' && !vivurPage.stalled", 5)
    browser.pump(1)
    a = browser.eval("vivurPage.read()")
    browser.pump(2)
    b = browser.eval("vivurPage.read()")
    music, clock = position(b) - position(a), b["audioTime"] - a["audioTime"]
    run.check(bool(resumed) and abs(music - clock) <= 2 * ROW_SECONDS,
              "live: the page resumed the sound itself; then the music moved %.2f s while the audio clock moved "
              "%.2f s" % (music, clock))


def wrong_size_archive(run):
    """The default archive with its first picture replaced by one of 64 x 48."""
    tool = os.path.join(run.native, "vivur-pak")
    assets = tempfile.mkdtemp(prefix="vivur-assets-")
    subprocess.run([tool, "extract", os.path.join(run.site, "vivur.pak")], cwd=assets, check=True,
                   stdout=subprocess.DEVNULL)
    names = [line.split()[0] for line in subprocess.run(
        [tool, "list", os.path.join(run.site, "vivur.pak")], capture_output=True, text=True, check=True).stdout.split("\n")
        if line.strip()]
    picture = next(n for n in names if n.lower().endswith(".jpg"))
    subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "color=c=0x7f3fbf:s=64x48", "-frames:v", "1",
                    "-y", os.path.join(assets, picture)], check=True)
    subprocess.run([tool, "create", os.path.join(run.extra, "wrong-size.pak"), *names], cwd=assets, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["rm", "-rf", assets])


def controls(run, browser):
    """A mouse move shows the bar, two idle seconds hide it; mute and volume
    set the output gain; its full-screen button enters full screen."""
    browser.call("Input.dispatchMouseEvent", type="mouseMoved", x=200, y=150)
    browser.pump(0.3)
    shown = browser.eval("document.getElementById('controls').style.display")
    browser.pump(2.5)
    hidden = browser.eval("document.getElementById('controls').style.display")
    run.check(shown == "flex" and hidden == "none",
              "live: the controls show on a mouse move (%s) and hide after two idle seconds (%s)" % (shown, hidden))
    gains = [browser.eval("document.getElementById('mute').click(), vivurPage.gain"),
             browser.eval("document.getElementById('mute').click(), vivurPage.gain")]
    gains.append(browser.eval("(() => { const v = document.getElementById('volume'); v.value = '40'; "
                              "v.dispatchEvent(new Event('input')); return vivurPage.gain; })()"))
    browser.eval("(() => { const v = document.getElementById('volume'); v.value = '100'; "
                 "v.dispatchEvent(new Event('input')); })()")
    run.check(gains == [0, 1, 0.4], "live: mute, unmute and volume 40 give the output gains %s" % gains)
    browser.call("Input.dispatchMouseEvent", type="mouseMoved", x=200, y=150)
    browser.pump(0.2)
    box = browser.eval("(() => { const r = document.getElementById('full').getBoundingClientRect(); "
                       "return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    for kind in ("mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1], button="left", clickCount=1)
    browser.pump(0.7)
    full = browser.eval("document.fullscreenElement ? document.fullscreenElement.id : null")
    browser.eval("document.exitFullscreen().catch(() => {})")
    browser.pump(0.5)
    run.check(full == "stage", "live: the full-screen button gives full screen (%s)" % full)


def full_screen_keys(run, browser):
    """F2 enters and leaves full screen; F8 leaves it and opens the web site
    in a new tab while the production plays on."""
    def element():
        return browser.eval("document.fullscreenElement ? document.fullscreenElement.id : null")
    browser.call("Target.setDiscoverTargets", browser=True, discover=True)
    states = []
    for key in ("F2", "F2", "F2", "F8"):
        browser.key(key)
        browser.pump(0.7)
        states.append(element())
    browser.pump(1)
    tabs = {e["params"]["targetInfo"]["targetId"]: e["params"]["targetInfo"]["url"] for e in browser.events
            if e.get("method") in ("Target.targetCreated", "Target.targetInfoChanged")
            and e["params"]["targetInfo"]["type"] == "page" and e["params"]["targetInfo"]["targetId"] != browser.target}
    opened = sorted({url for url in tabs.values() if url.startswith(("http://", "https://"))})
    # Back to the production's tab for the keys that follow.
    for target in tabs:
        try:
            browser.call("Target.closeTarget", browser=True, targetId=target)
        except RuntimeError:
            pass  # closed already
    browser.call("Target.activateTarget", browser=True, targetId=browser.target)
    browser.pump(0.5)
    run.check(states[0] and not states[1] and states[2] and not states[3] and len(opened) == 1,
              "live: F2, F2, F2, F8 give full screen %s, and F8 opened %s"
              % (["on" if s else "off" for s in states], opened))


def errors(run):
    browser = run.page("?integer-scale")
    try:
        if browser.wait_for("window.vivurPage && vivurPage.state === 'running'", 60):
            fitting(run, browser, integer=True)
    finally:
        browser.close()
    wrong_size_archive(run)
    for name in ("garbage.pak", "missing.pak", "wrong-size.pak"):
        # The native program alone in a folder (so no archive lies beside it),
        # given the same archive as vivur.pak, or none.
        work = tempfile.mkdtemp(prefix="vivur-native-")
        subprocess.run(["cp", os.path.join(run.native, "vivur"), work], check=True)
        if os.path.exists(os.path.join(run.extra, name)):
            subprocess.run(["cp", os.path.join(run.extra, name), os.path.join(work, "vivur.pak")], check=True)
        native = subprocess.run(["./vivur", "--headless"], cwd=work, capture_output=True, text=True)
        subprocess.run(["rm", "-rf", work])
        message = [line for line in native.stderr.splitlines() if line.startswith("error: ")]
        browser = run.page("?pak=" + name)
        try:
            shown = browser.wait_for("vivurPage.state === 'ended' && vivurPage.error", 60)
            box = browser.eval("[document.querySelector('#error h2').textContent, "
                               "document.getElementById('error-text').textContent, "
                               "document.getElementById('choose').style.display, "
                               "document.getElementById('again').style.display]")
        finally:
            browser.close()
        # The page names the archive as it was given, and a failed download by its URL and status.
        if name == "missing.pak":
            expected = "error: could not load %smissing.pak: 404 File not found" % run.base
        else:
            expected = message[0].replace("vivur.pak", name) if message else None
        run.check(shown == expected and box[0] == "error" and not box[1].startswith("error")
                  and box[2] == "block" and box[3] != "inline-block",
                  "errors: %s shows %r under one heading and offers another archive (native: %r, box %r)"
                  % (name, shown, message[0] if message else None, box))
    # The same archive dropped on the waiting page replaces the default one.
    browser = run.page("")
    try:
        browser.wait_for("window.vivurPage && vivurPage.state === 'running'", 60)
        data = {"items": [], "files": [os.path.join(run.extra, "wrong-size.pak")], "dragOperationsMask": 1}
        for kind in ("dragEnter", "dragOver", "drop"):
            browser.call("Input.dispatchDragEvent", type=kind, x=100, y=100, data=data)
        shown = browser.wait_for("vivurPage.error", 30)
    finally:
        browser.close()
    run.check(bool(shown) and "picture" in shown and "64x48" in shown,
              "errors: wrong-size.pak dropped on the page before starting plays it: %r" % shown)
    # A good archive dropped while playing: the page asks before starting again.
    browser = run.page("")
    try:
        browser.wait_for("window.vivurPage && vivurPage.state === 'running'", 60)
        browser.key("Space")
        browser.pump(1)
        data = {"items": [], "files": [os.path.join(run.site, "vivur.pak")], "dragOperationsMask": 1}
        for kind in ("dragEnter", "dragOver", "drop"):
            browser.call("Input.dispatchDragEvent", type=kind, x=100, y=100, data=data)
        asked = browser.wait_for("document.getElementById('ask').style.display === 'block' && "
                                 "document.getElementById('ask-text').textContent", 10)
        browser.eval("document.getElementById('ask-yes').click()")
        told = browser.wait_for("vivurPage.state === 'running' && !vivurPage.started && "
                                "document.getElementById('start').textContent", 30)
    finally:
        browser.close()
    run.check(asked == "start again with vivur.pak?" and bool(told) and told.startswith("vivur.pak will play"),
              "errors: an archive dropped while playing asks first (%r), then says which will play (%r)"
              % (asked, told))


def bench(run):
    native, _ = run.native_run(["--bench", "--json"])
    browser = run.page("?bench&json")
    try:
        done = browser.wait_for("vivurPage.state === 'ended' && document.getElementById('output').textContent", 300,
                                step=0.5)
    finally:
        browser.close()
    try:
        web = json.loads(done)
        mine = json.loads(native.stdout)
    except (TypeError, ValueError):
        run.check(False, "bench: the page and the native program print their JSON")
        return
    run.check(True, "bench: the page prints the bench's JSON")
    natives = {s["scene"]: s["median_ms"] for s in mine["scenes"]}
    for scene in web["scenes"]:
        n = natives.get(scene["scene"], 0)
        print("figure  bench %-9s browser %.3f ms, native %.3f ms median (x%.2f)"
              % (scene["scene"], scene["median_ms"], n, scene["median_ms"] / n if n else 0))
    size = sum(os.path.getsize(os.path.join(run.site, f)) for f in os.listdir(run.site))
    print("figure  site folder %.2f MB: %s" % (size / 1e6, ", ".join(
        "%s %d KB" % (f, os.path.getsize(os.path.join(run.site, f)) // 1024) for f in sorted(os.listdir(run.site)))))
    browser = run.page("")
    try:
        first = browser.wait_for("window.vivurPage && vivurPage.firstFrameMs", 60)
    finally:
        browser.close()
    print("figure  opening the page to its first frame: %.0f ms" % (first or -1))


def main():
    site, native, source = sys.argv[1:4]
    chosen = sys.argv[4:] or ["golden", "disk", "live", "errors", "bench"]
    global ROW_SECONDS
    sys.dont_write_bytecode = True  # no __pycache__ in the source tree
    sys.path.insert(0, os.path.join(os.path.abspath(source), "scripts"))
    from module_timing import module_timing
    ROW_SECONDS = module_timing(os.path.abspath(native))[3]
    run = Run(os.path.abspath(site), os.path.abspath(native), os.path.abspath(source))
    tests = {"golden": golden, "disk": from_disk, "live": live, "errors": errors, "bench": bench}
    for name in chosen:
        try:
            tests[name](run)
        except Exception as e:  # a broken page or browser fails that test, not the rest
            run.check(False, "%s: %s: %s" % (name, type(e).__name__, e))
    run.server.shutdown()
    print("%d passed, %d failed" % (run.passed, run.failed))
    sys.exit(1 if run.failed else 0)


if __name__ == "__main__":
    main()
