// The page-side client in the real host (tessarine.exe under Wine, the live engine's Chromium):
// each call reaches the host as its message and does what it asks, and the host's real answers
// and notices resolve and fire in the page. One host start serves every test, in order.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { handledMessages, moveMouse, startLiveHost } from "../../testing/client/live-host.mjs";

const LOCK = "set-pointer-lock-enabled";
let host;
let page;
before(async () => {
  host = await startLiveHost({ componentIds: ["map", "audio"] });
  page = host.page;
  // The handshake in the real engine is the live check page's; the extension's echo waits for it.
  await page.eval("tessarine.ready()");
});
after(() => host?.stop());

// call, the message the host read, what the host posted (types) and focused while handling
// it, and its window afterwards (SCREEN: the screen's size; see handledMessages).
const CALLS = [
  ["window.setPosition(120, 90)", { type: "set-window-position", windowX: 120, windowY: 90 }, [],
    "windowed 120,90 800x600"],
  ["window.setSize(640.9, 480)", { type: "set-window-size", windowWidth: 640, windowHeight: 480 }, [],
    "windowed 120,90 640x480"],
  ["window.setFullscreen(true)", { type: "set-fullscreen", fullscreen: true }, [], "fullscreen 0,0 SCREEN"],
  ["window.setPosition(5, 5)", { type: "set-window-position", windowX: 5, windowY: 5 }, [], "fullscreen 0,0 SCREEN"],
  ["window.setFullscreen(0)", { type: "set-fullscreen", fullscreen: false }, [], "windowed 120,90 640x480"],
  ["window.setSize(1024, -1)", { type: "set-window-size", windowWidth: 1024, windowHeight: -1 }, [],
    "windowed 120,90 640x480"],
  ["window.maximize()", { type: "maximize-window" }, ["window-maximized"], "maximized"],
  ["window.restore()", { type: "restore-window" }, [], "windowed 120,90 640x480"],
  ["window.minimize()", { type: "minimize-window" }, ["window-minimized"], "minimized"],
  ["window.restore()", { type: "restore-window" }, ["focus"], "windowed 120,90 640x480"], // the window gets the focus
  ["window.focus()", { type: "focus-window" }, ["focus"], "windowed 120,90 640x480"],
  ['extension.send({ text: "ping", n: [1, "ü"] })', { type: "extension-message", text: "ping", n: [1, "ü"] },
    ["extension-echo"], "windowed 120,90 640x480"],
];

test("each call reaches the host as its message, the host does it, and notices and echoes reach the listeners", async () => {
  const screen = await page.eval("`${screen.width}x${screen.height}`");
  const start = (await page.host.transcript()).length;
  await page.eval(`window.removers = [tessarine.window.on("maximized", record("maximized")),
    tessarine.window.on("minimized", record("minimized")), tessarine.extension.onMessage(record("extension"))]`);
  for (const [call] of CALLS) await page.eval(`tessarine.${call}`);
  await page.waitFor("seen.length === 3");
  await page.eval("removers.forEach((remove) => remove())");
  const handled = handledMessages((await page.host.transcript()).slice(start));
  assert.deepEqual(handled.slice(0, CALLS.length), CALLS.map(([, message, did, state]) =>
    [message, did, state.replace("SCREEN", screen)]));
  assert.deepEqual(await page.eval("seen"), [["maximized"], ["minimized"],
    ["extension", { type: "extension-echo", received: CALLS.at(-1)[1] }]]);
});

const on = { ok: true, enabled: true, error: null };
const off = { ok: true, enabled: false, error: null };
// Calls made at once, their results, the messages they sent ("isEnabled"), the host's answers
// ("isEnabled") and real mouse movements made while the lock is on.
const LOCKS = [
  { calls: ["enable"], results: [on], sent: [false, true], answers: [true], moves: [[10, 5], [-7, 3], [0, -12]] },
  { calls: ["disable"], results: [off], sent: [false], answers: [false] },
  { calls: ["disable"], results: [off], sent: [], answers: [] }, // no answer comes: the client gives it
  { calls: ["enable", "disable", "enable", "enable", "disable"], results: [on, off, on, on, off],
    sent: [true, false, true, false], answers: [true, false, true, false] },
];

test("pointer lock: calls resolve in order with the host's answers, and real mouse movement reaches onMovement", async () => {
  await page.eval(`window.seen = []; window.removers = [tessarine.pointerLock.onMovement(record("moved"))]`);
  for (const { calls, results, sent, answers, moves = [] } of LOCKS) {
    const [received, posted] = [(await page.host.received()).length, (await page.host.posted()).length];
    const settled = await page.eval(`(() => { const order = [];
      return Promise.all(${JSON.stringify(calls)}.map((call, i) => tessarine.pointerLock[call]().then((result) => {
        order.push(i); return result; }))).then((results) => ({ results, order })); })()`);
    assert.deepEqual(settled, { results, order: calls.map((_, i) => i) }, calls.join());
    // One move at a time: moves made at once may reach the window as one.
    for (const [i, [dx, dy]] of moves.entries()) {
      moveMouse(dx, dy);
      await page.waitFor(`seen.length === ${i + 1}`);
    }
    assert.deepEqual(await page.eval("seen.splice(0)"), moves.map((move) => ["moved", ...move]));
    assert.deepEqual((await page.host.received()).slice(received), sent.map((isEnabled) => ({ type: LOCK, isEnabled })));
    assert.deepEqual((await page.host.posted()).slice(posted).filter((message) => message.type === `${LOCK}-response`),
      answers.map((isEnabled) => ({ type: `${LOCK}-response`, isOk: true, isEnabled })));
  }
});

test("no error in the page, and closing it ends the host with exit code 0 and no message box", async () => {
  assert.deepEqual(page.errors, []);
  const code = await host.stop();
  assert.deepEqual([code, host.output.filter((line) => /^(box|error|bridge):/.test(line))], [0, []]);
});
