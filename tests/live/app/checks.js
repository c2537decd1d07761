// Checks the host from inside a real page; each result goes to the console and the list.
import host from './tessarine.js';
import { serviceWorkerAnswer, sharedWorkerAnswer } from './workers.js';

let passed = 0;
let failed = 0;
const show = (text, ok) => {
  const item = document.createElement('li');
  item.textContent = text;
  item.className = ok ? 'pass' : 'fail';
  document.getElementById('results').append(item);
};
const check = async (name, body) => {
  try {
    await body();
    passed += 1;
    console.log(`PASS ${name}`);
    show(name, true);
  } catch (error) {
    failed += 1;
    console.error(`FAIL ${name}: ${error.message}`);
    show(`${name}: ${error.message}`, false);
  }
};
const equal = (actual, wanted, what) => {
  if (JSON.stringify(actual) !== JSON.stringify(wanted)) {
    throw new Error(`${what} is ${JSON.stringify(actual)}, not ${JSON.stringify(wanted)}`);
  }
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const within = (promise, what, ms = 10000) =>
  Promise.race([promise, sleep(ms).then(() => { throw new Error(`no ${what} within ${ms} ms`); })]);
const once = (target, name) => new Promise((resolve) => target.addEventListener(name, resolve, { once: true }));
// Resolves once the viewport has the size (the host resizes it from outside).
const viewport = async (width, height) => {
  for (let waited = 0; innerWidth !== width || innerHeight !== height; waited += 50) {
    if (waited > 10000) throw new Error(`viewport is ${innerWidth}x${innerHeight}, not ${width}x${height}`);
    await sleep(50);
  }
};

let slots = null;
chrome.webview.addEventListener('message', (event) => {
  if (event.data.type === 'directory-handles') slots = event.additionalObjects;
});

await check('handshake', async () => {
  const ready = await within(host.ready(), 'init response');
  equal(ready.componentIds, ['live-component'], 'component ids');
  equal(slots.length, 13, 'handle slots');
  equal([ready.folders.app.kind, ready.folders.app.name], ['directory', 'app'], 'app folder');
  equal(ready.folders.webResource.name, 'www', 'content folder');
});

await check('fetch from bundle and folder', async () => {
  const bundled = await fetch('bundle.txt');
  equal([bundled.status, await bundled.text()], [200, 'from the bundle'], 'bundle file');
  equal(bundled.headers.get('content-type'), 'text/plain; charset=utf-8', 'MIME type');
  equal(bundled.headers.get('cache-control'), 'no-store', 'caching');
  const loose = await fetch('folder-only.txt');
  equal([loose.status, await loose.text()], [200, 'from the folder'], 'folder file');
  const spaced = await fetch('notes/read me {1}.txt');
  equal([spaced.status, await spaced.text()], [200, 'a name with spaces'], 'percent-encoded name');
  equal((await fetch('missing.txt')).status, 404, 'missing file');
  const elsewhere = await fetch('https://elsewhere.invalid/x').then(() => 'answered', () => 'failed');
  equal(elsewhere, 'failed', 'request outside the app origin');
  const part = await fetch('media/bundle.wav', { headers: { Range: 'bytes=0-' } });
  const bytes = await part.arrayBuffer();
  const total = new DataView(bytes).getUint32(4, true) + 8;
  equal([part.status, bytes.byteLength], [206, 2097152], 'open range');
  equal(part.headers.get('content-range'), `bytes 0-2097151/${total}`, 'content range');
});

for (const [where, source] of [['bundle', 'media/bundle.wav'], ['folder', 'media/folder.wav']]) {
  await check(`media from the ${where} plays and seeks`, async () => {
    const audio = document.createElement('audio');
    audio.src = source;
    await within(once(audio, 'loadedmetadata'), 'metadata');
    if (!(audio.duration > 30)) throw new Error(`duration ${audio.duration}`);
    await audio.play();
    const ended = once(audio, 'ended');
    audio.currentTime = audio.duration - 0.25;
    await within(once(audio, 'seeked'), 'seek');
    await within(ended, 'end');
  });
}

await check('window size and notices', async () => {
  host.window.setSize(640, 480);
  await viewport(640, 480);
  const maximized = new Promise((resolve) => host.window.on('maximized', resolve));
  host.window.maximize();
  await within(maximized, 'maximised notice');
  host.window.restore();
  await viewport(640, 480);
  const minimized = new Promise((resolve) => host.window.on('minimized', resolve));
  host.window.minimize();
  await within(minimized, 'minimised notice');
  host.window.restore();
});

await check('element fullscreen', async () => {
  await document.documentElement.requestFullscreen();
  await viewport(screen.width, screen.height);
  await document.exitFullscreen();
  await viewport(640, 480);
});

await check('notification permission', async () => {
  equal(await within(Notification.requestPermission(), 'answer'), 'granted', 'permission');
});

await check('new window left to the host', async () => {
  const opened = window.open('about:blank');
  for (let waited = 0; !opened.closed; waited += 50) {
    if (waited > 5000) throw new Error('the new window stayed open');
    await sleep(50);
  }
});

await check('extension round trip', async () => {
  const echoed = new Promise((resolve) => host.extension.onMessage((m) => m.type === 'extension-echo' && resolve(m)));
  host.extension.send({ text: 'ping' });
  const { received } = await within(echoed, 'echo');
  equal([received.type, received.text], ['extension-message', 'ping'], 'echo');
});

await check('service and shared workers served by the host', async () => {
  equal(await within(serviceWorkerAnswer(), 'service worker answer'), 'service worker read "from the bundle"',
        'service worker');
  equal(await within(sharedWorkerAnswer(), 'shared worker answer'), 'shared worker read "from the folder"',
        'shared worker');
});

await check('navigation elsewhere cancelled', async () => {
  let left = false;
  addEventListener('pagehide', () => { left = true; });
  // A non-string message: the host must ignore it (the transcript shows it did).
  chrome.webview.postMessage({ type: 'wrapper-init' });
  location.href = 'https://example.invalid/elsewhere';
  await sleep(1000);
  equal([left, location.origin], [false, 'https://tessarine.localhost'], 'page after navigating');
});

console.log(`live checks: ${passed} passed, ${failed} failed`);
window.close();
