"""The browser behind the stand-in runtime's live mode: a headless Chromium and
the app's page in it, driven through the DevTools protocol. What the host asks
for arrives as operations from the stand-in; what the page does goes back to
it as events, and the host's answers (cancel a navigation, the response to a
request, ...) come back as operations."""
import asyncio
import base64
import itertools
import json
import os
import re
import shlex
import shutil
import signal
import urllib.parse

import cdp

CHROMIUM = os.environ.get("TESSARINE_CHROMIUM", "/usr/bin/chromium")
# Without the networking switches its connections are refused by the closed network.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         # The host decides about new windows; a popup blocker would decide first.
         "--disable-popup-blocking"]
BINDING = "__tessarineLive"
HOOKS = "globalThis[Symbol.for('tessarine.live')]"
# The hooks put in every document, read once (CONFIG and BINDING are filled in per install).
with open(os.path.join(os.path.dirname(__file__), "page_hooks.js"), encoding="utf-8") as hooks:
    PAGE_HOOKS = hooks.read()
# Resource contexts of the host's filters, by number, as the protocol names them (0: all).
CONTEXTS = [None, "Document", "Stylesheet", "Image", "Media", "Font", "Script", "XHR", "Fetch", "TextTrack",
            "EventSource", "WebSocket", "Manifest", "SignedExchange", "Ping", "CSPViolationReport", "Other"]
# Request sources of the host's filters, as the runtime numbers them; a plain filter holds documents only.
DOCUMENT, SHARED_WORKER, SERVICE_WORKER = 1, 2, 4
# The kind of ProcessFailed a crashed renderer raises.
RENDER_PROCESS_EXITED = 1
WORKER_SOURCES = {"shared_worker": SHARED_WORKER, "service_worker": SERVICE_WORKER}
# Page prompts the hooks forward, with the host's permission kind.
PERMISSION_KINDS = {"notifications": 4}
# Failures a live check asks for: when the page logs the text in the variable, the bridge crashes
# its renderer (Page.crash), kills the whole browser, or closes the host's window as the player would.
FAILURE_TRIGGERS = {name: os.environ.get(variable) for name, variable in (
    ("crash", "TESSARINE_LIVE_CRASH_ON"), ("kill", "TESSARINE_LIVE_KILL_ON"), ("close", "TESSARINE_LIVE_CLOSE_ON"))}
PERMISSION_STATES = {0: "prompt", 1: "granted", 2: "denied"}
# What the browser answers for a paused request or a session that no longer exists, and what a call
# gets when the browser itself went (its exit is told to the host on its own).
GONE = ("Invalid InterceptionId", "Session with given id not found",
        "Inspected target navigated or closed", cdp.CLOSED)


def browser_version():
    """The version number of the installed Chromium, or "" when there is none."""
    import subprocess
    try:
        banner = subprocess.run([CHROMIUM, "--version"], capture_output=True, text=True, timeout=30).stdout
    except OSError:
        return ""
    found = re.search(r"\b(\d+(?:\.\d+)+)\b", banner)
    return found.group(1) if found else ""


def wildcard(pattern):
    """The host's filter pattern ('*' any run, '?' one character) as a regular expression."""
    return re.compile("".join(".*" if c == "*" else "." if c == "?" else re.escape(c) for c in pattern), re.S)


def header_pairs(text):
    """'Name: value' lines, LF or CRLF between them; a line without a colon names no header."""
    pairs = []
    for line in re.split(r"\r?\n", text or ""):
        name, colon, value = line.partition(":")
        if colon and name.strip():
            pairs.append({"name": name.strip(), "value": value.strip()})
    return pairs


def folder_name(path):
    return path.rstrip("\\/").replace("/", "\\").rsplit("\\", 1)[-1]


def handle_object(slot):
    """A directory handle for the page: a plain object naming its kind, name and path."""
    if not isinstance(slot, dict):
        return None
    return {"kind": slot.get("kind"), "name": folder_name(slot.get("path", "")), "path": slot.get("path")}


def origin_of(url):
    parts = urllib.parse.urlsplit(url)
    return f"{parts.scheme}://{parts.netloc}"


class LivePage:
    def __init__(self, profile, send_event, console, keep_profile=False):
        self._profile = profile
        self._keep_profile = keep_profile  # what earlier runs saved stays
        self.judged = None  # the judge of a judged run (tools/play), told of what the page does
        self._send_event = send_event  # to the stand-in
        self._console = console  # one printed line per console message
        self._ids = itertools.count(1)
        self._process = None
        self._cdp = None
        self._session = None
        self._target = None
        self._main_frame = None
        self._url = "about:blank"
        self._title = "about:blank"
        self._contexts = {}  # execution context id: frame id, default worlds only
        self._filters = []  # (URI pattern, protocol resource type or None, request source kinds)
        self._workers = {}  # session id: request source of a service or shared worker we intercept for
        self._worker_scripts = {}  # session id: script URL of a shared worker whose script is not fetched yet
        self._waiting = {}  # id: what waits for the host's answer
        self._bodies = {}  # request id: (paused request, response head, base64 pieces)
        self._opened = []  # (URL, opened on a user gesture) of windows the page opened, oldest first
        self._attached = {}  # target id: future of its attach event
        self._settings = {}
        self._visible = True
        self._background = [255, 255, 255, 255]
        self._metrics = None  # the page's last size, as the host's bounds gave it
        self._crashed = False  # its renderer crashed: a reload needs a new page
        self._hooks_script = None
        self._events = asyncio.Queue()
        self._tasks = set()
        self._closing = False
        self._triggers = {text: name for name, text in FAILURE_TRIGGERS.items() if text}
        self._handling_events = False

    # Operations from the stand-in.

    def has_page(self):
        return self._session is not None

    async def start(self, arguments):
        if self._process is not None:
            self._forget_browser()
        self._prepare_profile()
        port_file = os.path.join(self._profile, "DevToolsActivePort")
        log = open(os.path.join(self._profile, "chromium.log"), "wb")
        command = [CHROMIUM, *FLAGS, f"--user-data-dir={self._profile}", "--remote-debugging-port=0",
                   *shlex.split(arguments or ""), "about:blank"]
        self._process = await asyncio.create_subprocess_exec(*command, stdin=asyncio.subprocess.DEVNULL,
                                                             stdout=log, stderr=log, start_new_session=True)
        for _ in range(400):
            if os.path.exists(port_file):
                lines = open(port_file).read().split()
                if len(lines) == 2:
                    break
            if self._process.returncode is not None:
                raise RuntimeError(f"chromium ended at once with code {self._process.returncode}")
            await asyncio.sleep(0.05)
        else:
            raise RuntimeError("chromium did not open its DevTools port in 20 s")
        self._cdp = await cdp.Connection.open(f"ws://127.0.0.1:{lines[0]}{lines[1]}", self._listen)
        if not self._handling_events:
            self._handling_events = True
            self._spawn(self._handle_events())
        self._spawn(self._watch_browser(self._process))
        # Every new target waits for us: the page before its first script, a popup before it loads, a shared
        # worker before it runs. Service workers come through the page instead (create_page).
        await self._cdp.call("Target.setAutoAttach", {
            "autoAttach": True, "waitForDebuggerOnStart": True, "flatten": True,
            "filter": [{"type": "service_worker", "exclude": True}, {"type": "browser", "exclude": True},
                       {"type": "tab", "exclude": True}, {}]})

    async def create_page(self, background):
        target = (await self._cdp.call("Target.createTarget", {"url": "about:blank"}))["targetId"]
        self._target = target
        self._background = background
        attached = await self._attached_event(target)
        self._session = attached["sessionId"]
        self._hooks_script = None  # scripts to evaluate on new documents are the session's own
        call = self._call
        for domain in ("Page", "Runtime", "Log", "Inspector"):
            await call(f"{domain}.enable")
        await call("Runtime.addBinding", {"name": BINDING})
        await self._install_hooks()
        self._main_frame = (await call("Page.getFrameTree"))["frameTree"]["frame"]["id"]
        await self._update_interception()
        # Only a service worker attached through its page is held before it fetches its script, so that
        # the script can be intercepted. Dedicated workers are held too, whatever the filter says: they
        # are let go at once and their requests stay the page's.
        await call("Target.setAutoAttach", {"autoAttach": True, "waitForDebuggerOnStart": True, "flatten": True,
                                            "filter": [{"type": "service_worker"}, {"type": "worker"},
                                                       {"exclude": True}]})
        a, r, g, b = background
        await call("Emulation.setDefaultBackgroundColorOverride", {"color": {"r": r, "g": g, "b": b, "a": a / 255}})
        # No one can click in a headless browser: let pages enter fullscreen without a gesture.
        await self._cdp.call("Browser.setPermission", {"permission": {"name": "fullscreen",
                                                                      "allowWithoutGesture": True},
                                                       "setting": "granted"})
        if self.judged:
            await self.judged.page_created(call)
        await call("Runtime.runIfWaitingForDebugger")

    async def navigate(self, uri, settings):
        self._settings = settings
        await self._call("Emulation.setScriptExecutionDisabled", {"value": not settings.get("IsScriptEnabled", True)})
        await self._install_hooks()
        self._spawn(self._call("Page.navigate", {"url": uri}))

    async def set_filters(self, filters):
        self._filters = [(f["uri"], CONTEXTS[f["context"]] if 0 < f["context"] < len(CONTEXTS) else None,
                          f.get("sourceKinds", DOCUMENT)) for f in filters]
        if self._session:
            await self._update_interception()
        for worker in list(self._workers):
            try:
                await self._intercept_worker(worker)
            except cdp.ProtocolError:
                pass  # it has just ended: the detach event forgets it

    async def set_bounds(self, width, height, scale, screen_width, screen_height):
        if width <= 0 or height <= 0 or not self._session:
            return  # a minimised window: the page keeps its last size
        self._metrics = {
            "width": round(width / scale), "height": round(height / scale), "deviceScaleFactor": scale,
            "mobile": False, "screenWidth": round(screen_width / scale), "screenHeight": round(screen_height / scale)}
        await self._call("Emulation.setDeviceMetricsOverride", self._metrics)

    async def set_visible(self, value):
        self._visible = value
        if self._session:
            await self._install_hooks()
            self._evaluate(f"{HOOKS}?.setVisible?.({json.dumps(value)})")

    def post(self, json_text, objects):
        handles = None if objects is None else [handle_object(slot) for slot in objects]
        self._evaluate(f"{HOOKS}?.deliver?.(JSON.parse({json.dumps(json_text)}), {json.dumps(handles)})")

    def answer(self, op, message):
        waiting = self._waiting.pop(message.get("id"), None)
        if waiting is None:
            return
        if op == "navigation":
            paused = waiting
            if message.get("cancel"):
                self._spawn(self._settle(paused, "Fetch.failRequest", {"errorReason": "Aborted"}))
            else:
                self._route(paused)
        elif op == "new-window":
            self._spawn(self._settle_popup(waiting, message.get("handled")))
        elif op == "permission":
            self._spawn(self._settle_prompt(waiting, PERMISSION_STATES.get(message.get("state"), "prompt")))

    def response(self, message):
        paused = self._waiting.pop(message.get("id"), None)
        if paused is None:
            return
        if message.get("none"):
            # No answer from the host: the request goes to the network, as with the real control.
            self._spawn(self._settle(paused, "Fetch.continueRequest"))
        elif message.get("body"):
            self._bodies[message["id"]] = (paused, message, [])
        else:
            self._fulfil(paused, message, [])

    def body(self, message):
        if message.get("id") in self._bodies:
            self._bodies[message["id"]][2].append(message["data"])

    def body_end(self, message):
        entry = self._bodies.pop(message.get("id"), None)
        if entry:
            self._fulfil(*entry)

    async def reload(self):
        if not self._crashed:
            await self._call("Page.reload")
            return
        # A crashed renderer takes the page's session with it: the page loads again in a new target, set up
        # as the first was, with the size and settings the host gave, and the crashed one goes.
        self._crashed = False
        crashed, url = self._target, self._url
        self._contexts.clear()
        await self.create_page(self._background)
        self._spawn(self._cdp.call("Target.closeTarget", {"targetId": crashed}))
        await self._call("Emulation.setScriptExecutionDisabled",
                         {"value": not self._settings.get("IsScriptEnabled", True)})
        if self._metrics:
            await self._call("Emulation.setDeviceMetricsOverride", self._metrics)
        self._spawn(self._call("Page.navigate", {"url": url}))

    async def screenshot(self, path):
        shot = await self._call("Page.captureScreenshot", {"format": "png"})
        with open(path, "wb") as file:
            file.write(base64.b64decode(shot["data"]))

    async def close(self):
        self._closing = True  # calls still under way fail now, and that is no news
        if self._cdp:
            try:
                await asyncio.wait_for(self._cdp.call("Browser.close"), 5)
            except (asyncio.TimeoutError, cdp.ProtocolError):
                pass
        if self._process and self._process.returncode is None:
            try:
                await asyncio.wait_for(self._process.wait(), 5)
            except asyncio.TimeoutError:
                os.killpg(self._process.pid, signal.SIGKILL)
                await self._process.wait()

    def command(self, method, params=None):
        """A protocol command in the page's session."""
        return self._call(method, params)

    # Failures on request, and what they leave behind.

    def _fail_on(self, text):
        failure = self._triggers.pop(text, None)
        if failure == "crash":
            self._spawn(self._call("Page.crash"))
        elif failure == "kill":
            os.killpg(self._process.pid, signal.SIGKILL)
        elif failure == "close":
            self._send_event({"ev": "close-window"})

    async def _watch_browser(self, process):
        await process.wait()
        if not self._closing and process is self._process:
            self._send_event({"ev": "browser-exited", "failed": process.returncode != 0})

    def _forget_browser(self):
        """A new browser after the last one died: nothing of the old one's page is kept."""
        self._session = self._target = self._main_frame = self._metrics = None
        self._crashed = False
        self._url, self._title = "about:blank", "about:blank"
        for table in (self._contexts, self._workers, self._worker_scripts, self._waiting, self._bodies,
                      self._attached):
            table.clear()
        self._opened.clear()

    # Helpers.

    def _prepare_profile(self):
        if not self._keep_profile:
            # A fresh profile every run: nothing carries over from an earlier one.
            shutil.rmtree(self._profile, ignore_errors=True)
        os.makedirs(self._profile, exist_ok=True)
        # An earlier run's port file would name a port that is gone.
        try:
            os.remove(os.path.join(self._profile, "DevToolsActivePort"))
        except FileNotFoundError:
            pass

    def _spawn(self, coroutine):
        """Runs a protocol call on its own; calls still go out in the order they are made."""
        task = asyncio.ensure_future(coroutine)
        self._tasks.add(task)
        task.add_done_callback(self._finished)

    def _finished(self, task):
        self._tasks.discard(task)
        error = None if task.cancelled() else task.exception()
        # A request the page gave up on (it navigated away) has gone from the browser too, and so has
        # one of a worker that ended.
        if error and not self._closing and not any(gone in str(error) for gone in GONE):
            self._console("bridge", f"{error}")

    def _call(self, method, params=None, body=None):
        return self._cdp.call(method, params, self._session, body)

    def _settle(self, paused, method, params=None, body=None):
        """Answers a paused request in the session it was paused in."""
        return self._cdp.call(method, {"requestId": paused["requestId"], **(params or {})},
                              paused.get("session", self._session), body)

    def _evaluate(self, expression):
        self._spawn(self._call("Runtime.evaluate", {"expression": expression}))

    async def _attached_event(self, target):
        if target not in self._attached:
            self._attached[target] = asyncio.get_running_loop().create_future()
        return await self._attached[target]

    async def _install_hooks(self):
        config = {"webMessages": self._settings.get("IsWebMessageEnabled", True), "visible": self._visible}
        source = PAGE_HOOKS.replace("BINDING", json.dumps(BINDING)).replace("CONFIG", json.dumps(config))
        if self._hooks_script:
            await self._call("Page.removeScriptToEvaluateOnNewDocument", {"identifier": self._hooks_script})
        self._hooks_script = (await self._call("Page.addScriptToEvaluateOnNewDocument",
                                               {"source": source}))["identifier"]

    def _filter_patterns(self):
        patterns = []
        for uri, kind, _ in self._filters:
            # The same wildcards, but a backslash escapes in the protocol's patterns.
            pattern = {"urlPattern": uri.replace("\\", "\\\\"), "requestStage": "Request"}
            if kind:
                pattern["resourceType"] = kind
            patterns.append(pattern)
        return patterns

    async def _update_interception(self):
        # Every top-level document passes by the host's NavigationStarting first.
        patterns = [{"urlPattern": "*", "resourceType": "Document", "requestStage": "Request"}]
        await self._call("Fetch.enable", {"patterns": patterns + self._filter_patterns()})

    async def _intercept_worker(self, session):
        # Every filter's requests are paused, whatever its source kinds: _route lets go of the ones
        # it does not cover, as for the page.
        patterns = self._filter_patterns()
        await self._cdp.call("Fetch.enable" if patterns else "Fetch.disable",
                             {"patterns": patterns} if patterns else {}, session)

    def _filtered(self, url, resource_type, source):
        return any(wildcard(uri).fullmatch(url) and kind in (None, resource_type) and sources & source
                   for uri, kind, sources in self._filters)

    def _page_source(self, paused):
        """Who made a request paused in the page: a shared worker's script is fetched through the page
        that started the worker, just after the worker has been attached."""
        url = paused["request"]["url"]
        if paused.get("resourceType") == "Other":
            for worker, script in self._worker_scripts.items():
                if script == url:
                    del self._worker_scripts[worker]
                    return SHARED_WORKER
        return DOCUMENT

    def _route(self, paused, source=DOCUMENT):
        request = paused["request"]
        url = request["url"]
        if not self._filtered(url, paused.get("resourceType"), source):
            # Not the host's: it goes to the network (there is none), as with the real control.
            self._spawn(self._settle(paused, "Fetch.continueRequest"))
            return
        event_id = next(self._ids)
        self._waiting[event_id] = paused
        context = CONTEXTS.index(paused["resourceType"]) if paused.get("resourceType") in CONTEXTS else 16
        headers = [[name, value] for name, value in request.get("headers", {}).items()]
        self._send_event({"ev": "request", "id": event_id, "method": request["method"], "uri": url,
                          "headers": headers, "context": context, "source": source})

    def _fulfil(self, paused, head, pieces):
        params = {"responseCode": head["status"],
                  "responseHeaders": header_pairs(head.get("headers"))}
        if head.get("reason"):
            params["responsePhrase"] = head["reason"]
        if self.judged:
            self.judged.response(paused["request"]["url"], head["status"], head.get("reason", ""))
        self._spawn(self._settle(paused, "Fetch.fulfillRequest", params, body=pieces))

    async def _settle_popup(self, popup, handled):
        session = popup["sessionId"]
        if handled:
            # Hold back everything it would load, let it run and close it: nothing is opened.
            await self._cdp.call("Fetch.enable", {"patterns": [{"urlPattern": "*"}]}, session)
            await self._cdp.call("Runtime.runIfWaitingForDebugger", {}, session)
            await self._cdp.call("Target.closeTarget", {"targetId": popup["targetInfo"]["targetId"]})
        else:
            await self._cdp.call("Runtime.runIfWaitingForDebugger", {}, session)

    async def _settle_prompt(self, prompt, setting):
        await self._cdp.call("Browser.setPermission", {"permission": {"name": prompt["name"]}, "setting": setting,
                                                       "origin": origin_of(self._url)})
        self._evaluate(f"{HOOKS}?.answer?.({json.dumps(prompt['id'])})")

    # Events from the browser, handled one at a time in the order they came.

    def _listen(self, method, params, session):
        self._events.put_nowait((method, params, session))

    async def _handle_events(self):
        while True:
            method, params, session = await self._events.get()
            try:
                await self._on_event(method, params, session)
            except Exception as error:  # one bad event must not stop the page
                self._console("bridge", f"{method}: {error}")

    async def _on_event(self, method, params, session):
        if method == "Target.attachedToTarget":
            return await self._on_attached(params, session)
        if method == "Target.detachedFromTarget":
            self._workers.pop(params.get("sessionId"), None)
            self._worker_scripts.pop(params.get("sessionId"), None)
            return
        if method == "Fetch.requestPaused" and session in self._workers:
            params["session"] = session
            return self._route(params, self._workers[session])
        if session != self._session or session is None:
            return
        if method == "Fetch.requestPaused":
            if params.get("resourceType") == "Document" and params.get("frameId") == self._main_frame:
                event_id = next(self._ids)
                self._waiting[event_id] = params
                self._send_event({"ev": "navigation-starting", "id": event_id, "uri": params["request"]["url"],
                                  "redirected": "redirectedRequestId" in params, "userInitiated": False})
            else:
                self._route(params, self._page_source(params))
        elif method == "Runtime.bindingCalled" and params.get("name") == BINDING:
            if self._contexts.get(params.get("executionContextId")) == self._main_frame:
                self._on_hook(json.loads(params["payload"]))
        elif method == "Runtime.executionContextCreated":
            context = params["context"]
            if context.get("auxData", {}).get("isDefault"):
                self._contexts[context["id"]] = context["auxData"].get("frameId")
        elif method == "Runtime.executionContextDestroyed":
            self._contexts.pop(params.get("executionContextId"), None)
        elif method == "Runtime.executionContextsCleared":
            self._contexts.clear()
        elif method == "Page.loadEventFired" and self.judged:
            self.judged.page_loaded()
        elif method == "Page.domContentEventFired":
            self._send_event({"ev": "dom-content-loaded"})
        elif method == "Page.frameNavigated" and params["frame"]["id"] == self._main_frame:
            self._url = params["frame"]["url"] + params["frame"].get("urlFragment", "")
            self._send_event({"ev": "navigated", "uri": self._url})
        elif method == "Page.navigatedWithinDocument" and params["frameId"] == self._main_frame:
            self._url = params["url"]
            self._send_event({"ev": "navigated", "uri": self._url})
        elif method == "Page.windowOpen":
            self._opened.append((params["url"], bool(params.get("userGesture"))))
        elif method == "Page.javascriptDialogOpening":
            self._console("dialog", f"{params['type']}: {params['message']}")
            accept = self._settings.get("AreDefaultScriptDialogsEnabled", True)
            self._spawn(self._call("Page.handleJavaScriptDialog", {"accept": accept}))
        elif method == "Runtime.consoleAPICalled":
            text = " ".join(format_value(arg) for arg in params["args"])
            self._console(console_level(params["type"]), text)
            self._fail_on(text)
        elif method == "Inspector.targetCrashed":
            # Nothing sent to the page's session is answered from now on: calls under way fail, and so do
            # the host's operations until the page is reloaded.
            self._crashed = True
            self._cdp.fail_session(session)
            self._send_event({"ev": "process-failed", "kind": RENDER_PROCESS_EXITED})
        elif method == "Runtime.exceptionThrown":
            self._console("error", exception_text(params["exceptionDetails"]))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            text = entry["text"] + (f" ({entry['url']})" if entry.get("url") else "")
            self._console(console_level(entry["level"]), text)

    async def _on_attached(self, params, parent):
        info = params["targetInfo"]
        target = info["targetId"]
        source = WORKER_SOURCES.get(info["type"])
        # Our page's service workers come through its session; shared workers through the browser's.
        through = self._session if source == SERVICE_WORKER else None
        if source and self._session and parent == through:
            await self._start_worker(params["sessionId"], source, info["url"])
        elif info["type"] == "page" and not info.get("openerId"):
            # Ours waits until it is set up (create_page); the first tab does not wait.
            self._attached.setdefault(target, asyncio.get_running_loop().create_future())
            if not self._attached[target].done():
                self._attached[target].set_result(params)
        elif info["type"] == "page" and info.get("openerId") == self._target:
            event_id = next(self._ids)
            self._waiting[event_id] = params
            url, gesture = self._opened.pop(0) if self._opened else (info.get("url", ""), False)
            self._send_event({"ev": "new-window", "id": event_id, "uri": url, "userInitiated": gesture})
        elif params.get("waitingForDebugger"):
            await self._cdp.call("Runtime.runIfWaitingForDebugger", {}, params["sessionId"])

    async def _start_worker(self, session, source, url):
        """Intercepts a worker's requests, its script's among them, before letting it run."""
        self._workers[session] = source
        if source == SHARED_WORKER:
            self._worker_scripts[session] = url  # fetched through the page, and not held back
        try:
            await self._intercept_worker(session)
        except cdp.ProtocolError:
            # It ended before it ran (its page went away, say): nothing of it is left to intercept.
            self._workers.pop(session, None)
            return
        # A service worker's answer comes only once its script is in: the events must go on meanwhile.
        self._spawn(self._cdp.call("Runtime.runIfWaitingForDebugger", {}, session))

    def _on_hook(self, hook):
        kind = hook.get("kind")
        if kind == "message":
            self._send_event({"ev": "message", "source": self._url, "json": hook.get("json"),
                              "isString": bool(hook.get("isString")), "text": hook.get("text")})
        elif kind == "title":
            # A document without a title is named by its address, as Chromium names its tabs.
            title = hook.get("title") or self._url.split("://", 1)[-1]
            if title != self._title:
                self._title = title
                self._send_event({"ev": "title", "title": title})
        elif kind == "close":
            self._send_event({"ev": "close-requested"})
        elif kind == "fullscreen":
            self._send_event({"ev": "fullscreen", "value": bool(hook.get("value"))})
        elif kind == "permission" and hook.get("name") in PERMISSION_KINDS:
            event_id = next(self._ids)
            self._waiting[event_id] = hook
            self._send_event({"ev": "permission", "id": event_id, "kind": PERMISSION_KINDS[hook["name"]],
                              "uri": self._url})


def console_level(kind):
    return {"warning": "warn", "error": "error", "assert": "error"}.get(kind, "log")


def format_value(value):
    """A console argument as the DevTools console would show it, roughly."""
    kind = value.get("type")
    if "unserializableValue" in value:
        return value["unserializableValue"]
    if kind == "string":
        return value["value"]
    if kind in ("number", "boolean"):
        return json.dumps(value["value"])
    if kind == "undefined":
        return "undefined"
    if value.get("subtype") == "null":
        return "null"
    preview = value.get("preview")
    if preview and value.get("subtype") != "error":
        items = [p["value"] if p["type"] != "string" else json.dumps(p["value"]) for p in preview["properties"]]
        if preview.get("subtype") == "array":
            shown = items
        else:
            shown = [f"{p['name']}: {item}" for p, item in zip(preview["properties"], items)]
        more = ", …" if preview.get("overflow") else ""
        opening, closing = ("[", "]") if preview.get("subtype") == "array" else ("{", "}")
        return opening + ", ".join(shown) + more + closing
    return value.get("description", kind or "")


def exception_text(details):
    exception = details.get("exception") or {}
    text = exception.get("description") or details.get("text", "")
    if not text.startswith("Uncaught"):
        text = "Uncaught " + text
    return text
