// Runs before anything else in every document of the live page. In the top
// document it plays the browser control's page side: window.chrome.webview,
// window.close, the title, element fullscreen, visibility and the notification prompt. It
// tells the bridge through one binding, which it takes out of the page's sight.
(() => {
  const send = globalThis[BINDING];
  delete globalThis[BINDING];
  if (window !== window.top || typeof send !== 'function') return;
  const note = (kind, fields = {}) => send(JSON.stringify({ kind, ...fields }));
  const hooks = {};

  if (CONFIG.webMessages) {
    class WebView extends EventTarget {
      postMessage(message) {
        const isString = typeof message === 'string';
        note('message', { json: JSON.stringify(message) ?? 'null', isString, text: isString ? message : null });
      }
    }
    const webview = new WebView();
    if (!window.chrome) window.chrome = {};
    Object.defineProperty(window.chrome, 'webview', { value: webview, enumerable: true });
    hooks.deliver = (data, additionalObjects) => {
      const event = new MessageEvent('message', { data });
      Object.defineProperty(event, 'additionalObjects', { value: additionalObjects || [] });
      webview.dispatchEvent(event);
    };
  }

  window.close = () => note('close');

  // The title, whenever the document's <title> changes.
  let title = null;
  const noteTitle = () => {
    if (document.title === title) return;
    title = document.title;
    note('title', { title });
  };
  new MutationObserver(noteTitle).observe(document, { subtree: true, childList: true, characterData: true });

  // First in the capture phase, so no page listener can hide the change.
  window.addEventListener('fullscreenchange', () => note('fullscreen', { value: document.fullscreenElement !== null }),
                          true);

  let visible = CONFIG.visible;
  Object.defineProperty(document, 'visibilityState', { get: () => (visible ? 'visible' : 'hidden') });
  Object.defineProperty(document, 'hidden', { get: () => !visible });
  hooks.setVisible = (value) => {
    if (value === visible) return;
    visible = value;
    document.dispatchEvent(new Event('visibilitychange'));
  };

  // A prompt waits for the host's answer; the bridge sets the permission, then lets it go on.
  const waiting = new Map();
  let lastPrompt = 0;
  if (window.Notification) {
    const ask = Notification.requestPermission.bind(Notification);
    Notification.requestPermission = (callback) => new Promise((resolve) => {
      const id = ++lastPrompt;
      waiting.set(id, () => ask().then((result) => {
        if (callback) callback(result);
        resolve(result);
      }));
      note('permission', { id, name: 'notifications' });
    });
  }
  hooks.answer = (id) => {
    const go = waiting.get(id);
    waiting.delete(id);
    if (go) go();
  };

  Object.defineProperty(globalThis, Symbol.for('tessarine.live'), { value: hooks });
})();
