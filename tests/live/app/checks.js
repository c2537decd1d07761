// Checks the host from inside a real page (the kit shows each result in the console and the list).
import host from './tessarine.js';
import { check, equal, once, report, sleep, viewport, within } from './check_kit.js';
import { serviceWorkerAnswer, sharedWorkerAnswer } from './workers.js';

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

// Maximise and minimise with their notices, and the extension's echo: client_live's.
await check('window size', async () => {
  host.window.setSize(640, 480);
  await viewport(640, 480);
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

report();
window.close();
