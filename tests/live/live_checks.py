#!/usr/bin/python3
"""Runs the live check app (the page of tests/live/app) through scripts/run-app in the
real host with a real Chromium, and checks what the page reported, the host's exit
code, the screenshot and what the host told the browser."""
import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "testing", "live"))
from live_app import (ROOT, make_app, make_idle_app, make_lifecycle_app, make_worker_app, png_corner,  # noqa: E402
                      png_size, report, run_app, run_watched, transcript, transcript_has, windows_path)

ORIGIN = "https://tessarine.localhost/"
# What each worker of the check app loads from the host: (request source kind, file).
WORKER_REQUESTS = [(4, "service-worker.js"), (4, "worker-words.js"), (4, "bundle.txt"),
                   (2, "shared-worker.js"), (2, "worker-words.js"), (2, "folder-only.txt")]


def check_page(work, binaries):
    """The check app: what its page reported, the exit code, the screenshot, the transcript."""
    app = make_app(work, binaries, os.path.join(HERE, "app"))
    shot = os.path.join(work, "screenshot.png")
    code, output = run_app(app, binaries, "--screenshot", shot, "--timeout", "120",
                           TESSARINE_TEST_EXTENSION_CONFIG=windows_path(os.path.join(work, "extension.json")))
    lines = transcript(app)
    # One check per media source runs from a loop.
    planned = len(re.findall(r"^\s*await check\(", open(os.path.join(HERE, "app", "checks.js")).read(), re.M)) + 1
    return [
        ("the host ended with exit code 0 (window.close)", code == 0),
        (f"the page ran all {planned} checks and none failed",
         f"log: live checks: {planned} passed, 0 failed" in output),
        ("no uncaught error in the page", not any(line.startswith("error: Uncaught") for line in output)),
        ("no message box", not any(line.startswith("box: ") for line in output)),
        ("a screenshot of the final 640x480 viewport", png_size(shot) == (640, 480)),
        ("the foreign navigation was cancelled", transcript_has(
            lines, "live:navigation-starting", uri="https://example.invalid/elsewhere", cancel=True)),
        ("the non-string message came from the page", transcript_has(
            lines, "live:message", source=ORIGIN + "index.html", isString=False)),
        ("the page's title reached the host", transcript_has(lines, "live:title", title="Tessarine live checks")),
        ("the host allowed the prompt", transcript_has(lines, "live:permission", state=1)),
        ("the host handled the new window", transcript_has(lines, "live:new-window", handled=True)),
        ("the workers' requests reached the host with their source kinds", all(
            transcript_has(lines, "live:request", uri=ORIGIN + name, source=source)
            for source, name in WORKER_REQUESTS)),
    ]


def check_plain_filter(work, binaries):
    """Without ICoreWebView2_22 the host adds the plain filter: the workers' requests go to the
    network, which is not there, and the same workers get nothing."""
    app, scenario = make_worker_app(work)
    code, output = run_app(app, binaries, "--timeout", "60", TESSARINE_STANDIN_SCENARIO=windows_path(scenario))
    requests = [line for line in transcript(app) if line.get("ev") == "live:request"]
    return [
        ("plain filter: the host ended with exit code 0", code == 0),
        # Chromium's wording of the fetch failure varies between versions: any registration failure.
        ("plain filter: the service worker did not register",
         any(line.startswith("log: service worker failed:") for line in output)),
        ("plain filter: the shared worker did not start",
         "log: shared worker failed: the shared worker did not start" in output),
        ("plain filter: the page's requests reached the host, none of the workers'",
         any(line["uri"] == ORIGIN + "workers.js" for line in requests)
         and all(line["source"] == 1 and line["uri"] not in (ORIGIN + "service-worker.js", ORIGIN + "shared-worker.js")
                 for line in requests)),
    ]


def check_failures(work, binaries):
    """What run-app and the host say when the browser is missing, fails or the page never ends."""
    app, fake = make_idle_app(work)
    shot = os.path.join(work, "idle.png")
    fixed = "box: Idle | This app is set to \"fixed\" distribution mode, but the WebView2 control failed"
    cases = [
        # what, environment, extra arguments, exit code, a line that must be printed
        ("no Chromium: the runtime is missing", {"TESSARINE_CHROMIUM": "/nonexistent/chromium"}, [], 1, fixed),
        ("Chromium fails to start: the host says so", {"TESSARINE_CHROMIUM": fake}, [], 1,
         "box: Tessarine | The browser control could not be started (error 0x80004005). | error"),
        ("a page that never closes: the timeout", {}, ["--timeout", "4", "--screenshot", shot], 124, "warn: idle"),
    ]
    results = []
    for what, environment, arguments, wanted_code, wanted_line in cases:
        code, output = run_app(app, binaries, *arguments, **environment)
        results.append((f"{what} (exit code {wanted_code})", code == wanted_code))
        results.append((f"{what} (prints {wanted_line!r})", any(line.startswith(wanted_line) for line in output)))
    results.append(("the timed-out page's screenshot, in the configured background colour",
                    png_size(shot) == (320, 200) and png_corner(shot) == (18, 52, 86)))
    code, output = run_app(work, binaries)
    results.append(("a folder without package.json is refused",
                    code == 2 and any("has no package.json" in line for line in output)))
    # The runtime itself, pointed at a bridge that is not there (run-app's copy of Idle).
    code, output = run_watched(binaries, os.path.join(ROOT, "build", "run-app", "Idle", "app", "tessarine.exe"),
                               TESSARINE_LIVE_BRIDGE="127.0.0.1:1")
    results.append(("no bridge to reach: the runtime is missing", code == 1 and fixed in output))
    return results


def check_lifecycle(work, binaries):
    """A crashed renderer and a killed browser come back by themselves and run the handshake again,
    told so; the player's close waits for a page that saves, and not for one that never answers."""
    restart = "if (ready.restarted) window.close(); else console.log('now');"
    saves = "tessarine.onCloseRequested(() => new Promise((r) => setTimeout(r, 500)).then(() => console.log('saved')));"
    cases = [
        # what, page script, settings, trigger, transcript event and how many of it
        ("crashed renderer", restart, {}, "TESSARINE_LIVE_CRASH_ON", "WebView.Reload", 1),
        ("killed browser", restart, {}, "TESSARINE_LIVE_KILL_ON", "Loader.CreateCoreWebView2EnvironmentWithOptions", 2),
        ("saving page closed", saves + "console.log('now');", {}, "TESSARINE_LIVE_CLOSE_ON", "WebView.Reload", 0),
        ("page that never answers closed", "tessarine.onCloseRequested(() => new Promise(() => {}));"
         "console.log('now');", {"close-timeout": 2}, "TESSARINE_LIVE_CLOSE_ON", "WebView.Reload", 0),
    ]
    results, outputs = [], {}
    for what, script, settings, trigger, event, count in cases:
        app = make_lifecycle_app(work, "Lifecycle", script, settings)
        code, output = run_app(app, binaries, "--timeout", "90", **{trigger: "now"})
        outputs[what] = output
        handshakes = [line for line in output if line.startswith("log: ready")]
        results += [
            (f"{what}: exit code 0 and no message box", code == 0 and not any(x.startswith("box: ") for x in output)),
            (f"{what}: {count} x {event}", sum(line.get("ev") == event for line in transcript(app)) == count),
            (f"{what}: the page's handshakes", handshakes == ["log: ready, restarted: false"] + (
                ["log: ready, restarted: true"] if script == restart else [])),
        ]
    results.append(("the saving page's save was logged before the exit", "log: saved" in outputs["saving page closed"]))
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--work", required=True, help="a scratch folder")
    options = parser.parse_args()
    work, binaries = os.path.abspath(options.work), os.path.abspath(options.bin)
    expectations = (check_page(work, binaries) + check_plain_filter(work, binaries) + check_failures(work, binaries)
                    + check_lifecycle(work, binaries))
    return report(expectations)


if __name__ == "__main__":
    sys.exit(main())
