#!/usr/bin/env python3
"""Writes a small sample web app into a folder: a page, a style sheet, a script,
an image and a short audio clip, all generated here (nothing is downloaded)."""
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
</head>
<body>
  <header><img src="images/logo.png" alt="" width="64" height="64"><h1>Tessarine sample</h1></header>
  <p id="status">Starting&hellip;</p>
  <audio id="clip" src="media/chime.wav" controls preload="metadata"></audio>
  <ul id="folders"></ul>
  <script src="app.js"></script>
</body>
</html>
"""

STYLE = """body { font-family: system-ui, sans-serif; background: #10233a; color: #eef3f8; margin: 2rem; }
header { display: flex; align-items: center; gap: 1rem; }
#status { font-size: 1.2rem; }
"""

SCRIPT = """// Greets the host, lists the folders it hands over and echoes through the extension.
const status = document.getElementById('status');
const post = (message) => chrome.webview.postMessage(JSON.stringify(message));

chrome.webview.addEventListener('message', (event) => {
  const message = event.data;
  if (message.type === 'directory-handles') {
    const list = document.getElementById('folders');
    for (const handle of event.additionalObjects) {
      const item = document.createElement('li');
      item.textContent = handle ? handle.name : '(not available)';
      list.appendChild(item);
    }
  } else if (message.type === 'wrapper-init-response') {
    status.textContent = 'Components: ' + message.registeredComponentIds.join(', ');
    post({ type: 'extension-message', text: 'hello from the page' });
  }
});

post({ type: 'wrapper-init' });
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
