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
  const CHUNK = 1024;  // frames of sound per message to the audio worklet
  const AHEAD = 4;     // chunks kept queued there (about 90 ms)

  // What tests read: the state, the frames' hashes of a headless run, the
  // downloads, the exit code and the first frame's time.
  const page = window.vivurPage = {
    state: "loading", started: false, exitCode: null, error: null, audioPath: null,
    hashes: [], framesShown: 0, pendingHashes: 0, firstFrameMs: null, downloads: 0,
    read: () => current && current._vivur_music_order ? {
      order: current._vivur_music_order(), row: current._vivur_music_row(),
      step: current._vivur_timeline_step(), frame: current._vivur_frame(),
      audioTime: audio ? audio.currentTime : null, audioState: audio ? audio.state : null,
    } : null,
  };
  let current = null;     // the running program
  let archive = null;     // the archive's bytes (null: none found)
  let audio = null;       // the AudioContext, made before the first gesture and resumed by it
  let worklet = false;    // the audio worklet module is loaded
  let pendingTab = null;  // a tab opened at F8, which the program then points at the web site

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
    this.port.onmessage = e => this.queue.push(e.data);
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
      const url = URL.createObjectURL(new Blob([workletSource], {type: "application/javascript"}));
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
  function soundDevice(program) {
    let node = null;
    let next = 0;          // the program's frame the next chunk starts with
    const starts = [];     // {ours, clock}: where recent chunks began on the audio clock
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
    function began(start) {
      starts.push(start);
      if (starts.length > 64)
        starts.shift();
    }
    return {
      open() {
        if (!audio)
          return 0;
        if (worklet) {
          node = new AudioWorkletNode(audio, "vivur-feed", {numberOfInputs: 0, outputChannelCount: [2]});
          node.port.onmessage = e => {
            began(e.data);
            const c = render();
            node.port.postMessage(c, [c.left.buffer, c.right.buffer]);
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
          for (let k = 0; k < AHEAD; ++k) {
            const c = render();
            node.port.postMessage(c, [c.left.buffer, c.right.buffer]);
          }
        node.connect(audio.destination);
      },
      // The program's frame at the speaker now: the audio clock at the
      // output (the browser's output timestamp, or its clock less the
      // latencies it reports), mapped through the chunk that began last
      // before it; offsetMs more latency puts it further back.
      heard(offsetMs) {
        const rate = audio.sampleRate;
        let seconds = audio.currentTime - (audio.baseLatency || 0) - (audio.outputLatency || 0);
        const stamp = audio.getOutputTimestamp ? audio.getOutputTimestamp() : null;
        if (stamp && stamp.contextTime > 0 && stamp.performanceTime > 0)
          seconds = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
        const clock = seconds * rate - offsetMs * rate / 1000;
        for (let k = starts.length - 1; k >= 0; --k)
          if (starts[k].clock <= clock)
            return starts[k].ours + Math.min(clock - starts[k].clock, CHUNK);
        return starts.length ? starts[0].ours - 1 : -1;
      },
      close() {
        if (!node)
          return;
        node.disconnect();
        if (worklet)
          node.port.onmessage = null;
        else
          node.onaudioprocess = null;
        node = null;
      },
    };
  }

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

  function showError(caption, text) {
    page.error = text;
    errorBox.querySelector("h2").textContent = caption;
    errorText.textContent = text;
    errorBox.style.display = "block";
  }

  function ended(code) {
    page.exitCode = code;
    page.state = "ended";
    page.started = false;
    startBox.style.display = "none";
    if (!headless && !bench)
      againButton.style.display = "inline-block";
  }

  againButton.addEventListener("click", () => {
    againButton.style.display = "none";
    errorBox.style.display = "none";
    run();
    start();
  });

  // Another archive dropped before starting replaces the one playing.
  window.addEventListener("dragover", e => e.preventDefault());
  window.addEventListener("drop", async e => {
    e.preventDefault();
    const file = e.dataTransfer.files[0];
    if (!file || page.started)
      return;
    archive = new Uint8Array(await file.arrayBuffer());
    run();
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
        current.vivurSound.close();
    }
    page.state = "starting";
    page.exitCode = null;
    const program = {
      arguments: commandLine(),
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
      vivurAudioClose: () => program.vivurSound.close(),
    };
    current = program;
    createVivur(program).then(() => {
      if (current === program && page.state === "starting")
        page.state = "running";
    });
    if (!headless && !bench && !page.started)
      startBox.textContent = "click or press a key to start";
  }

  async function main() {
    if (!headless && !bench)
      await makeAudio();
    else
      page.started = true;
    const url = params.get("pak") || "vivur.pak";
    try {
      const response = await fetch(url);
      if (response.ok)
        archive = new Uint8Array(await response.arrayBuffer());
      else
        console.error("vivur: " + url + ": " + response.status + " " + response.statusText);
    } catch (e) {
      console.error("vivur: " + url + ": " + e);
    }
    if (headless || bench)
      startBox.style.display = "none";
    const script = document.createElement("script");
    script.src = "vivur.js";
    script.onload = run;
    script.onerror = () => showError("error", "vivur.js could not be loaded");
    document.body.appendChild(script);
  }
  main();
})();
