#!/usr/bin/python3
"""Judged runs of scripts/run-app (--for, --input, --results, --profile) on small pages
in the real host with a real Chromium, and a third-party game played by a script."""
import argparse
import json
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "testing", "live"))
from live_app import (ROOT, game_apps, page_app, png_size, read, report, run_judged, sample_app,  # noqa: E402
                      windows_path)

PLAY = os.path.join(HERE, "play")

# What the recorder page saw of recorder.json, in order: (type, key, code, keyCode, shift) for
# keys, (type, x, y, buttons) for the mouse.
KEY_EVENTS = [("keydown", "ArrowLeft", "ArrowLeft", 37, False), ("keyup", "ArrowLeft", "ArrowLeft", 37, False),
              ("keydown", "Shift", "ShiftLeft", 16, True), ("keydown", "A", "KeyA", 65, True),
              ("keyup", "A", "KeyA", 65, True), ("keyup", "Shift", "ShiftLeft", 16, False),
              ("keydown", "Enter", "Enter", 13, False), ("keyup", "Enter", "Enter", 13, False)]
MOUSE_EVENTS = [("mousemove", 40, 20, 0), ("mousedown", 40, 20, 1), ("mouseup", 40, 20, 0), ("click", 40, 20, 0),
                ("mousemove", 60, 70, 0), ("wheel", 60, 70, 0)]

# Smoke pages: (what, page script, --for seconds, exit code, what the last line starts with).
SMOKE = [
    ("a page that throws after 1 s", "setTimeout(() => { throw new Error('late trouble'); }, 1000);", 5, 1,
     "fail: the page threw: Uncaught Error: late trouble"),
    ("a page that asks for a missing file", "document.head.append(Object.assign(document.createElement('script'), "
     "{ src: 'missing.js' }));", 5, 1, "fail: https://tessarine.localhost/missing.js did not load: the host answered 404"),
    ("a quiet page", "console.log('quiet');", 3, 0, "frames: "),
    ("a page that closes itself", "setTimeout(() => window.close(), 500);", 60, 0, "frames: "),
]

# Failing scripts: (what, steps, the reason).
FAILING = [
    ("a false expect", [{"expect": "document.title === 'Values'"}, {"expect": "innerWidth < 0"}],
     "fail: step 2: expected innerWidth < 0, but it was false"),
    ("a throwing expression", [{"eval": "noSuchThing.size"}],
     "fail: step 1: noSuchThing.size threw ReferenceError: noSuchThing is not defined"),
]

# Scripts refused before the run: (what, script text, part of the reason).
REFUSED = [
    ("an unknown step", '[{"key": "a"}, {"jump": 3}]', 'step 2: unknown step "jump"'),
    ("an unknown key", '[{"keydown": "Left"}]', 'step 1: keydown unknown key "Left"'),
    ("a click without a point", '[{"click": [1]}]', "step 1: click needs two numbers, [x, y]"),
    ("no array", '{"key": "a"}', "the script must be a JSON array of steps"),
]


def last(lines):
    return lines[-1] if lines else ""


def check_input(work, binaries):
    """The recorder page: every step arrives as written, in order, trusted, with its waits."""
    body = read(PLAY, "recorder.html").decode()
    app = page_app(work, "Recorder", body)
    code, lines, saved = run_judged(app, binaries, work, read(PLAY, "recorder.json").decode())
    evals = saved.get("evals", [])
    focused = evals[0]["value"] if evals else None
    events = evals[-1]["value"] if len(evals) == 2 else []
    keys = [(e["type"], e["key"], e["code"], e["keyCode"], e["shift"]) for e in events if e["type"].startswith("key")]
    mouse = [(e["type"], e["x"], e["y"], e["buttons"]) for e in events
             if e["type"].startswith(("mouse", "wheel", "click"))]
    typed = [e["data"] for e in events if e["type"] == "input"]
    gap = next((b["at"] - a["at"] for a, b in zip(events, events[1:]) if a["key"] == "ArrowLeft" and b["key"] == "Shift"),
               0)
    wheel = [e["deltaY"] for e in events if e["type"] == "wheel"]
    return [
        ("input: the run passed", code == 0 and last(lines).startswith("frames: ")),
        ("input: the page has the keyboard focus from the start", focused is True),
        ("input: the keys arrived with their key, code and keyCode, in order", keys == KEY_EVENTS),
        ("input: the click, the move and the wheel arrived where they were sent", mouse == MOUSE_EVENTS),
        ("input: the wheel turned as far as asked", wheel == [120]),
        ("input: the text was typed into the field the click focused", typed == ["hé"]),
        ("input: every event was trusted", bool(events) and all(e["trusted"] for e in events)),
        ("input: the wait came between the steps it stood between", gap >= 290),
        ("input: the eval results were printed as JSON", "eval: true" in lines),
    ]


def check_smoke(work, binaries):
    results, frames = [], {}
    for number, (what, script, seconds, wanted_code, wanted_last) in enumerate(SMOKE):
        app = page_app(work, f"Smoke{number}", f"<script>{script}</script>")
        code, lines, saved = run_judged(app, binaries, work, None, "--for", str(seconds))
        frames[what] = saved.get("frames", {})
        results.append((f"smoke: {what}: exit code {wanted_code}", code == wanted_code))
        results.append((f"smoke: {what}: the last line is {wanted_last!r} (got {last(lines)!r})",
                        last(lines).startswith(wanted_last)))
        results.append((f"smoke: {what}: the results file says so",
                        saved.get("passed") == (wanted_code == 0) and saved.get("exitCode") == wanted_code))
    quiet = frames["a quiet page"]
    results.append(("smoke: the frame statistics of a quiet page",
                    quiet.get("frames", 0) > 30 and 0 < quiet.get("medianMs", 0) < 100
                    and quiet.get("p99Ms", 0) >= quiet.get("medianMs", 0) and isinstance(quiet.get("longTasks"), int)))
    return results


def check_values(work, binaries):
    """eval and expect: values round-trip as JSON; a false or throwing one fails naming it."""
    app = page_app(work, "Values", "")
    code, lines, saved = run_judged(app, binaries, work, json.loads(read(PLAY, "values.json")))
    wanted = [{"n": 1, "s": "é ☃", "list": [1, "two", None, True], "nested": {"a": {"b": []}}}, 42, None]
    results = [
        ("values: the run passed", code == 0),
        ("values: eval results round-trip as JSON", [e.get("value") for e in saved.get("evals", [])[:3]] == wanted),
        ("values: each eval printed one line", "eval: 42" in lines and "eval: null" in lines),
        ("values: the expects passed and were saved", [e.get("passed") for e in saved.get("evals", [])[3:]]
         == [True, True]),
    ]
    for what, steps, reason in FAILING:
        code, lines, saved = run_judged(app, binaries, work, steps)
        results.append((f"values: {what} fails the run (exit code 1)", code == 1 and saved.get("passed") is False))
        results.append((f"values: {what}: {reason!r} on the last line (got {last(lines)!r})", last(lines) == reason))
    for what, text, reason in REFUSED:
        code, lines, _ = run_judged(app, binaries, work, text)
        results.append((f"refused before the run: {what}", code == 1 and reason in last(lines)
                        and not any(line.startswith("frames: ") for line in lines)))
    return results


def check_profile(work, binaries):
    """--profile keeps localStorage from one run to the next; without it every run is fresh."""
    app = page_app(work, "Starts", "<script>localStorage.starts = Number(localStorage.starts || 0) + 1;</script>")
    profile = os.path.join(work, "starts-profile")
    shutil.rmtree(profile, ignore_errors=True)
    steps = [{"eval": "Number(localStorage.starts)"}]
    counts = [run_judged(app, binaries, work, steps, *arguments)[2].get("evals", [{}])[0].get("value")
              for arguments in (["--profile", profile], ["--profile", profile], [])]
    return [("profile: the starts counted 1, then 2, and 1 again without --profile", counts == [1, 2, 1])]


def check_sample(work, binaries):
    """The sample app played by docs/play/sample.json, with a screenshot before and after."""
    for shot in ("sample-before.png", "sample-after.png"):
        if os.path.exists(shot):
            os.remove(shot)
    code, lines, saved = run_judged(sample_app(work, binaries), binaries, work,
                                read(ROOT, "docs", "play", "sample.json").decode(), "--timeout", "120",
                                TESSARINE_TEST_EXTENSION_CONFIG=windows_path(
                                    os.path.join(ROOT, "testing", "extension", "demo_config.json")))
    return [
        ("sample: played to its end and passed", code == 0 and saved.get("stepsPlayed") == 9),
        ("sample: screenshots before and after, and they differ",
         None not in (png_size("sample-before.png"), png_size("sample-after.png"))
         and read("sample-before.png") != read("sample-after.png")),
    ]


def check_game(work, binaries, game):
    """A published game nobody here wrote, played with the arrow keys and judged on its own state."""
    results = []
    for how, app in game_apps(work, binaries, game):
        for shot in ("2048-before.png", "2048-after.png"):
            if os.path.exists(shot):
                os.remove(shot)
        code, lines, saved = run_judged(app, binaries, work, read(ROOT, "docs", "play", "2048.json").decode(), "--for", "3")
        results.append((f"game, {how}: played and passed", code == 0 and saved.get("stepsPlayed") == 15))
        score = [e["value"] for e in saved.get("evals", []) if e.get("eval") == "game.gameManager.score"]
        results.append((f"game, {how}: the game's score was read back", len(score) == 1 and isinstance(score[0], int)))
        results.append((f"game, {how}: screenshots before and after",
                        png_size("2048-before.png") == png_size("2048-after.png") == (540, 720)
                        and read("2048-before.png") != read("2048-after.png")))
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--work", required=True, help="a scratch folder")
    parser.add_argument("--game", required=True, help="the game's folder (testing/game's package, installed)")
    options = parser.parse_args()
    work, binaries, game = (os.path.abspath(path) for path in (options.work, options.bin, options.game))
    os.makedirs(work, exist_ok=True)
    os.chdir(work)  # where the scripts' screenshots go
    if not os.path.isfile(os.path.join(game, "index.html")):
        print(f"FAIL the game is not installed in {game}: scripts/test installs it")
        return 1
    expectations = (check_input(work, binaries) + check_smoke(work, binaries) + check_values(work, binaries)
                    + check_profile(work, binaries) + check_sample(work, binaries)
                    + check_game(work, binaries, game))
    return report(expectations)


if __name__ == "__main__":
    sys.exit(main())
