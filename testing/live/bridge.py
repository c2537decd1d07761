#!/usr/bin/python3
"""The live bridge: runs a host command (tessarine.exe under Wine) with the
stand-in runtime in live mode and gives it a real Chromium as its browser.

    bridge.py --profile DIR [--keep-profile] [--screenshot FILE] [--timeout SECONDS]
              [--for SECONDS] [--input FILE] [--results FILE] -- COMMAND...

The stand-in finds the bridge through TESSARINE_LIVE_BRIDGE (host:port of a
loopback socket; one JSON object per line each way). The page's console
messages, uncaught errors and dialogs are printed one line each; the command's
own output passes through. When the command ends (or the timeout does), the
page is saved as a PNG as it then stands, the browser is closed and the
bridge exits with the command's exit code (124 after the timeout).

With --for or --input the run is judged (tools/play): the script is played into the
page, and the bridge ends the command itself and exits with 0 (passed) or 1 (failed,
with the reason on the last line)."""
import argparse
import asyncio
import json
import os
import signal
import sys

from live_page import GONE, LivePage, browser_version

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "play"))
from judged_run import JudgedRun  # noqa: E402
from steps import ScriptError, load_steps  # noqa: E402

TIMED_OUT = 124
ORIGIN = "https://tessarine.localhost/"  # the host's app origin: its answers are the app's files


def print_line(level, text):
    # One line per message: line breaks inside it are shown, not printed.
    flat = text.replace("\r", "").replace("\n", "\\n")
    sys.stdout.write(f"{level}: {flat}\n" if level else f"{flat}\n")
    sys.stdout.flush()


class HostLink:
    """The stand-in's connection: operations in, events out."""

    def __init__(self, page_factory, version):
        self._page_factory = page_factory
        self._version = version
        self._writer = None
        self.page = None

    def send(self, event):
        if self._writer and not self._writer.is_closing():
            self._writer.write((json.dumps(event) + "\n").encode())

    async def serve(self, reader, writer):
        if self._writer is not None:
            writer.close()  # one host per bridge
            return
        self._writer = writer
        self.send({"ev": "hello", "browserVersion": self._version})
        self.page = self._page_factory(self.send)
        try:
            while line := await reader.readline():
                try:
                    await self._on_op(json.loads(line))
                except Exception as error:  # a bad operation must not end the page
                    # One that met the page's renderer going (a crash) is no news.
                    if not any(gone in str(error) for gone in GONE):
                        print_line("bridge", f"{type(error).__name__}: {error}")
        except ConnectionResetError:
            pass  # the host was ended

    async def _on_op(self, message):
        op = message.get("op")
        page = self.page
        if op in ("start", "page"):
            reply = {"ev": "browser" if op == "start" else "page", "ok": True}
            try:
                if op == "start":
                    await page.start(message.get("arguments", ""))
                else:
                    await page.create_page(message.get("background", [255, 255, 255, 255]))
            except Exception as error:
                reply = {"ev": reply["ev"], "ok": False, "error": str(error)}
                print_line("bridge", f"the browser could not be started: {error}")
            self.send(reply)
        elif op == "navigate":
            await page.navigate(message["uri"], message.get("settings", {}))
        elif op == "filters":
            await page.set_filters(message.get("filters", []))
        elif op == "bounds":
            await page.set_bounds(message["width"], message["height"], message.get("scale", 1.0),
                                  message.get("screenWidth", 0), message.get("screenHeight", 0))
        elif op == "visible":
            await page.set_visible(bool(message.get("value")))
        elif op == "reload":
            await page.reload()
        elif op == "post":
            page.post(message["json"], message.get("objects"))
        elif op in ("navigation", "new-window", "permission"):
            page.answer(op, message)
        elif op == "response":
            page.response(message)
        elif op == "body":
            page.body(message)
        elif op == "end":
            page.body_end(message)
        else:
            print_line("bridge", f"unknown operation {op!r}")


def judged_run(options):
    """The judge of a run with --for or --input, or None."""
    if options.seconds is None and options.input is None:
        return None
    return JudgedRun(options.steps or [], options.seconds, ORIGIN, print_line, options.results)


def page_factory(options, judged):
    """Live pages whose console lines, answers and loads the judge sees too."""
    def console(level, text):
        # Once the verdict is out, what the page says while it is torn down (loads cut off
        # with the host) is no part of the run, and would push the verdict off the last line.
        if judged and judged.over:
            return
        print_line(level, text)
        if judged:
            judged.console(level, text)

    def make(send):
        page = LivePage(options.profile, send, console, keep_profile=options.keep_profile)
        page.judged = judged
        return page
    return make


async def run(options):
    version = browser_version()
    if not version:
        print_line("bridge", "no Chromium found: the host will find no browser runtime")
    judged = judged_run(options)
    link = HostLink(page_factory(options, judged), version)
    # A generous limit: body pieces are lines of a few hundred KiB.
    server = await asyncio.start_server(link.serve, "127.0.0.1", 0, limit=64 * 1024 * 1024)
    port = server.sockets[0].getsockname()[1]
    environment = dict(os.environ, TESSARINE_LIVE_BRIDGE=f"127.0.0.1:{port}")
    host = await asyncio.create_subprocess_exec(*options.command, env=environment, start_new_session=True,
                                                stdout=asyncio.subprocess.PIPE if judged else None)
    try:
        try:
            if judged:
                code = await judged.watch(host, options.timeout)
            else:
                # The command keeps its own timeout; this one is for a command that hangs on its way out.
                code = await asyncio.wait_for(host.wait(), options.timeout + 60 if options.timeout else None)
        except (asyncio.TimeoutError, asyncio.CancelledError) as stopped:
            if host.returncode is None:
                os.killpg(host.pid, signal.SIGKILL)
            await host.wait()
            if isinstance(stopped, asyncio.CancelledError):
                raise
            code = TIMED_OUT
        server.close()
        if options.screenshot:
            if link.page and link.page.has_page():
                try:
                    await asyncio.wait_for(link.page.screenshot(options.screenshot), 30)
                except Exception as error:
                    print_line("bridge", f"no screenshot: {error}")
            else:
                print_line("bridge", "no screenshot: the host never opened a page")
        if judged:
            await judged.finish(link.page, code)
        return code
    finally:
        # Chromium runs in a session of its own: it goes only when we close it.
        if link.page:
            await link.page.close()


async def run_until_stopped(options):
    """run(), ended in good order by SIGTERM or SIGINT (the browser is closed, not left behind)."""
    task = asyncio.current_task()
    for stop in (signal.SIGTERM, signal.SIGINT):
        asyncio.get_running_loop().add_signal_handler(stop, task.cancel)
    try:
        return await run(options)
    except asyncio.CancelledError:
        return 128 + signal.SIGTERM


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--profile", required=True, help="a folder for the browser's profile (emptied)")
    parser.add_argument("--keep-profile", action="store_true", help="keep what the profile holds from earlier runs")
    parser.add_argument("--for", dest="seconds", type=float, help="judge the run: pass when still running then")
    parser.add_argument("--input", help="judge the run: a JSON play script to play into the page")
    parser.add_argument("--results", help="a judged run's results, as JSON, here")
    parser.add_argument("--screenshot", help="save the page as a PNG here at the end")
    parser.add_argument("--timeout", type=float, default=0, help="the command's own timeout, in seconds")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    if options.command[:1] == ["--"]:
        options.command = options.command[1:]
    if not options.command:
        parser.error("no command to run")
    try:
        options.steps = load_steps(options.input) if options.input else None
    except ScriptError as error:
        print_line("fail", str(error))
        sys.exit(1)
    sys.exit(asyncio.run(run_until_stopped(options)))


if __name__ == "__main__":
    main()
