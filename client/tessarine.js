// Tessarine page-side client: the host's messages as calls, promises and listeners.
// Outside the host (a plain browser while developing) every call is a harmless no-op,
// so one page runs in both.

const webview = globalThis.chrome?.webview ?? null;

// Index order of the handles the host attaches to "directory-handles".
const FOLDER_NAMES = Object.freeze([
  "app", "webResource", "currentAppData", "localAppData", "roamingAppData", "desktop",
  "documents", "downloads", "pictures", "profile", "savedGames", "screenshots", "videos",
]);

// Everything else the host posts comes from the extension library.
const HOST_TYPES = new Set([
  "directory-handles", "wrapper-init-response", "window-maximized", "window-minimized",
  "set-pointer-lock-enabled-response", "pointer-lock-movement", "window-close-requested",
]);

function post(message) {
  webview.postMessage(JSON.stringify(message));
}

function reportListenerError(error) {
  if (typeof globalThis.reportError === "function") globalThis.reportError(error);
  else setTimeout(() => { throw error; });
}

// One registration per call, so removing one leaves a second registration of the same
// function in place; a throwing listener is reported and does not stop the others.
class Listeners {
  #entries = new Set();

  add(listener, caller) {
    if (typeof listener !== "function") throw new TypeError(`${caller}: listener must be a function`);
    const entry = { listener };
    this.#entries.add(entry);
    return () => { this.#entries.delete(entry); };
  }

  emit(...args) {
    for (const entry of [...this.#entries]) {
      if (!this.#entries.has(entry)) continue;
      try {
        entry.listener(...args);
      } catch (error) {
        reportListenerError(error);
      }
    }
  }
}

function describe(value) {
  if (typeof value === "number") return String(value);
  if (Array.isArray(value)) return "an array";
  return value === null ? "null" : typeof value;
}

// The host reads sizes and positions as signed 32-bit integers and quietly puts 0 in
// place of anything else, or wraps large values: refuse them here, by name.
function coordinate(value, name, caller) {
  if (typeof value !== "number" || !Number.isFinite(value)) {
    throw new TypeError(`${caller}: ${name} must be a finite number, got ${describe(value)}`);
  }
  const whole = Math.trunc(value);
  if (whole < -2147483648 || whole > 2147483647) {
    throw new RangeError(`${caller}: ${name} is outside the signed 32-bit range, got ${value}`);
  }
  return whole === 0 ? 0 : whole;
}

function send(message) {
  if (webview) post(message);
}

// Handshake

let readyPromise = null;
let resolveReady = null;
let handshakeHandles = null;

function readyResult(hosted, componentIds, handles, restarted) {
  const folders = {};
  FOLDER_NAMES.forEach((name, index) => { folders[name] = handles[index] ?? null; });
  return Object.freeze({
    hosted,
    restarted,
    componentIds: Object.freeze([...componentIds]),
    folders: Object.freeze(folders),
  });
}

function ready() {
  if (readyPromise) return readyPromise;
  if (!webview) {
    readyPromise = Promise.resolve(readyResult(false, [], [], false));
  } else {
    readyPromise = new Promise((resolve) => { resolveReady = resolve; });
    post({ type: "wrapper-init" });
  }
  return readyPromise;
}

function onInitResponse(data) {
  // A runtime without folder handles sends the response alone: every folder is null.
  const handles = handshakeHandles ?? [];
  handshakeHandles = null;
  if (!resolveReady) return;
  const ids = Array.isArray(data.registeredComponentIds) ? data.registeredComponentIds : [];
  resolveReady(readyResult(true, ids, handles, data.restarted === true));
  resolveReady = null;
}

// Pointer lock. The host records every requested state, even one it failed to reach,
// and answers no request for the state it has recorded; so the client keeps both.

const lock = {
  recorded: false, // the host's recorded state once it has read every request sent
  on: false, // the lock as the answers left it
  error: null, // the code of the last failure, while the lock is not as last asked
  cleared: false, // a lock left over from before a reload has been cleared
  waiting: [], // requests the host will answer, oldest first: { on, resolve }
  last: Promise.resolve(), // the newest request's result, so results come in order
};

function lockResult(ok, error) {
  return Object.freeze({ ok, enabled: lock.on, error: ok ? null : error });
}

function requestLock(on) {
  if (!webview) return Promise.resolve(Object.freeze({ ok: false, enabled: false, error: null }));
  if (!lock.cleared) {
    // The host keeps its lock through page reloads, and this page cannot know: start
    // from off. The host ignores this while the lock is off.
    lock.cleared = true;
    post({ type: "set-pointer-lock-enabled", isEnabled: false });
  }
  let result;
  if (on !== lock.recorded) {
    lock.recorded = on;
    post({ type: "set-pointer-lock-enabled", isEnabled: on });
    result = new Promise((resolve) => lock.waiting.push({ on, resolve }));
  } else {
    // No answer will come: settle from what is known once the earlier requests have.
    result = lock.last.then(() => lockResult(lock.on === on, lock.error));
  }
  lock.last = result;
  return result;
}

function onLockAnswer(data) {
  const ok = data.isOk === true;
  const head = lock.waiting[0];
  if (ok && (!head || data.isEnabled !== head.on)) {
    // The answer to clearing a leftover lock: nobody waits for it.
    lock.on = data.isEnabled === true;
    return;
  }
  if (!head) return;
  lock.waiting.shift();
  if (ok) {
    lock.on = head.on;
    lock.error = null;
  } else {
    lock.error = typeof data.error === "number" ? data.error : null;
  }
  head.resolve(lockResult(ok, lock.error));
}

// Closing. While a handler is registered the host announces a close of the window
// instead of closing; once every handler has settled, the client lets it close.

const closeHandlers = new Set();
let closing = false;

function onCloseRequested(handler) {
  if (typeof handler !== "function") throw new TypeError("tessarine.onCloseRequested: handler must be a function");
  const entry = { handler };
  closeHandlers.add(entry);
  if (closeHandlers.size === 1) send({ type: "set-close-handling", isEnabled: true });
  return () => {
    if (!closeHandlers.delete(entry)) return;
    if (closeHandlers.size === 0) send({ type: "set-close-handling", isEnabled: false });
  };
}

async function onCloseAnnounced() {
  if (closing) return;
  closing = true;
  // A handler that throws or rejects is reported; the window closes all the same.
  const runs = [...closeHandlers].map(async (entry) => entry.handler());
  for (const outcome of await Promise.allSettled(runs)) {
    if (outcome.status === "rejected") reportListenerError(outcome.reason);
  }
  send({ type: "close-window" });
}

// Dispatch of the host's messages

const maximizedListeners = new Listeners();
const minimizedListeners = new Listeners();
const movementListeners = new Listeners();
const extensionListeners = new Listeners();

function onHostMessage(event) {
  const data = event.data;
  const type = data !== null && typeof data === "object" ? data.type : undefined;
  if (!HOST_TYPES.has(type)) {
    extensionListeners.emit(data);
    return;
  }
  switch (type) {
    case "directory-handles":
      handshakeHandles = Array.from(event.additionalObjects ?? []);
      break;
    case "wrapper-init-response":
      onInitResponse(data);
      break;
    case "window-maximized":
      maximizedListeners.emit();
      break;
    case "window-minimized":
      minimizedListeners.emit();
      break;
    case "set-pointer-lock-enabled-response":
      onLockAnswer(data);
      break;
    case "pointer-lock-movement":
      movementListeners.emit(data.movementX, data.movementY);
      break;
    case "window-close-requested":
      onCloseAnnounced();
      break;
  }
}

if (webview) webview.addEventListener("message", onHostMessage);

// The public object

const windowEvents = new Map([["maximized", maximizedListeners], ["minimized", minimizedListeners]]);

const tessarine = Object.freeze({
  isHosted: webview !== null,
  ready,
  onCloseRequested,
  window: Object.freeze({
    setFullscreen(on) {
      send({ type: "set-fullscreen", fullscreen: Boolean(on) });
    },
    setSize(width, height) {
      const caller = "tessarine.window.setSize";
      const windowWidth = coordinate(width, "width", caller);
      const windowHeight = coordinate(height, "height", caller);
      send({ type: "set-window-size", windowWidth, windowHeight });
    },
    setPosition(x, y) {
      const caller = "tessarine.window.setPosition";
      const windowX = coordinate(x, "x", caller);
      const windowY = coordinate(y, "y", caller);
      send({ type: "set-window-position", windowX, windowY });
    },
    maximize() { send({ type: "maximize-window" }); },
    minimize() { send({ type: "minimize-window" }); },
    restore() { send({ type: "restore-window" }); },
    focus() { send({ type: "focus-window" }); },
    close() { send({ type: "close-window" }); },
    on(event, listener) {
      const listeners = windowEvents.get(event);
      if (!listeners) {
        throw new TypeError(`tessarine.window.on: unknown event ${JSON.stringify(String(event))}, ` +
          'expected "maximized" or "minimized"');
      }
      return listeners.add(listener, "tessarine.window.on");
    },
  }),
  pointerLock: Object.freeze({
    enable() { return requestLock(true); },
    disable() { return requestLock(false); },
    onMovement(listener) { return movementListeners.add(listener, "tessarine.pointerLock.onMovement"); },
  }),
  extension: Object.freeze({
    send(message) {
      const caller = "tessarine.extension.send";
      if (message === null || typeof message !== "object" || Array.isArray(message)) {
        throw new TypeError(`${caller}: message must be an object, got ${describe(message)}`);
      }
      if (Object.prototype.hasOwnProperty.call(message, "type")) {
        throw new TypeError(`${caller}: message must not have a "type" member; the host routes on it`);
      }
      const text = JSON.stringify({ type: "extension-message", ...message });
      if (webview) webview.postMessage(text);
    },
    onMessage(listener) { return extensionListeners.add(listener, "tessarine.extension.onMessage"); },
  }),
});

export default tessarine;
