#!/usr/bin/env python3
"""Writes a small sample web app into a folder: a page, a style sheet, a script,
an image and a short audio clip, all generated here (nothing is downloaded). The
script talks to the host through the page-side client, which the caller copies in
as tessarine.js."""
import math
import os
import struct
import sys
import zlib

PAGE = """<!doctype html>
<html lang="en">
<head>
  <meta charset="utf-8">
  <title>Tessarine sample</title>
  <link rel="stylesheet" href="style.css">
  <link rel="icon" href="images/logo.png">
</head>
<body>
  <header><img src="images/logo.png" alt="" width="64" height="64"><h1>Tessarine sample</h1></header>
  <form id="controls">
    <label><input type="checkbox" id="stay"> Stay open at the end</label>
    <label>Notes <input id="notes" autocomplete="off"></label>
  </form>
  <audio id="clip" src="media/chime.wav" controls preload="metadata"></audio>
  <h2>What happened</h2>
  <ol id="log"></ol>
  <h2>Folders from the host</h2>
  <ul id="folders"></ul>
  <script type="module" src="app.js"></script>
</body>
</html>
"""

STYLE = """body { font-family: system-ui, sans-serif; background: #10233a; color: #eef3f8; margin: 1.5rem 2rem; }
header { display: flex; align-items: center; gap: 1rem; }
h2 { font-size: 1rem; color: #9cc3e6; margin: 1rem 0 0.3rem; }
ol, ul { margin: 0; } li { margin: 0.1rem 0; }
#folders { columns: 3; color: #c9d6e2; }
#controls { position: fixed; left: 520px; top: 16px; width: 260px; margin: 0; }
#controls label { display: block; height: 24px; line-height: 24px; margin-bottom: 8px; }
"""

# The page tells what it does in plain words, on the page and on the console.
SCRIPT = """import tessarine from './tessarine.js';

const log = document.getElementById('log');
const say = (text) => {
  console.log(text);
  log.appendChild(document.createElement('li')).textContent = text;
};
const once = (target, name) => new Promise((resolve) => target.addEventListener(name, resolve, { once: true }));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Notes typed into the field are listed when Enter is pressed.
const notes = document.getElementById('notes');
document.getElementById('controls').addEventListener('submit', (event) => {
  event.preventDefault();
  say(`You typed: ${notes.value}`);
  notes.value = '';
});

say('The page has loaded and greets the host.');
const ready = await tessarine.ready();
const folders = Object.entries(ready.folders);
for (const [name, handle] of folders) {
  document.getElementById('folders').appendChild(document.createElement('li')).textContent =
    `${name}: ${handle ? handle.name : '(not available)'}`;
}
say(`The host handed over ${folders.filter(([, handle]) => handle).length} of ${folders.length} folder handles ` +
    `and the extension components: ${ready.componentIds.join(', ') || 'none'}.`);

const echoed = new Promise((resolve) => tessarine.extension.onMessage(resolve));
tessarine.extension.send({ text: 'hello from the page' });
say(`The extension answered: ${JSON.stringify(await echoed)}.`);

const clip = document.getElementById('clip');
if (clip.readyState < 1) await once(clip, 'loadedmetadata');
await clip.play();
say(`The chime plays (${clip.duration.toFixed(1)} s long).`);
const ended = once(clip, 'ended');
clip.currentTime = clip.duration - 0.5;
await once(clip, 'seeked');
say(`It jumped to ${clip.currentTime.toFixed(1)} s,`);
await ended;
say('and has played to its end.');

const sized = once(window, 'resize');
tessarine.window.setSize(800, 500);
await sized;
say(`The page asked for an 800 x 500 window and now has ${innerWidth} x ${innerHeight}.`);
const maximized = new Promise((resolve) => tessarine.window.on('maximized', resolve));
tessarine.window.maximize();
await maximized;
say('The host says the window is maximised; the page restores it.');
tessarine.window.restore();
await once(window, 'resize');

document.title = 'Tessarine sample - done';
if (document.getElementById('stay').checked) {
  say('All done: the app stays open, as asked.');
} else {
  say('All done: the page closes the app.');
  await sleep(200);
  window.close();
}
"""


def png(width, height, pixel):
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def logo(x, y):
    cx, cy = x - 31.5, y - 31.5
    inside = abs(cx) + abs(cy) < 28
    return (250, 245, 230, 255) if inside else (30, 120, 170, 255)


def chime(seconds=2.0, rate=22050):
    """A two-note chime, 16-bit mono PCM WAV."""
    frames = []
    for i in range(int(seconds * rate)):
        t = i / rate
        note = 659.25 if t < seconds / 2 else 880.0
        envelope = math.exp(-3.0 * (t % (seconds / 2)))
        frames.append(int(12000 * envelope * math.sin(2 * math.pi * note * t)))
    data = struct.pack("<%dh" % len(frames), *frames)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1, rate,
                         rate * 2, 2, 16, b"data", len(data))
    return header + data


def main(folder):
    files = {
        "index.html": PAGE.encode(),
        "style.css": STYLE.encode(),
        "app.js": SCRIPT.encode(),
        "images/logo.png": png(64, 64, logo),
        "media/chime.wav": chime(),
    }
    for name, data in files.items():
        path = os.path.join(folder, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
