"""Drives Debian's headless chromium over the DevTools protocol, through a
websocket from Debian's python3-websocket: open a page, press keys, read
JavaScript values, catch downloads, take screenshots. No browser is
downloaded: the system's /usr/bin/chromium runs with a fresh profile and
without its background network traffic."""
import base64
import json
import os
import shutil
import subprocess
import tempfile
import time

import websocket  # python3-websocket

CHROMIUM = "/usr/bin/chromium"
FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--disable-extensions", "--mute-audio",
]
KEYS = {  # name: (key, code, Windows virtual-key code)
    "Escape": ("Escape", "Escape", 27), "F1": ("F1", "F1", 112), "F2": ("F2", "F2", 113),
    "F8": ("F8", "F8", 119), "Space": (" ", "Space", 32),
}


class Browser:
    def __init__(self, timeout=30):
        self.profile = tempfile.mkdtemp(prefix="vivur-chromium-")
        self.downloads = tempfile.mkdtemp(prefix="vivur-downloads-")
        self.proc = subprocess.Popen(
            [CHROMIUM, *FLAGS, "--user-data-dir=" + self.profile, "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        # Chromium writes the port it chose and the browser's websocket path here.
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + timeout
        while not (os.path.exists(port_file) and len(open(port_file).read().split()) == 2):
            if time.time() > deadline or self.proc.poll() is not None:
                self.close()
                raise RuntimeError("chromium did not start")
            time.sleep(0.05)
        port, path = open(port_file).read().split()
        self.ws = websocket.create_connection("ws://127.0.0.1:%s%s" % (port, path), timeout=timeout,
                                              suppress_origin=True)
        self.next_id = 0
        self.events = []
        self.session = None
        self.console = []

    def call(self, method, browser=False, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not browser:
            message["sessionId"] = self.session
        self.ws.send(json.dumps(message))
        self.ws.settimeout(120)
        while True:
            reply = json.loads(self.ws.recv())
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError("%s: %s" % (method, reply["error"]))
                return reply.get("result", {})
            self._note(reply)

    def _note(self, event):
        if event.get("method") == "Runtime.consoleAPICalled":
            args = event["params"].get("args", [])
            self.console.append(" ".join(str(a.get("value", a.get("description", ""))) for a in args))
        else:
            self.events.append(event)

    def open(self, url):
        self.target = self.call("Target.createTarget", browser=True, url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", browser=True, targetId=self.target,
                                 flatten=True)["sessionId"]
        self.call("Browser.setDownloadBehavior", browser=True, behavior="allowAndName",
                  downloadPath=self.downloads, eventsEnabled=True)
        self.call("Page.enable")
        self.call("Runtime.enable")
        self.call("Page.navigate", url=url)

    def pump(self, seconds):
        """Collects events for a while (downloads, console lines)."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            self.ws.settimeout(max(0.01, deadline - time.time()))
            try:
                self._note(json.loads(self.ws.recv()))
            except websocket.WebSocketTimeoutException:
                pass

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(json.dumps(result["exceptionDetails"])[:500])
        return result["result"].get("value")

    def wait_for(self, expression, timeout, step=0.1):
        """Evaluates expression until it is true; returns its last value."""
        deadline = time.time() + timeout
        value = None
        while time.time() < deadline:
            try:
                value = self.eval(expression)
            except RuntimeError:
                value = None  # the page is still loading its script
            if value:
                return value
            self.pump(step)
        return value

    def key(self, name, repeats=0):
        key, code, vk = KEYS[name]
        common = dict(key=key, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)
        self.call("Input.dispatchKeyEvent", type="rawKeyDown", **common)
        for _ in range(repeats):
            self.call("Input.dispatchKeyEvent", type="rawKeyDown", autoRepeat=True, **common)
        self.call("Input.dispatchKeyEvent", type="keyUp", **common)

    def downloads_done(self):
        """(suggested file name, path) of every completed download so far."""
        names = {e["params"]["guid"]: e["params"]["suggestedFilename"]
                 for e in self.events if e.get("method") == "Browser.downloadWillBegin"}
        return [(names.get(e["params"]["guid"], "?"), os.path.join(self.downloads, e["params"]["guid"]))
                for e in self.events
                if e.get("method") == "Browser.downloadProgress" and e["params"]["state"] == "completed"]

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def close(self):
        try:
            self.call("Browser.close", browser=True)
        except Exception:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(self.proc.pid, 9)  # the browser and all its helper processes
            self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
        shutil.rmtree(self.downloads, ignore_errors=True)
