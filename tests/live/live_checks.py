#!/usr/bin/python3
"""Runs the live check app (tests/live/app) through scripts/run-app in the real
host with a real Chromium, and checks what the page reported, the host's exit
code, the screenshot and what the host told the browser."""
import argparse
import json
import os
import re
import shutil
import struct
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
APP = os.path.join(ROOT, "tests", "live", "app")
ORIGIN = "https://tessarine.localhost/"


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wav(seconds, rate=22050):
    """A quiet tone, 16-bit mono: over 3 MiB, so media requests meet the 2 MiB cap."""
    frames = b"".join(struct.pack("<h", (i % 50) * 40 - 1000) for i in range(rate)) * seconds
    return struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(frames), b"WAVE", b"fmt ", 16, 1, 1, rate, rate * 2,
                       2, 16, b"data", len(frames)) + frames


def make_app(work, binaries):
    """The app folder: the page and some files in a bundle, others loose, the test extension."""
    shutil.rmtree(work, ignore_errors=True)
    bundled, app = os.path.join(work, "bundled"), os.path.join(work, "LiveChecks")
    sound = wav(75)
    files = {
        (bundled, "index.html"): open(os.path.join(APP, "index.html"), "rb").read(),
        (bundled, "checks.js"): open(os.path.join(APP, "checks.js"), "rb").read(),
        (bundled, "host.js"): open(os.path.join(ROOT, "testing", "live", "host.js"), "rb").read(),
        (bundled, "bundle.txt"): b"from the bundle",
        (bundled, "media/bundle.wav"): sound,
        (app, "www/folder-only.txt"): b"from the folder",
        (app, "www/notes/read me {1}.txt"): b"a name with spaces",
        (app, "www/media/folder.wav"): sound,
        (app, "package.json"): json.dumps({
            "name": "TessarineLiveChecks", "chromium-args": "--autoplay-policy=no-user-gesture-required",
            "window": {"title": "Live checks", "width": 800, "height": 600}}).encode(),
        (work, "extension.json"): json.dumps({"componentIds": ["live-component"], "message": {"echo": True}}).encode(),
    }
    for (folder, name), data in files.items():
        path = os.path.join(folder, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(data)
    shutil.copy(os.path.join(binaries, "Orvanta.dll"), app)
    subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), os.path.join(binaries, "tessarine-pack.exe"), "create",
                    windows_path(bundled), windows_path(os.path.join(app, "www", "assets.dat"))],
                   check=True, stdout=subprocess.DEVNULL)
    return app


def png_size(path):
    with open(path, "rb") as file:
        head = file.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def transcript_has(lines, ev, **members):
    return any(line.get("ev") == ev and all(line.get(k) == v for k, v in members.items()) for line in lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--work", required=True, help="a scratch folder")
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    app = make_app(work, options.bin)
    shot = os.path.join(work, "screenshot.png")
    environment = dict(os.environ, TESSARINE_LIVE_BIN=options.bin,
                       TESSARINE_TEST_EXTENSION_CONFIG=windows_path(os.path.join(work, "extension.json")))
    run = subprocess.run([os.path.join(ROOT, "scripts", "run-app"), app, "--screenshot", shot, "--timeout", "120"],
                         env=environment, stdout=subprocess.PIPE, text=True)
    output = run.stdout.splitlines()
    print(run.stdout)
    transcript_path = os.path.join(ROOT, "build", "run-app", os.path.basename(app), "transcript.jsonl")
    transcript = [json.loads(line) for line in open(transcript_path, encoding="utf-8")] \
        if os.path.exists(transcript_path) else []

    planned = len(re.findall(r"^\s*await check\(", open(os.path.join(APP, "checks.js")).read(), re.M))
    # checks.js runs one check per media source in a loop.
    planned += 1
    expectations = [
        ("the host ended with exit code 0 (window.close)", run.returncode == 0),
        (f"the page ran all {planned} checks and none failed",
         f"log: live checks: {planned} passed, 0 failed" in output),
        ("no uncaught error in the page", not any(line.startswith("error: Uncaught") for line in output)),
        ("no message box", not any(line.startswith("box: ") for line in output)),
        ("a screenshot of the final 640x480 viewport", os.path.exists(shot) and png_size(shot) == (640, 480)),
        ("the foreign navigation was cancelled", transcript_has(
            transcript, "live:navigation-starting", uri="https://example.invalid/elsewhere", cancel=True)),
        ("the non-string message came from the page", transcript_has(
            transcript, "live:message", source=ORIGIN + "index.html", isString=False)),
        ("the page's title reached the host", transcript_has(transcript, "live:title", title="Tessarine live checks")),
        ("the host allowed the prompt", transcript_has(transcript, "live:permission", state=1)),
        ("the host handled the new window", transcript_has(transcript, "live:new-window", handled=True)),
    ]
    failures = [what for what, ok in expectations if not ok]
    for what, ok in expectations:
        print(("ok   " if ok else "FAIL ") + what)
    print(f"{len(expectations) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
