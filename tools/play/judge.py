"""What makes a judged run of scripts/run-app fail, and the frame statistics it ends with."""
import asyncio
import os

with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "frame_recorder.js"), encoding="utf-8") as file:
    FRAME_RECORDER = file.read()
FRAMES = "globalThis[Symbol.for('tessarine.frames')]?.()"
LONG_TASK_MS = 50  # what the engine counts as a long task


class Judge:
    """Keeps the first reason the run fails for; failed is set as soon as there is one."""

    def __init__(self, origin):
        self._origin = origin
        self.reason = None
        self.failed = asyncio.Event()

    def fail(self, reason):
        if self.reason is None:
            self.reason = reason
            self.failed.set()

    def console(self, level, text):
        if level == "error" and text.startswith("Uncaught"):
            self.fail(f"the page threw: {text}")

    def host_line(self, line):
        if line.startswith("box: "):
            self.fail(f"the host showed a message box: {line[5:]}")

    def response(self, url, status, reason):
        # The browser asks for /favicon.ico by itself when the page names no icon: not a file of the app.
        if url == self._origin + "favicon.ico":
            return
        if url.startswith(self._origin) and status >= 400:
            self.fail(f"{url} did not load: the host answered {status} {reason}".rstrip())


def percentile(values, share):
    """The nearest-rank percentile of a sorted list."""
    rank = max(1, -(-len(values) * share // 1))
    return values[int(rank) - 1]


def frame_statistics(sample):
    """The frame line's numbers from what the recorder kept (None: there was no page to read)."""
    if not sample:
        return {"frames": 0, "medianMs": None, "p99Ms": None, "longTasks": None}
    intervals = sorted(sample.get("intervals") or [])
    return {
        "frames": sample.get("frames", 0),
        "medianMs": round(percentile(intervals, 0.5), 1) if intervals else None,
        "p99Ms": round(percentile(intervals, 0.99), 1) if intervals else None,
        "longTasks": sample.get("longTasks"),
    }


def frame_line(stats):
    def ms(value):
        return "-" if value is None else f"{value} ms"
    long_tasks = "unknown" if stats["longTasks"] is None else stats["longTasks"]
    return (f"{stats['frames']} drawn, median {ms(stats['medianMs'])}, 99th percentile {ms(stats['p99Ms'])}, "
            f"long tasks over {LONG_TASK_MS} ms: {long_tasks}")
