"""Plays checked steps (steps.py) into a page through the DevTools protocol: keys, text,
the mouse and the wheel go through the browser's own input, so the page gets trusted
events; eval and expect read the page's state back."""
import asyncio
import base64
import json
import os

from steps import KEYS, MODIFIERS

UNTIL_SECONDS = 30  # how long an until step waits for its expression
UNTIL_POLL_SECONDS = 0.1
# Moves and wheel turns reach the page with its next frames, after the command has returned.
NEXT_FRAMES = "new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))"


class Failure(Exception):
    """A step that makes the run fail; the message is the reason."""


def truthy(remote):
    """Whether a protocol RemoteObject is truthy in JavaScript."""
    kind = remote.get("type")
    if "unserializableValue" in remote:
        return remote["unserializableValue"] not in ("NaN", "-0", "0n")
    if kind == "undefined" or remote.get("subtype") == "null":
        return False
    if kind in ("boolean", "number", "string"):
        return bool(remote.get("value"))
    return True  # objects, functions, symbols


def thrown_message(details):
    """The first line of what an expression threw ("TypeError: x is not a function")."""
    exception = details.get("exception") or {}
    text = exception.get("description") or str(exception.get("value", "")) or details.get("text", "")
    return text.split("\n", 1)[0]


class Player:
    def __init__(self, call, say):
        self._call = call  # a protocol command in the page's session
        self._say = say  # one printed line: (label, text)
        self._modifiers = 0
        self._mouse = (0, 0)
        self.evals = []  # what eval and expect steps read, for the results file
        self.played = 0

    async def play(self, steps):
        for kind, value in steps:
            await getattr(self, "_" + kind)(value)
            self.played += 1

    async def _key(self, name):
        await self._keydown(name)
        await self._keyup(name)

    async def _keydown(self, name):
        code, vk, text = KEYS[name]
        self._modifiers |= MODIFIERS.get(name, 0)
        event = {"type": "keyDown" if text else "rawKeyDown", "key": name, "code": code,
                 "windowsVirtualKeyCode": vk, "modifiers": self._modifiers}
        if text:
            event.update(text=text, unmodifiedText=text)
        await self._call("Input.dispatchKeyEvent", event)

    async def _keyup(self, name):
        code, vk, _ = KEYS[name]
        self._modifiers &= ~MODIFIERS.get(name, 0)
        await self._call("Input.dispatchKeyEvent", {"type": "keyUp", "key": name, "code": code,
                                                    "windowsVirtualKeyCode": vk, "modifiers": self._modifiers})

    async def _text(self, text):
        await self._call("Input.insertText", {"text": text})

    async def _mouse_event(self, kind, **fields):
        x, y = self._mouse
        await self._call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y,
                                                      "modifiers": self._modifiers, **fields})

    async def _settle(self):
        await self._call("Runtime.evaluate", {"expression": NEXT_FRAMES, "awaitPromise": True})

    async def _move(self, point):
        self._mouse = tuple(point)
        await self._mouse_event("mouseMoved")
        await self._settle()

    async def _click(self, point):
        await self._move(point)
        await self._mouse_event("mousePressed", button="left", buttons=1, clickCount=1)
        await self._mouse_event("mouseReleased", button="left", buttons=0, clickCount=1)

    async def _wheel(self, delta):
        await self._mouse_event("mouseWheel", deltaX=delta[0], deltaY=delta[1])
        await self._settle()

    async def _wait(self, milliseconds):
        await asyncio.sleep(milliseconds / 1000)

    async def _screenshot(self, path):
        shot = await self._call("Page.captureScreenshot", {"format": "png"})
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        with open(path, "wb") as file:
            file.write(base64.b64decode(shot["data"]))
        self._say("screenshot", path)

    async def _evaluate(self, expression, by_value):
        answer = await self._call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                       "returnByValue": by_value})
        if "exceptionDetails" in answer:
            raise Failure(f"{expression} threw {thrown_message(answer['exceptionDetails'])}")
        return answer["result"]

    async def _eval(self, expression):
        # As JSON.stringify has it: undefined, NaN and the infinities become null.
        value = (await self._evaluate(expression, True)).get("value")
        self.evals.append({"eval": expression, "value": value})
        self._say("eval", json.dumps(value, ensure_ascii=False))

    async def _expect(self, expression):
        result = await self._evaluate(expression, False)
        passed = truthy(result)
        self.evals.append({"expect": expression, "passed": passed})
        if not passed:
            shown = (result.get("description") or result.get("unserializableValue")
                     or ("undefined" if result.get("type") == "undefined" else json.dumps(result.get("value"))))
            raise Failure(f"expected {expression}, but it was {shown}")
        self._say("expect", f"{expression}: ok")

    async def _until(self, expression):
        loop = asyncio.get_running_loop()
        give_up = loop.time() + UNTIL_SECONDS
        while not truthy(await self._evaluate(expression, False)):
            if loop.time() > give_up:
                raise Failure(f"{expression} was still not true after {UNTIL_SECONDS} s")
            await asyncio.sleep(UNTIL_POLL_SECONDS)
        self._say("until", f"{expression}: ok")
