// The page of vivur in the browser: the browser's side of the platform
// services. It fetches the archive (or takes one dropped on the page), starts
// the program, fits the picture into the window, passes the keys on, feeds
// Web Audio with the sound the program renders, and shows errors and the end.
// Query words: headless, fps=N, frames=N, bench, json, integer-scale,
// audio-offset=MS, pak=URL, scriptprocessor (the fallback audio path).
"use strict";
(() => {
  const params = new URLSearchParams(location.search);
  const headless = params.has("headless");
  const bench = params.has("bench");
  const integerScale = params.has("integer-scale");
  const canvas = document.getElementById("screen");
  const stage = document.getElementById("stage");
  const startBox = document.getElementById("start");
  const againButton = document.getElementById("again");
  const errorBox = document.getElementById("error");
  const errorText = document.getElementById("error-text");
  const output = document.getElementById("output");
  const context2d = canvas.getContext("2d");
  const CHUNK = 1024;          // frames of sound per message to the audio worklet
  const AHEAD_SECONDS = 0.6;   // sound kept queued there: a stall of the page up to half a second is not heard
  const STALL_MS = 250;        // an audio clock standing this long while the page is visible has stalled

  // What tests read: the state, the frames' hashes of a headless run, the
  // downloads, the exit code and the first frame's time.
  const page = window.vivurPage = {
    state: "loading", started: false, exitCode: null, error: null, audioPath: null,
    hashes: [], framesShown: 0, pendingHashes: 0, firstFrameMs: null, downloads: 0,
    // Quanta the audio worklet played as silence for lack of sound, stalls
    // of the audio clock the page carried on through, and the sound queued.
    silentChunks: 0, audioStalls: 0, aheadMs: 0,
    // Tests: suspends the AudioContext and holds off the page's own resume for ms.
    suspendAudio: ms => {
      holdResumeUntil = performance.now() + ms;
      return audio ? audio.suspend() : null;
    },
    read: () => current && current._vivur_music_order ? {
      order: current._vivur_music_order(), row: current._vivur_music_row(),
      step: current._vivur_timeline_step(), frame: current._vivur_frame(),
      audioTime: audio ? audio.currentTime : null, audioState: audio ? audio.state : null,
    } : null,
  };
  let current = null;     // the running program
  let archive = null;     // the archive's bytes (null: none found)
  let inlineWasm = null;  // the WebAssembly's bytes, loaded by the page
  let audio = null;       // the AudioContext, made before the first gesture and resumed by it
  let worklet = false;    // the audio worklet module is loaded
  let pendingTab = null;  // a tab opened at F8, which the program then points at the web site
  let gain = null;         // volume and mute, after the program's sound
  let archiveName = "vivur.pak";  // where the archive came from: its file name or URL, for messages
  let holdResumeUntil = 0; // performance.now() before which the page does not resume a suspended context

  // ---- the picture ----

  // Fits the canvas into the window: the picture keeps 4:3 (each pixel 5
  // wide by 6 tall), as large as fits, or whole multiples with integer-scale.
  function fit() {
    const w = window.innerWidth, h = window.innerHeight;
    let width, height;
    if (integerScale) {
      const scale = Math.max(1, Math.floor(Math.min(w / 320, h / 240)));
      width = 320 * scale;
      height = 240 * scale;
    } else {
      width = Math.min(w, h * 4 / 3);
      height = width * 3 / 4;
    }
    canvas.style.width = Math.floor(width) + "px";
    canvas.style.height = Math.floor(height) + "px";
    // The page's texts scale with the picture.
    document.body.style.fontSize = Math.max(11, Math.min(32, Math.round(height / 30))) + "px";
  }
  window.addEventListener("resize", fit);
  document.addEventListener("fullscreenchange", fit);
  fit();

  let image = null;
  function show(rgba, width, height) {
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    if (!image || image.width !== width || image.height !== height)
      image = context2d.createImageData(width, height);
    image.data.set(rgba);
    context2d.putImageData(image, 0, 0);
    if (page.firstFrameMs === null)
      page.firstFrameMs = performance.now();
  }

  // A headless frame as the bytes of its screenshot: hashed for the tests.
  function frameShown(bytes) {
    const index = page.framesShown++;
    page.pendingHashes++;
    crypto.subtle.digest("SHA-256", bytes).then(digest => {
      page.hashes[index] = Array.from(new Uint8Array(digest), b => b.toString(16).padStart(2, "0")).join("");
      page.pendingHashes--;
    });
  }

  // ---- sound ----

  // The worklet plays the queued chunks one after the other and says when
  // each one begins, in frames of the audio clock; a dry queue plays silence.
  const workletSource = `
class VivurFeed extends AudioWorkletProcessor {
  constructor() {
    super();
    this.queue = [];
    this.offset = 0;
    this.feeding = false;  // sound has come and more is expected: a dry queue is a hole
    this.silent = 0;
    this.draining = false;
    this.port.onmessage = e => {
      const m = e.data;
      if (m.flush) {
        this.queue = [];
        this.offset = 0;
        this.feeding = false;
      } else if (m.drain) {
        this.draining = true;
      } else {
        this.queue.push(m);
        this.feeding = true;
      }
    };
  }
  process(inputs, outputs) {
    const out = outputs[0], n = out[0].length;
    let i = 0;
    while (i < n && this.queue.length) {
      const c = this.queue[0];
      if (this.offset === 0)
        this.port.postMessage({ours: c.start, clock: currentFrame + i});
      const take = Math.min(n - i, c.left.length - this.offset);
      out[0].set(c.left.subarray(this.offset, this.offset + take), i);
      out[1].set(c.right.subarray(this.offset, this.offset + take), i);
      i += take;
      this.offset += take;
      if (this.offset === c.left.length) {
        this.queue.shift();
        this.offset = 0;
      }
    }
    if (i < n && this.draining) {
      this.draining = this.feeding = false;
      this.port.postMessage({drained: true});
    } else if (i < n && this.feeding) {
      this.port.postMessage({silent: ++this.silent});
    }
    return true;
  }
}
registerProcessor("vivur-feed", VivurFeed);`;

  async function makeAudio() {
    try {
      audio = new AudioContext({latencyHint: "interactive"});
    } catch (e) {
      audio = null;  // no sound: the program plays on its no-sound clock
      return;
    }
    if (audio.audioWorklet && !params.has("scriptprocessor")) {
      // A data: URL, as a page opened from disk may not load a blob: one.
      const url = "data:application/javascript;base64," + btoa(workletSource);
      try {
        await audio.audioWorklet.addModule(url);
        worklet = true;
      } catch (e) {
        worklet = false;
      }
    }
  }

  // The program's output device: chunks go to the worklet (or are played by
  // a script processor), and every chunk's start on the audio clock is kept,
  // so the frame being heard can be told at any moment.
  //
  // When the audio clock stands still for STALL_MS while the page is
  // visible (the system suspended the context, the device went away), the
  // heard frame runs on by the page's clock from where it stood, and the
  // program's sound is rendered and dropped as that clock passes, so the
  // music position and the scenes keep moving; what was queued is dropped.
  // When the clock moves again the queue is filled afresh from there.
  function soundDevice(program) {
    let node = null;
    let next = 0;          // the program's frame the next chunk starts with
    let ahead = 0;         // chunks kept queued
    let closing = false;   // closed: nothing more is rendered
    let started = false;   // the output plays (before, a standing clock is no stall)
    const starts = [];     // {ours, clock}: where recent chunks began on the audio clock
    // The stall watch: the audio clock's latest value and when it last moved.
    let lastTime = -1, movedMs = 0;
    let stall = null;      // {frame, ms, time}: where the clock took over
    let resumeOurs = -1;   // after a stall, the first chunk queued afresh
    let latest = -1;       // the latest heard frame given out around a stall
    function render() {
      const at = program._vivur_web_audio_render(CHUNK) >> 1;
      const pcm = program.HEAP16.subarray(at, at + 2 * CHUNK);
      const left = new Float32Array(CHUNK), right = new Float32Array(CHUNK);
      for (let i = 0; i < CHUNK; ++i) {
        left[i] = pcm[2 * i] / 32768;
        right[i] = pcm[2 * i + 1] / 32768;
      }
      const chunk = {start: next, left, right};
      next += CHUNK;
      return chunk;
    }
    function feed(count) {
      for (let k = 0; k < count; ++k) {
        const c = render();
        node.port.postMessage(c, [c.left.buffer, c.right.buffer]);
      }
    }
    function began(start) {
      starts.push(start);
      if (starts.length > 4 * ahead)
        starts.shift();
    }
    // The frame at the speaker by the audio clock, or null before any chunk.
    function byAudioClock(offsetMs) {
      const rate = audio.sampleRate;
      let seconds = audio.currentTime - (audio.baseLatency || 0) - (audio.outputLatency || 0);
      const stamp = audio.getOutputTimestamp ? audio.getOutputTimestamp() : null;
      if (stamp && stamp.contextTime > 0 && stamp.performanceTime > 0)
        seconds = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
      const clock = seconds * rate - offsetMs * rate / 1000;
      for (let k = starts.length - 1; k >= 0; --k)
        if (starts[k].clock <= clock && starts[k].ours >= resumeOurs)
          return starts[k].ours + Math.min(clock - starts[k].clock, CHUNK);
      return null;
    }
    function tryResume() {
      if (audio.state !== "running" && performance.now() >= holdResumeUntil)
        audio.resume().catch(() => {});
    }
    return {
      open() {
        if (!audio)
          return 0;
        ahead = Math.ceil(AHEAD_SECONDS * audio.sampleRate / CHUNK);
        page.aheadMs = Math.round(ahead * CHUNK * 1000 / audio.sampleRate);
        if (worklet) {
          node = new AudioWorkletNode(audio, "vivur-feed", {numberOfInputs: 0, outputChannelCount: [2]});
          node.port.onmessage = e => {
            const m = e.data;
            if (m.silent !== undefined) {
              page.silentChunks = m.silent;
            } else if (m.drained) {
              node.disconnect();
              node = null;
            } else if (!closing) {
              began(m);
              if (!stall)
                feed(1);
            }
          };
          page.audioPath = "worklet";
        } else {
          node = audio.createScriptProcessor(CHUNK, 0, 2);
          node.onaudioprocess = e => {
            const c = render();
            began({ours: c.start, clock: Math.round(e.playbackTime * audio.sampleRate)});
            e.outputBuffer.getChannelData(0).set(c.left);
            e.outputBuffer.getChannelData(1).set(c.right);
          };
          page.audioPath = "scriptprocessor";
        }
        return audio.sampleRate;
      },
      start() {
        if (worklet)
          feed(ahead);
        node.connect(soundOutput());
        movedMs = performance.now();
        started = true;
      },
      // The program's frame at the speaker now: the audio clock at the
      // output (the browser's output timestamp, or its clock less the
      // latencies it reports), mapped through the chunk that began last
      // before it; offsetMs more latency puts it further back. Watches for a
      // stalled clock and carries on without it (see above).
      heard(offsetMs) {
        const now = performance.now(), rate = audio.sampleRate;
        if (audio.currentTime !== lastTime) {
          lastTime = audio.currentTime;
          movedMs = now;
        }
        if (!stall && started && !closing && worklet && node && now - movedMs > STALL_MS && document.visibilityState === "visible") {
          const frame = byAudioClock(offsetMs);
          stall = {frame: frame === null ? next - ahead * CHUNK : frame, ms: now, time: lastTime};
          node.port.postMessage({flush: true});
          page.audioStalls++;
          page.stalled = true;
          resumeNotice(true);
        }
        if (stall) {
          if (audio.state === "running" && audio.currentTime > stall.time && node) {
            // The clock runs again: sound from where the page's clock got to.
            stall = null;
            page.stalled = false;
            resumeNotice(false);
            resumeOurs = next;
            feed(ahead);
          } else {
            tryResume();
            const frame = Math.floor(stall.frame + (now - stall.ms) * rate / 1000);
            while (next < frame + CHUNK)
              render();  // dropped: the position, rate steps and slides go on
            return latest = Math.max(latest, frame);
          }
        }
        const frame = byAudioClock(offsetMs);
        if (frame === null)
          return latest >= 0 ? latest : (starts.length ? starts[0].ours - 1 : -1);
        return latest = Math.max(latest, frame);
      },
      stalls() { return page.audioStalls; },
      // Closing lets what is queued play out (the end's slide and fade are
      // in it), then lets go of the output; now stops it at once.
      close(now) {
        closing = true;
        if (!node)
          return;
        if (worklet && !now && !stall) {
          node.port.postMessage({drain: true});
          const draining = node;
          setTimeout(() => { if (node === draining) { draining.disconnect(); node = null; } },
                     AHEAD_SECONDS * 1000 + 1000);
          return;
        }
        node.disconnect();
        if (worklet)
          node.port.onmessage = null;
        else
          node.onaudioprocess = null;
        node = null;
      },
    };
  }

  // The offer to resume the sound: a browser may want a click for it.
  const resumeBox = document.getElementById("resume");
  function resumeNotice(on) {
    if (resumeBox)
      resumeBox.style.display = on ? "block" : "none";
  }
  if (resumeBox)
    resumeBox.addEventListener("click", () => {
      holdResumeUntil = 0;
      if (audio)
        audio.resume().catch(() => {});
    });

  // Volume and mute act on a gain node after the rendered sound, and are
  // kept for the next visit.
  const settings = (() => {
    try {
      return Object.assign({volume: 1, muted: false}, JSON.parse(localStorage.getItem("vivur-sound") || "{}"));
    } catch (e) {
      return {volume: 1, muted: false};
    }
  })();
  function soundOutput() {
    if (!gain) {
      gain = audio.createGain();
      gain.connect(audio.destination);
    }
    applyVolume();
    return gain;
  }
  function applyVolume() {
    if (gain)
      gain.gain.value = settings.muted ? 0 : settings.volume;
    page.gain = settings.muted ? 0 : settings.volume;
    try {
      localStorage.setItem("vivur-sound", JSON.stringify(settings));
    } catch (e) { /* private mode: not kept */ }
    muteButton.textContent = settings.muted ? "unmute" : "mute";
    volumeSlider.value = String(Math.round(settings.volume * 100));
  }

  // ---- the controls: shown on a mouse move or a touch, hidden after two idle seconds ----

  const bar = document.getElementById("controls");
  const muteButton = document.getElementById("mute");
  const volumeSlider = document.getElementById("volume");
  let idleTimer = 0;
  function showControls() {
    if (headless || bench || !page.started || page.state !== "running")
      return;
    bar.style.display = "flex";
    clearTimeout(idleTimer);
    idleTimer = setTimeout(() => { bar.style.display = "none"; }, 2000);
  }
  window.addEventListener("mousemove", showControls);
  window.addEventListener("touchstart", () => { if (page.started) showControls(); }, {passive: true});
  document.getElementById("full").addEventListener("click", () => toggleFullScreen());
  muteButton.addEventListener("click", () => { settings.muted = !settings.muted; applyVolume(); });
  volumeSlider.addEventListener("input", () => {
    settings.volume = Number(volumeSlider.value) / 100;
    settings.muted = false;
    applyVolume();
  });
  document.getElementById("shot").addEventListener("click", () => { if (current) current._vivur_web_key(112); });
  document.getElementById("end").addEventListener("click", () => { if (current) current._vivur_web_key(27); });
  for (const button of bar.querySelectorAll("button"))
    button.addEventListener("click", showControls);
  applyVolume();

  // ---- keys and full screen ----

  const keyCodes = {Escape: 27, F1: 112, F2: 113, F8: 119};

  // Full screen can only be asked for inside the key's own event, so the
  // page switches at the press; the program's own switch then finds it done.
  function toggleFullScreen() {
    if (document.fullscreenElement)
      document.exitFullscreen().catch(() => {});
    else if (stage.requestFullscreen)
      stage.requestFullscreen().catch(() => {});
  }

  window.addEventListener("keydown", e => {
    if (headless || bench)
      return;
    if (!page.started) {
      if (page.state !== "ended")
        start();
      e.preventDefault();
      return;
    }
    const code = keyCodes[e.key];
    if (!code || !current || page.state !== "running")
      return;
    e.preventDefault();
    if (e.repeat)
      return;  // one action per press: a held F1 downloads one picture
    if (code === 113)
      toggleFullScreen();
    if (code === 119) {
      if (document.fullscreenElement)
        document.exitFullscreen().catch(() => {});
      pendingTab = window.open("", "_blank");
    }
    current._vivur_web_key(code);
  });

  // ---- starting, ending, errors ----

  function start() {
    page.started = true;
    startBox.style.display = "none";
    if (audio)
      audio.resume().catch(() => {});
  }
  startBox.addEventListener("click", () => { if (!page.started) start(); });
  canvas.addEventListener("click", () => { if (!page.started && page.state !== "ended") start(); });

  // The program always reads "vivur.pak": its messages name the archive
  // where it came from instead. One heading: the caption is not repeated
  // in front of the text.
  function showError(caption, text) {
    let shown = text.replace(/\n+$/, "");
    if (archiveName !== "vivur.pak")
      shown = shown.split("vivur.pak").join(archiveName);
    page.error = shown;
    errorBox.querySelector("h2").textContent = caption;
    errorText.textContent = shown.startsWith(caption + ": ") ? shown.slice(caption.length + 2) : shown;
    errorBox.style.display = "block";
  }

  // After the end, play again; after an error of the archive, choose or
  // drop another one instead (the same one would only fail again).
  function ended(code) {
    page.exitCode = code;
    page.state = "ended";
    page.started = false;
    startBox.style.display = "none";
    bar.style.display = "none";
    if (headless || bench)
      return;
    if (page.error) {
      chooseBox.style.display = "block";
    } else {
      againButton.style.display = "inline-block";
    }
  }

  againButton.addEventListener("click", () => {
    againButton.style.display = "none";
    errorBox.style.display = "none";
    run();
    start();
  });

  // An archive dropped or chosen: before starting or after the end it
  // replaces the one there, and the page says which one will play; while
  // one plays, the page asks whether to start again with it.
  const chooseBox = document.getElementById("choose");
  const chooser = document.getElementById("chooser");
  const askBox = document.getElementById("ask");
  let offered = null;  // {name, bytes} waiting for the answer
  async function take(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (page.started && page.state === "running") {
      offered = {name: file.name, bytes};
      document.getElementById("ask-text").textContent = "start again with " + file.name + "?";
      askBox.style.display = "block";
      return;
    }
    use(file.name, bytes);
  }
  function use(name, bytes) {
    archive = bytes;
    archiveName = name;
    page.error = null;
    page.archiveName = name;
    errorBox.style.display = chooseBox.style.display = againButton.style.display = "none";
    page.started = false;
    run();
    startBox.style.display = "block";
    startBox.textContent = name + " will play: click or press a key to start";
  }
  document.getElementById("ask-yes").addEventListener("click", () => {
    askBox.style.display = "none";
    if (offered)
      use(offered.name, offered.bytes);
    offered = null;
  });
  document.getElementById("ask-no").addEventListener("click", () => {
    askBox.style.display = "none";
    offered = null;
  });
  document.getElementById("choose-button").addEventListener("click", () => chooser.click());
  chooser.addEventListener("change", () => { if (chooser.files[0]) take(chooser.files[0]); });
  window.addEventListener("dragover", e => e.preventDefault());
  window.addEventListener("drop", e => {
    e.preventDefault();
    const file = e.dataTransfer.files[0];
    if (file)
      take(file);
  });

  function commandLine() {
    if (bench)
      return params.has("json") ? ["--bench", "--json"] : ["--bench"];
    if (headless) {
      const words = ["--headless", "--fps=" + (params.get("fps") || "60")];
      if (params.get("frames"))
        words.push("--frames=" + params.get("frames"));
      return words;
    }
    const words = ["windowed"];
    if (params.get("audio-offset"))
      words.push("--audio-offset=" + params.get("audio-offset"));
    return words;
  }

  // Starts the program afresh (an earlier one is stopped where it waits).
  function run() {
    if (current) {
      current.vivurHalted = true;
      if (current.vivurSound)
        current.vivurSound.close(true);
    }
    page.state = "starting";
    page.exitCode = null;
    const program = {
      arguments: commandLine(),
      wasmBinary: inline ? inline.wasm : inlineWasm || undefined,
      vivurCanvas: canvas,
      print: text => {
        console.log(text);
        if (bench) {
          output.style.display = "block";
          output.textContent += text + "\n";
        }
      },
      printErr: text => console.error(text),
      preRun: [module => {
        if (archive)
          module.FS.writeFile("/vivur.pak", archive);
      }],
      onExit: code => { if (current === program) ended(code); },
      onAbort: what => { if (current === program) { showError("error", "the program stopped: " + what); ended(1); } },
      vivurShow: show,
      vivurFrameShown: frameShown,
      vivurShowError: showError,
      vivurOpenUrl: url => {
        if (pendingTab && !pendingTab.closed)
          pendingTab.location.href = url;
        else
          window.open(url, "_blank");
        pendingTab = null;
      },
      vivurSetFullScreen: () => {},
      vivurAudioOpen: () => {
        program.vivurSound = soundDevice(program);
        return program.vivurSound.open();
      },
      vivurAudioStart: () => program.vivurSound.start(),
      vivurAudioHeard: offsetMs => program.vivurSound.heard(offsetMs),
      vivurAudioStalls: () => program.vivurSound ? program.vivurSound.stalls() : 0,
      vivurAudioClose: () => program.vivurSound.close(),
    };
    current = program;
    createVivur(program).then(() => {
      if (current === program && page.state === "starting")
        page.state = "running";
    });
    if (!headless && !bench && !page.started && archiveName === "vivur.pak")
      startBox.textContent = "click or press a key to start";
  }

  // vivur.html holds the program and the archive: nothing to fetch.
  function decode(text) {
    const raw = atob(text), bytes = new Uint8Array(raw.length);
    for (let i = 0; i < raw.length; ++i)
      bytes[i] = raw.charCodeAt(i);
    return bytes;
  }
  const inline = window.vivurInline ? {wasm: decode(window.vivurInline.wasm), pak: decode(window.vivurInline.pak)}
                                    : null;

  async function main() {
    if (!inline && location.protocol === "file:") {
      // Browsers refuse this page's requests for its program and archive
      // from disk: say so instead of waiting.
      startBox.style.display = "none";
      showError("this page must be served",
                "Opened from disk, this page cannot load vivur.wasm and vivur.pak: browsers refuse it.\n" +
                "Serve its folder (scripts/web serve, or any web server), or open vivur.html, " +
                "which plays from disk.");
      page.state = "ended";
      return;
    }
    if (!headless && !bench)
      await makeAudio();
    else
      page.started = true;
    if (inline) {
      archive = inline.pak;
      if (headless || bench)
        startBox.style.display = "none";
      run();
      return;
    }
    // The archive and the WebAssembly load side by side, with a bar.
    const url = params.get("pak") || "vivur.pak";
    const where = new URL(url, location.href).href;
    archiveName = params.get("pak") ? url : "vivur.pak";
    let wasm = null;
    try {
      [archive, wasm] = await Promise.all([load(where), load(new URL("vivur.wasm", location.href).href)]);
    } catch (failure) {
      startBox.style.display = "none";
      archiveName = failure.url === where ? (params.get("pak") ? where : "vivur.pak") : archiveName;
      showError("error", "error: could not load " + failure.url + ": " + failure.reason);
      ended(1);
      return;
    }
    inlineWasm = wasm;
    if (headless || bench)
      startBox.style.display = "none";
    const script = document.createElement("script");
    script.src = "vivur.js";
    script.onload = run;
    script.onerror = () => showError("error", "error: could not load vivur.js");
    document.body.appendChild(script);
  }

  // Fetches url with its progress in the bar; throws {url, reason}.
  const loading = {};
  async function load(url) {
    let response;
    try {
      response = await fetch(url);
    } catch (e) {
      throw {url, reason: e.message || String(e)};
    }
    if (!response.ok)
      throw {url, reason: response.status + " " + response.statusText};
    const total = Number(response.headers.get("content-length")) || 0;
    loading[url] = {done: 0, total};
    if (!response.body)
      return new Uint8Array(await response.arrayBuffer());
    const reader = response.body.getReader(), parts = [];
    for (;;) {
      const {done, value} = await reader.read();
      if (done)
        break;
      parts.push(value);
      loading[url].done += value.length;
      progress();
    }
    const bytes = new Uint8Array(loading[url].done);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    return bytes;
  }
  function progress() {
    let done = 0, total = 0;
    for (const k in loading) {
      done += loading[k].done;
      total += loading[k].total;
    }
    const bar = document.getElementById("progress");
    if (bar && total > 0) {
      bar.style.display = "block";
      bar.firstElementChild.style.width = Math.min(100, 100 * done / total).toFixed(1) + "%";
      page.loaded = {done, total};
    }
  }

  // A headless run shows where it is and how it ended.
  if (headless) {
    const status = document.getElementById("status");
    const tick = setInterval(() => {
      const r = page.read();
      status.style.display = "block";
      if (page.state === "ended") {
        status.textContent = "headless run ended after " + page.framesShown + " frames, exit code " + page.exitCode;
        clearInterval(tick);
      } else if (r) {
        status.textContent = "headless run: frame " + r.frame + ", step " + r.step;
      }
    }, 250);
  }
  main();
})();
