"""Builds the live check app's folder, the idle app of the failure checks and the apps of
the play checks, runs them through scripts/run-app, and reads what they leave:
screenshots, transcripts, results."""
import json
import os
import shutil
import struct
import subprocess
import time
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LIVE_APP = os.path.join(ROOT, "testing", "live", "app")


def read(*parts):
    with open(os.path.join(*parts), "rb") as file:
        return file.read()


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wav(seconds, rate=22050):
    """A quiet tone, 16-bit mono: over 3 MiB, so media requests meet the 2 MiB cap."""
    frames = b"".join(struct.pack("<h", (i % 50) * 40 - 1000) for i in range(rate)) * seconds
    return struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(frames), b"WAVE", b"fmt ", 16, 1, 1, rate, rate * 2,
                       2, 16, b"data", len(frames)) + frames


def write_files(files):
    for path, data in files.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(data if isinstance(data, bytes) else data.encode())


def test_bin(binaries):
    """The test programs and doubles, which the build keeps apart from the shipping bin folder."""
    return os.environ.get("TESSARINE_TEST_BIN") or os.path.join(os.path.dirname(binaries), "test-bin")


def make_app(work, binaries, page_folder):
    """The check app: its page (index.html and the workers of testing/live/app, checks.js of page_folder)
    and some files in a bundle, others loose, the test extension's configuration."""
    shutil.rmtree(work, ignore_errors=True)
    bundled, app = os.path.join(work, "bundled"), os.path.join(work, "LiveChecks")
    sound = wav(75)
    write_files({
        **{os.path.join(bundled, name): read(LIVE_APP, name)
           for name in ("index.html", "check_kit.js", "workers.js", "service-worker.js", "worker-words.js")},
        os.path.join(bundled, "checks.js"): read(page_folder, "checks.js"),
        os.path.join(app, "www", "shared-worker.js"): read(LIVE_APP, "shared-worker.js"),
        os.path.join(bundled, "tessarine.js"): read(ROOT, "client", "tessarine.js"),
        os.path.join(bundled, "bundle.txt"): b"from the bundle",
        os.path.join(bundled, "media", "bundle.wav"): sound,
        os.path.join(app, "www", "folder-only.txt"): b"from the folder",
        os.path.join(app, "www", "notes", "read me {1}.txt"): b"a name with spaces",
        os.path.join(app, "www", "media", "folder.wav"): sound,
        os.path.join(app, "package.json"): json.dumps({
            "name": "TessarineLiveChecks", "chromium-args": "--autoplay-policy=no-user-gesture-required",
            "window": {"title": "Live checks", "width": 800, "height": 600}}),
        os.path.join(work, "extension.json"): json.dumps({"componentIds": ["live-component"],
                                                          "message": {"echo": True}}),
    })
    shutil.copy(os.path.join(test_bin(binaries), "Orvanta.dll"), app)
    pack(binaries, bundled, os.path.join(app, "www", "assets.dat"))
    return app


def pack(binaries, folder, bundle):
    os.makedirs(os.path.dirname(bundle), exist_ok=True)
    subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), os.path.join(binaries, "tessarine-pack.exe"), "create",
                    windows_path(folder), windows_path(bundle)], check=True, stdout=subprocess.DEVNULL)


def page_app(work, name, body):
    app = os.path.join(work, name)
    write_files({
        os.path.join(app, "package.json"): json.dumps({"name": name, "window": {"width": 480, "height": 360}}),
        os.path.join(app, "www", "index.html"): f"<!doctype html><title>{name}</title>{body}",
    })
    return app


def run_judged(app, binaries, work, steps=None, *arguments, **environment):
    """A judged run: exit code, printed lines and the results file's content."""
    results = os.path.join(work, os.path.basename(app) + "-results.json")
    if os.path.exists(results):
        os.remove(results)
    extra = []
    if steps is not None:
        script = os.path.join(work, os.path.basename(app) + "-steps.json")
        write_files({script: steps if isinstance(steps, str) else json.dumps(steps)})
        extra = ["--input", script]
    code, lines = run_app(app, binaries, "--results", results, *extra, *arguments, **environment)
    saved = json.load(open(results, encoding="utf-8")) if os.path.exists(results) else {}
    return code, lines, saved


def sample_app(work, binaries):
    """The sample app of scripts/demo, packed, with the test extension answering it."""
    source, app = os.path.join(work, "sample-source"), os.path.join(work, "TessarineSample")
    shutil.rmtree(source, ignore_errors=True)
    shutil.rmtree(app, ignore_errors=True)
    subprocess.run(["python3", os.path.join(ROOT, "scripts", "make-sample-app.py"), source], check=True)
    write_files({os.path.join(source, "tessarine.js"): read(ROOT, "client", "tessarine.js"),
                 os.path.join(app, "package.json"): json.dumps({
                     "name": "TessarineSample", "chromium-args": "--autoplay-policy=no-user-gesture-required",
                     "window": {"title": "Tessarine sample", "width": 960, "height": 600}})})
    shutil.copy(os.path.join(test_bin(binaries), "Orvanta.dll"), app)
    pack(binaries, source, os.path.join(app, "www", "assets.dat"))
    return app


def game_apps(work, binaries, game):
    """The game as loose files, and packed into www\\assets.dat."""
    config = json.dumps({"name": "Game2048", "window": {"title": "2048", "width": 540, "height": 720}})
    loose, packed = os.path.join(work, "Game2048Loose"), os.path.join(work, "Game2048Packed")
    for app in (loose, packed):
        shutil.rmtree(app, ignore_errors=True)
        write_files({os.path.join(app, "package.json"): config})
    shutil.copytree(game, os.path.join(loose, "www"))
    pack(binaries, game, os.path.join(packed, "www", "assets.dat"))
    return [("loose files", loose), ("packed", packed)]


def make_worker_app(work):
    """An app whose page starts the check app's service and shared worker, logs what each
    answered or why it failed ("service worker answered: ..." / "... failed: ..."), and
    closes; a scenario that leaves ICoreWebView2_22 out of the runtime."""
    app, scenario = os.path.join(work, "Workers"), os.path.join(work, "no-webview22.scenario")
    page = """<title>Workers</title><script type="module">
import { serviceWorkerAnswer, sharedWorkerAnswer } from './workers.js';
const outcome = (answer) => Promise.race([answer, new Promise((_, reject) => setTimeout(reject, 10000, Error('none')))])
  .then((text) => `answered: ${text}`, (error) => `failed: ${error.message}`);
console.log(`service worker ${await outcome(serviceWorkerAnswer())}`);
console.log(`shared worker ${await outcome(sharedWorkerAnswer())}`);
window.close();
</script>"""
    write_files({
        os.path.join(app, "package.json"): '{"name": "Workers", "window": {"title": "Workers"}}',
        os.path.join(app, "www", "index.html"): page,
        os.path.join(app, "www", "bundle.txt"): "from the bundle",
        os.path.join(app, "www", "folder-only.txt"): "from the folder",
        **{os.path.join(app, "www", name): read(LIVE_APP, name)
           for name in ("workers.js", "service-worker.js", "shared-worker.js", "worker-words.js")},
        scenario: "offer webview22 off\n",
    })
    return app, scenario


def make_idle_app(work):
    """An app in fixed mode whose page never closes, and a Chromium that knows its version,
    then fails to start."""
    fake = os.path.join(work, "fake-chromium")
    app = os.path.join(work, "Idle")
    write_files({
        fake: '#!/bin/sh\n[ "$1" = --version ] && echo "Chromium 99.0.1.2" && exit 0\nexit 3\n',
        os.path.join(app, "package.json"): json.dumps({
            "name": "Idle", "window": {"title": "Idle", "width": 320, "height": 200, "background-color": [18, 52, 86]},
            "settings": {"distribution-mode": "fixed"}}),
        os.path.join(app, "www", "index.html"): "<title>Idle</title><script>console.warn('idle')</script>",
    })
    os.chmod(fake, 0o755)
    return app, fake


def make_lifecycle_app(work, name, script, settings=None):
    """An app whose page runs `script` (a module, with `tessarine` imported) after its handshake."""
    app = os.path.join(work, name)
    shutil.rmtree(app, ignore_errors=True)
    write_files({
        os.path.join(app, "package.json"): json.dumps({"name": name, "settings": settings or {}}),
        os.path.join(app, "www", "tessarine.js"): read(ROOT, "client", "tessarine.js"),
        os.path.join(app, "www", "index.html"): (
            f"<title>{name}</title><script type=module>import tessarine from './tessarine.js';\n"
            f"const ready = await tessarine.ready();\nconsole.log('ready, restarted: ' + ready.restarted);\n{script}"
            "</script>"),
    })
    return app


def run_app(app, binaries, *arguments, **environment):
    """scripts/run-app on the app: its exit code and the lines it printed."""
    run = subprocess.run([os.path.join(ROOT, "scripts", "run-app"), app, *arguments],
                         env=dict(os.environ, TESSARINE_LIVE_BIN=binaries, **environment),
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(run.stdout)
    return run.returncode, run.stdout.splitlines()


def run_watched(binaries, exe, **environment):
    """An executable under the message box watcher: its exit code and output."""
    for attempt in range(3):
        run = subprocess.run([os.path.join(ROOT, "scripts", "wine-run"),
                              os.path.join(test_bin(binaries), "tessarine-msgbox-watcher.exe"), "--run", "--timeout-ms", "60000",
                              windows_path(exe)], env=dict(os.environ, **environment),
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        print(run.stdout + run.stderr)
        # Just after a process of the same image was terminated, Wine now and then refuses to
        # start it (error 1359): that is not the host's answer, so try again.
        if "cannot start" not in run.stderr:
            break
        time.sleep(2)
    return run.returncode, run.stdout


def transcript(app):
    """The transcript run-app kept of the app's last run, one object per line."""
    path = os.path.join(ROOT, "build", "run-app", os.path.basename(app), "transcript.jsonl")
    return [json.loads(line) for line in open(path, encoding="utf-8")] if os.path.exists(path) else []


def transcript_has(lines, ev, **members):
    return any(line.get("ev") == ev and all(line.get(k) == v for k, v in members.items()) for line in lines)


def report(expectations):
    """Prints each (what, ok) and the count; the exit code."""
    failures = [what for what, ok in expectations if not ok]
    for what, ok in expectations:
        print(("ok   " if ok else "FAIL ") + what)
    print(f"{len(expectations) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


def png_size(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as file:
        head = file.read(24)
    return struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else None


def png_corner(path):
    """The top-left pixel's red, green and blue: every row filter leaves the first pixel of the
    first row as it is."""
    data = read(path)
    chunks, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            chunks += data[at + 8:at + 8 + length]
        at += 12 + length
    return tuple(zlib.decompress(chunks)[1:4])
