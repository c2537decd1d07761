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
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
APP = os.path.join(ROOT, "tests", "live", "app")
ORIGIN = "https://tessarine.localhost/"
# What each worker of the check app loads from the host: (request source kind, file).
WORKER_REQUESTS = [(4, "service-worker.js"), (4, "worker-words.js"), (4, "bundle.txt"),
                   (2, "shared-worker.js"), (2, "worker-words.js"), (2, "folder-only.txt")]


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
        **{(bundled, name): open(os.path.join(APP, name), "rb").read()
           for name in ("workers.js", "service-worker.js", "worker-words.js")},
        (app, "www/shared-worker.js"): open(os.path.join(APP, "shared-worker.js"), "rb").read(),
        (bundled, "tessarine.js"): open(os.path.join(ROOT, "client", "tessarine.js"), "rb").read(),
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


def png_corner(path):
    """The top-left pixel's red, green and blue: every row filter leaves the first pixel of the
    first row as it is."""
    data = open(path, "rb").read()
    chunks, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            chunks += data[at + 8:at + 8 + length]
        at += 12 + length
    return tuple(zlib.decompress(chunks)[1:4])


def transcript_has(lines, ev, **members):
    return any(line.get("ev") == ev and all(line.get(k) == v for k, v in members.items()) for line in lines)


def read_transcript(app):
    """The transcript of run-app's last run of the app, or nothing when there is none."""
    path = os.path.join(ROOT, "build", "run-app", os.path.basename(app), "transcript.jsonl")
    return [json.loads(line) for line in open(path, encoding="utf-8")] if os.path.exists(path) else []


def run_app(app, work, binaries, *arguments, **environment):
    """scripts/run-app on the app: its exit code and the lines it printed."""
    run = subprocess.run([os.path.join(ROOT, "scripts", "run-app"), app, *arguments],
                         env=dict(os.environ, TESSARINE_LIVE_BIN=binaries, **environment),
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(run.stdout)
    return run.returncode, run.stdout.splitlines()


def check_page(work, binaries):
    """The check app: what its page reported, the exit code, the screenshot, the transcript."""
    app = make_app(work, binaries)
    shot = os.path.join(work, "screenshot.png")
    code, output = run_app(app, work, binaries, "--screenshot", shot, "--timeout", "120",
                           TESSARINE_TEST_EXTENSION_CONFIG=windows_path(os.path.join(work, "extension.json")))
    transcript = read_transcript(app)
    # One check per media source runs from a loop.
    planned = len(re.findall(r"^\s*await check\(", open(os.path.join(APP, "checks.js")).read(), re.M)) + 1
    return [
        ("the host ended with exit code 0 (window.close)", code == 0),
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
        ("the workers' requests reached the host with their source kinds", all(
            transcript_has(transcript, "live:request", uri=ORIGIN + name, source=source)
            for source, name in WORKER_REQUESTS)),
    ]


def check_plain_filter(work, binaries):
    """Without ICoreWebView2_22 the host adds the plain filter: the workers' requests go to the
    network, which is not there, and the same workers get nothing."""
    app = os.path.join(work, "PlainFilter")
    os.makedirs(os.path.join(app, "www"), exist_ok=True)
    files = {"package.json": json.dumps({"name": "PlainFilter", "window": {"title": "Plain filter"}}),
             "www/index.html": """<title>Plain filter</title><script type="module">
import { serviceWorkerAnswer, sharedWorkerAnswer } from './workers.js';
const outcome = (answer) => Promise.race([answer, new Promise((_, reject) => setTimeout(reject, 10000, Error('none')))])
  .then((text) => `answered: ${text}`, (error) => `failed: ${error.message}`);
console.log(`service worker ${await outcome(serviceWorkerAnswer())}`);
console.log(`shared worker ${await outcome(sharedWorkerAnswer())}`);
window.close();
</script>"""}
    for name in ("workers.js", "service-worker.js", "shared-worker.js", "worker-words.js"):
        files["www/" + name] = open(os.path.join(APP, name)).read()
    files.update({"www/bundle.txt": "from the bundle", "www/folder-only.txt": "from the folder"})
    for name, text in files.items():
        with open(os.path.join(app, *name.split("/")), "w") as file:
            file.write(text)
    scenario = os.path.join(work, "plain-filter.scenario")
    with open(scenario, "w") as file:
        file.write("offer webview22 off\n")
    code, output = run_app(app, work, binaries, "--timeout", "60",
                           TESSARINE_STANDIN_SCENARIO=windows_path(scenario))
    transcript = read_transcript(app)
    requests = [line for line in transcript if line.get("ev") == "live:request"]
    return [
        ("plain filter: the host ended with exit code 0", code == 0),
        ("plain filter: the host added it", transcript_has(transcript, "WebView.AddWebResourceRequestedFilter")),
        # Chromium's wording of the fetch failure varies between versions: any registration failure.
        ("plain filter: the service worker did not register",
         any(line.startswith("log: service worker failed:") for line in output)),
        ("plain filter: the shared worker did not start",
         "log: shared worker failed: the shared worker did not start" in output),
        ("plain filter: the page's requests reached the host, none of the workers'",
         transcript_has(transcript, "live:request", uri=ORIGIN + "workers.js", source=1) and not any(
             line["source"] != 1 or line["uri"] in (ORIGIN + "service-worker.js", ORIGIN + "shared-worker.js")
             for line in requests)),
    ]


def check_failures(work, binaries):
    """What run-app and the host say when the browser is missing, fails or the page never ends."""
    fake = os.path.join(work, "fake-chromium")
    with open(fake, "w") as file:  # knows its version, then fails to start
        file.write('#!/bin/sh\n[ "$1" = --version ] && echo "Chromium 99.0.1.2" && exit 0\nexit 3\n')
    os.chmod(fake, 0o755)
    app = os.path.join(work, "Idle")
    os.makedirs(os.path.join(app, "www"), exist_ok=True)
    with open(os.path.join(app, "package.json"), "w") as file:
        json.dump({"name": "Idle", "window": {"title": "Idle", "width": 320, "height": 200,
                                              "background-color": [18, 52, 86]},
                   "settings": {"distribution-mode": "fixed"}}, file)
    with open(os.path.join(app, "www", "index.html"), "w") as file:
        file.write("<title>Idle</title><script>console.warn('idle')</script>")
    shot = os.path.join(work, "idle.png")
    cases = [
        # what, environment, extra arguments, exit code, a line that must be printed
        ("no Chromium: the runtime is missing", {"TESSARINE_CHROMIUM": "/nonexistent/chromium"}, [], 1,
         "box: Idle | This app is set to \"fixed\" distribution mode, but the WebView2 control failed"),
        ("Chromium fails to start: the host says so", {"TESSARINE_CHROMIUM": fake}, [], 1,
         "box: Tessarine | The browser control could not be started (error 0x80004005). | error"),
        ("a page that never closes: the timeout", {}, ["--timeout", "4", "--screenshot", shot], 124, "warn: idle"),
    ]
    results = []
    for what, environment, arguments, wanted_code, wanted_line in cases:
        code, output = run_app(app, work, binaries, *arguments, **environment)
        results.append((f"{what} (exit code {wanted_code})", code == wanted_code))
        results.append((f"{what} (prints {wanted_line!r})", any(line.startswith(wanted_line) for line in output)))
    results.append(("the timed-out page's screenshot, in the configured background colour",
                    os.path.exists(shot) and png_size(shot) == (320, 200) and png_corner(shot) == (18, 52, 86)))
    code, output = run_app(work, work, binaries)
    results.append(("a folder without package.json is refused",
                    code == 2 and any("has no package.json" in line for line in output)))
    # The runtime itself, pointed at a bridge that is not there (run-app's copy of Idle).
    host = os.path.join(ROOT, "build", "run-app", "Idle", "app", "tessarine.exe")
    run = subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), os.path.join(binaries, "tessarine-msgbox-watcher.exe"),
                          "--run", "--timeout-ms", "60000", windows_path(host)],
                         env=dict(os.environ, TESSARINE_LIVE_BRIDGE="127.0.0.1:1"), stdout=subprocess.PIPE, text=True)
    print(run.stdout)
    results.append(("no bridge to reach: the runtime is missing", run.returncode == 1 and
                    "box: Idle | This app is set to \"fixed\" distribution mode" in run.stdout))
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--work", required=True, help="a scratch folder")
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    binaries = os.path.abspath(options.bin)
    expectations = check_page(work, binaries) + check_plain_filter(work, binaries) + check_failures(work, binaries)
    failures = [what for what, ok in expectations if not ok]
    for what, ok in expectations:
        print(("ok   " if ok else "FAIL ") + what)
    print(f"{len(expectations) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
