// A stand-in for the host's side of the page channel, injected by the test runner before
// any page script runs: window.chrome.webview takes the page's JSON texts, records them
// and answers the way the host does. The page under test knows nothing of it.
//
// installFakeHost(options):
//   folders      false for a runtime without directory handles (no "directory-handles")
//   emptySlots   indices of folder slots the host leaves empty
//   componentIds the extension's registered component ids
//   queued       extension messages sent before the handshake (released after it)
//   lockOn       the lock the host still holds from before a reload
//   lockError    a system error code: every lock change fails with it
function installFakeHost(options) {
  const settings = Object.assign({ folders: true, emptySlots: [], componentIds: [], queued: [],
    lockOn: false, lockError: 0 }, options);
  const channel = new EventTarget();
  const received = [];
  let lockEnabled = settings.lockOn;
  let pageReady = false;
  let pending = Promise.resolve();
  let delivered = 0;

  // The host posts parsed JSON values; the page gets each as its own message event.
  function post(value, additionalObjects) {
    const data = JSON.parse(JSON.stringify(value));
    setTimeout(() => {
      const event = new MessageEvent("message", { data });
      Object.defineProperty(event, "additionalObjects", { value: additionalObjects ?? [] });
      delivered++;
      channel.dispatchEvent(event);
    });
  }

  async function folderHandles() {
    const root = await navigator.storage.getDirectory();
    const handles = [];
    for (let index = 0; index < 13; index++) {
      handles.push(settings.emptySlots.includes(index)
        ? null : await root.getDirectoryHandle(`slot-${index}`, { create: true }));
    }
    return handles;
  }

  function boolMember(message, name) {
    return typeof message[name] === "boolean" ? message[name] : false;
  }

  async function handle(text) {
    let message;
    try {
      message = JSON.parse(text);
    } catch {
      return;
    }
    switch (message?.type) {
      case "wrapper-init":
        if (settings.folders) post({ type: "directory-handles" }, await folderHandles());
        post({ type: "wrapper-init-response", registeredComponentIds: settings.componentIds });
        if (!pageReady) settings.queued.forEach((queued) => post(queued));
        pageReady = true;
        break;
      case "maximize-window": // the window's size change brings the notice
        post({ type: "window-maximized" });
        break;
      case "minimize-window":
        post({ type: "window-minimized" });
        break;
      case "set-pointer-lock-enabled": {
        const on = boolMember(message, "isEnabled");
        if (on === lockEnabled) break;
        lockEnabled = on;
        post(settings.lockError
          ? { type: "set-pointer-lock-enabled-response", isOk: false, error: settings.lockError }
          : { type: "set-pointer-lock-enabled-response", isOk: true, isEnabled: on });
        break;
      }
    }
  }

  window.chrome = window.chrome ?? {};
  window.chrome.webview = {
    addEventListener: channel.addEventListener.bind(channel),
    removeEventListener: channel.removeEventListener.bind(channel),
    postMessage(text) {
      if (typeof text !== "string") throw new TypeError("the host reads only string messages");
      received.push(text);
      pending = pending.then(() => handle(text));
    },
  };

  // For the runner: what the host read, and the host's own posting, after what it is
  // still handling.
  window.fakeHost = {
    received,
    post: (value) => { pending = pending.then(() => post(value)); return pending; },
    get lockEnabled() { return lockEnabled; },
    get delivered() { return delivered; }, // messages the page has been handed so far
    settled: () => pending.then(() => new Promise((resolve) => setTimeout(resolve))),
  };
}
