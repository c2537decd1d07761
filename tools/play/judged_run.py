"""A judged run: the host is watched while the play script runs and the time passes,
and the run ends with a verdict (pass, or fail with its reason) and frame statistics."""
import asyncio
import json
import os
import signal

from judge import FRAME_RECORDER, FRAMES, Judge, frame_line, frame_statistics
from player import Failure, Player

TIMED_OUT = 124


class JudgedRun:
    def __init__(self, steps, seconds, origin, say, results=None):
        self._steps = steps
        self._seconds = seconds or 0  # counted from the page's first load
        self._say = say
        self._results = results
        self.over = False  # the verdict has been printed
        self._loaded = asyncio.Event()
        self._player = None
        self._closed_itself = False
        self.judge = Judge(origin)

    # What the live page tells.

    async def page_created(self, command):
        # Called again for the page that replaces one whose renderer crashed: the play goes on.
        if self._player is None:
            self._player = Player(command, self._say)
        await command("Page.addScriptToEvaluateOnNewDocument", {"source": FRAME_RECORDER})
        # The real window gives the page the keyboard focus; headless, the page must be told it has it.
        await command("Emulation.setFocusEmulationEnabled", {"enabled": True})

    def page_loaded(self):
        self._loaded.set()

    def console(self, level, text):
        self.judge.console(level, text)

    def response(self, url, status, reason):
        self.judge.response(url, status, reason)

    # The run.

    async def _play(self):
        await self._loaded.wait()
        started = asyncio.get_running_loop().time()
        try:
            await self._player.play(self._steps)
        except Failure as failure:
            self.judge.fail(f"step {self._player.played + 1}: {failure}")
            return
        except Exception as error:  # the browser refused a command, or went away
            self.judge.fail(f"step {self._player.played + 1}: the browser failed it: {error}")
            return
        left = self._seconds - (asyncio.get_running_loop().time() - started)
        if left > 0:
            await asyncio.sleep(left)

    async def _relay(self, stream):
        """The host's own lines (message boxes among them) go on to our output."""
        while line := await stream.readline():
            text = line.decode(errors="replace").rstrip("\r\n")
            self._say(None, text)
            self.judge.host_line(text)

    async def watch(self, host, timeout):
        """Waits for the host to end, the run to fail or the script and the time to be over, and
        ends the host if it still runs. The exit code: 0 passed, 1 failed, 124 the timeout came first."""
        relay = asyncio.ensure_future(self._relay(host.stdout))
        play = asyncio.ensure_future(self._play())
        ended = asyncio.ensure_future(host.wait())
        failed = asyncio.ensure_future(self.judge.failed.wait())
        try:
            await asyncio.wait({play, ended, failed}, timeout=timeout + 60 if timeout else None,
                               return_when=asyncio.FIRST_COMPLETED)
            host_ended, play_done = ended.done(), play.done()
        finally:
            play.cancel()
            failed.cancel()
            if host.returncode is None:
                os.killpg(host.pid, signal.SIGKILL)
            await ended
            try:
                # A Wine process left behind may hold the output open: its last lines are not waited for long.
                await asyncio.wait_for(relay, 5)
            except asyncio.TimeoutError:
                pass
        if self.judge.reason:
            return 1
        if play_done:
            return 0
        if not host_ended or host.returncode == TIMED_OUT:
            self.judge.fail(f"the timeout ({timeout} s) ended the run first")
            return TIMED_OUT
        played, total = (self._player.played if self._player else 0), len(self._steps)
        if host.returncode != 0:
            self.judge.fail(f"the host ended with exit code {host.returncode}")
        elif played < total:
            self.judge.fail(f"the app closed itself after {played} of the {total} steps")
        self._closed_itself = True
        return 0 if self.judge.reason is None else 1

    async def finish(self, page, code):
        """The frame statistics, the verdict and the results file."""
        sample = None
        if page and page.has_page():
            try:
                answer = await asyncio.wait_for(page.command("Runtime.evaluate", {
                    "expression": FRAMES, "returnByValue": True}), 10)
                sample = answer.get("result", {}).get("value")
            except Exception as error:
                self._say("bridge", f"no frame statistics: {error}")
        stats = frame_statistics(sample)
        if code == 0 and self._closed_itself:
            self._say("pass", "the app closed itself and nothing went wrong")
        elif code == 0:
            self._say("pass", "nothing went wrong" + (f" in {self._seconds:g} s" if self._seconds else ""))
        self._say("frames", frame_line(stats))
        if code != 0:
            self._say("fail", self.judge.reason)
        self.over = True
        if self._results:
            results = {"passed": code == 0, "reason": self.judge.reason, "exitCode": code,
                       "stepsPlayed": self._player.played if self._player else 0,
                       "evals": self._player.evals if self._player else [], "frames": stats}
            with open(self._results, "w", encoding="utf-8") as file:
                json.dump(results, file, indent=2, ensure_ascii=False)
                file.write("\n")
