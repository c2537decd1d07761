// The host's messages for the live pages, written by hand until the page-side
// client library lands; it has the same shape, so a page switches by its import.
const webview = globalThis.chrome && globalThis.chrome.webview;
const post = (message) => webview.postMessage(JSON.stringify(message));
const listeners = { maximized: [], minimized: [], extension: [] };
let handles = null;
let readyResolve = null;
const readyPromise = new Promise((resolve) => { readyResolve = resolve; });
const FOLDERS = ['app', 'webResource', 'currentAppData', 'localAppData', 'roamingAppData', 'desktop', 'documents',
                 'downloads', 'pictures', 'profile', 'savedGames', 'screenshots', 'videos'];

if (webview) {
  webview.addEventListener('message', (event) => {
    const message = event.data;
    const type = message && message.type;
    if (type === 'directory-handles') {
      handles = event.additionalObjects;
    } else if (type === 'wrapper-init-response') {
      const folders = {};
      FOLDERS.forEach((name, i) => { folders[name] = handles ? handles[i] || null : null; });
      readyResolve({ hosted: true, componentIds: message.registeredComponentIds, folders });
    } else if (type === 'window-maximized') {
      listeners.maximized.forEach((fn) => fn());
    } else if (type === 'window-minimized') {
      listeners.minimized.forEach((fn) => fn());
    } else {
      listeners.extension.forEach((fn) => fn(message));
    }
  });
}

let initSent = false;
export default {
  isHosted: Boolean(webview),
  ready() {
    if (!webview) return Promise.resolve({ hosted: false, componentIds: [], folders: {} });
    if (!initSent) post({ type: 'wrapper-init' });
    initSent = true;
    return readyPromise;
  },
  window: {
    setFullscreen: (fullscreen) => post({ type: 'set-fullscreen', fullscreen }),
    setSize: (windowWidth, windowHeight) => post({ type: 'set-window-size', windowWidth, windowHeight }),
    setPosition: (windowX, windowY) => post({ type: 'set-window-position', windowX, windowY }),
    maximize: () => post({ type: 'maximize-window' }),
    minimize: () => post({ type: 'minimize-window' }),
    restore: () => post({ type: 'restore-window' }),
    focus: () => post({ type: 'focus-window' }),
    on: (name, fn) => listeners[name].push(fn),
  },
  extension: {
    send: (message) => post({ type: 'extension-message', ...message }),
    onMessage: (fn) => listeners.extension.push(fn),
  },
};
