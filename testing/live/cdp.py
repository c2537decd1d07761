"""A DevTools protocol connection over a WebSocket: commands with their answers,
events handed to one listener in the order they arrive."""
import asyncio
import json

import websockets


CLOSED = "the browser connection closed"


class ProtocolError(Exception):
    pass


class Connection:
    def __init__(self, socket, listener):
        self._socket = socket
        self._listener = listener
        self._next_id = 0
        self._waiting = {}
        self._sessions = {}  # command id: the session it went to
        self._gone = set()  # sessions whose target went: what is sent there is never answered
        self._sending = asyncio.Lock()
        self.closed = asyncio.get_running_loop().create_future()

    @classmethod
    async def open(cls, url, listener):
        # Screenshots and whole response bodies make messages of many megabytes.
        socket = await websockets.connect(url, max_size=None, ping_interval=None)
        connection = cls(socket, listener)
        asyncio.create_task(connection._read())
        return connection

    async def call(self, method, params=None, session=None, body=None):
        """Sends a command and waits for its result. body, an iterable of base64
        pieces, becomes params["body"] without being joined in memory."""
        if session in self._gone:
            raise ProtocolError(f"{method}: Session with given id not found")
        self._next_id += 1
        command_id = self._next_id
        message = {"id": command_id}
        if session:
            message["sessionId"] = session
        message["method"] = method
        message["params"] = params or {}
        answer = asyncio.get_running_loop().create_future()
        self._waiting[command_id] = answer
        self._sessions[command_id] = session
        text = json.dumps(message)
        try:
            async with self._sending:
                if body is None:
                    await self._socket.send(text)
                else:
                    # The params object is last: open it again for the body member.
                    head = text[:-2] + (', "body": "' if message["params"] else '"body": "')
                    await self._socket.send(iter([head, *body, '"}}']))
        except websockets.ConnectionClosed:
            self._waiting.pop(command_id, None)
            self._sessions.pop(command_id, None)
            raise ProtocolError(f"{method}: {CLOSED}") from None
        result = await answer
        if "error" in result:
            raise ProtocolError(f"{method}: {result['error'].get('message')}")
        return result.get("result", {})

    async def _read(self):
        try:
            async for text in self._socket:
                message = json.loads(text)
                if "id" in message:
                    self._sessions.pop(message["id"], None)
                    waiting = self._waiting.pop(message["id"], None)
                    if waiting and not waiting.done():
                        waiting.set_result(message)
                else:
                    method, params = message.get("method"), message.get("params", {})
                    if method == "Target.detachedFromTarget":
                        self.fail_session(params.get("sessionId"))
                    self._listener(method, params, message.get("sessionId"))
        except websockets.ConnectionClosed:
            pass
        finally:
            for waiting in self._waiting.values():
                if not waiting.done():
                    waiting.set_result({"error": {"message": CLOSED}})
            if not self.closed.done():
                self.closed.set_result(None)

    def fail_session(self, session):
        """A session whose target went (detached, its renderer crashed) never answers what it was or will be sent."""
        self._gone.add(session)
        for command_id in [key for key, sent_to in self._sessions.items() if sent_to == session]:
            del self._sessions[command_id]
            waiting = self._waiting.pop(command_id, None)
            if waiting and not waiting.done():
                waiting.set_result({"error": {"message": "Session with given id not found"}})

    async def close(self):
        await self._socket.close()
