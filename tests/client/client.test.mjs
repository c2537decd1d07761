// The page-side client in headless Chromium: against the fake host (hosted) and as a
// plain browser page, its docs example, and its types under tsc --strict.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { FOLDERS, callErrors, startHarness, typecheck, transpile } from "../../testing/client/harness.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
let harness;
before(async () => { harness = await startHarness(); });
after(() => harness?.stop());

const LOCK = "set-pointer-lock-enabled";

const withPage = (urlPath, fake, body) => harness.withPage(urlPath, fake, body);

const CALLS = [
  ["window.setFullscreen(true)", { type: "set-fullscreen", fullscreen: true }],
  ["window.setFullscreen(0)", { type: "set-fullscreen", fullscreen: false }],
  ["window.setSize(800, 600)", { type: "set-window-size", windowWidth: 800, windowHeight: 600 }],
  ["window.setSize(1024.9, -0.5)", { type: "set-window-size", windowWidth: 1024, windowHeight: 0 }],
  ["window.setPosition(-(2 ** 31), 2 ** 31 - 1)",
    { type: "set-window-position", windowX: -2147483648, windowY: 2147483647 }],
  ["window.maximize()", { type: "maximize-window" }],
  ["window.minimize()", { type: "minimize-window" }],
  ["window.restore()", { type: "restore-window" }],
  ["window.focus()", { type: "focus-window" }],
  ["window.close()", { type: "close-window" }],
  ['extension.send({ action: "save", slot: 2, data: { "ü": [1, null] } })',
    { type: "extension-message", action: "save", slot: 2, data: { ü: [1, null] } }],
];

const BAD_CALLS = [
  ['window.setSize("800", 600)', "TypeError", "tessarine.window.setSize: width must be a finite number, got string"],
  ["window.setSize(800, NaN)", "TypeError", "tessarine.window.setSize: height must be a finite number, got NaN"],
  ["window.setSize(800)", "TypeError", "tessarine.window.setSize: height must be a finite number, got undefined"],
  ["window.setPosition(Infinity, 0)", "TypeError", "tessarine.window.setPosition: x must be a finite number, got Infinity"],
  ["window.setPosition(0, null)", "TypeError", "tessarine.window.setPosition: y must be a finite number, got null"],
  ["window.setPosition(0, 2 ** 31)", "RangeError",
    "tessarine.window.setPosition: y is outside the signed 32-bit range, got 2147483648"],
  ["window.setSize(-(2 ** 31) - 1, 1)", "RangeError",
    "tessarine.window.setSize: width is outside the signed 32-bit range, got -2147483649"],
  ['window.on("restored", () => {})', "TypeError",
    'tessarine.window.on: unknown event "restored", expected "maximized" or "minimized"'],
  ['window.on("maximized", "f")', "TypeError", "tessarine.window.on: listener must be a function"],
  ["onCloseRequested(1)", "TypeError", "tessarine.onCloseRequested: handler must be a function"],
  ["pointerLock.onMovement()", "TypeError", "tessarine.pointerLock.onMovement: listener must be a function"],
  ["extension.onMessage(1)", "TypeError", "tessarine.extension.onMessage: listener must be a function"],
  ['extension.send({ type: "mine" })', "TypeError",
    'tessarine.extension.send: message must not have a "type" member; the host routes on it'],
  ["extension.send([1])", "TypeError", "tessarine.extension.send: message must be an object, got an array"],
  ['extension.send("text")', "TypeError", "tessarine.extension.send: message must be an object, got string"],
  ["extension.send({ big: 1n })", "TypeError", "Do not know how to serialize a BigInt"],
];

const badCallErrors = (page) => callErrors(page, BAD_CALLS.map(([call]) => call));

test("each call reaches the host as its message, and bad arguments never leave the page", async () => {
  await withPage("/page.html", {}, async (page) => {
    for (const [call] of CALLS) await page.eval(`tessarine.${call}`);
    assert.deepEqual(await page.host.received(), CALLS.map(([, message]) => message));
    assert.deepEqual(await badCallErrors(page), BAD_CALLS.map(([, name, message]) => [name, message]));
    assert.equal((await page.host.received()).length, CALLS.length);
  });
});

test("ready() sends one handshake and resolves with the folders by name", async (t) => {
  const cases = [
    { name: "all handles", fake: { componentIds: ["map", "audio"] }, empty: [], ids: ["map", "audio"] },
    { name: "an empty slot", fake: { emptySlots: [11] }, empty: [11], ids: [] },
    { name: "a runtime without folder handles", fake: { folders: false }, empty: FOLDERS.map((_, i) => i), ids: [] },
  ];
  for (const { name, fake, empty, ids } of cases) {
    await t.test(name, () => withPage("/page.html", fake, async (page) => {
      const result = await page.eval(`Promise.all([tessarine.ready(), tessarine.ready()]).then(([a, b]) =>
        tessarine.ready().then((c) => ({ same: a === b && b === c, hosted: a.hosted, restarted: a.restarted,
          ids: a.componentIds,
          folders: Object.fromEntries(Object.entries(a.folders).map(([k, v]) => [k, v && v.name])) })))`);
      assert.deepEqual(result, { same: true, hosted: true, restarted: false, ids, folders: Object.fromEntries(
        FOLDERS.map((folder, i) => [folder, empty.includes(i) ? null : `slot-${i}`])) });
      assert.deepEqual(await page.host.received(), [{ type: "wrapper-init" }]);
    }));
  }
});

test("listeners get notices, movement and extension messages until removed", async () => {
  const queued = [{ kind: "hello" }, "text", 7];
  await withPage("/page.html", { queued }, async (page) => {
    await page.eval(`window.removers = [
      tessarine.extension.onMessage(() => { throw new Error("listener broke"); }),
      tessarine.window.on("maximized", record("maximized")), tessarine.window.on("minimized", record("minimized")),
      tessarine.pointerLock.onMovement(record("moved")),
      tessarine.window.on("minimized", () => removeLater()), tessarine.window.on("minimized", record("never"))];
      const removeLater = removers.at(-1);
      tessarine.ready().then(() => removers.push(tessarine.extension.onMessage(record("extension"))))`);
    await page.eval("tessarine.window.maximize(); tessarine.window.minimize()");
    const posted = [{ type: "pointer-lock-movement", movementX: -3, movementY: 5 }, { type: "score", n: 1 }, null,
      { type: "window-maximized" }, { type: "directory-handles" }, { type: "wrapper-init-response" }];
    for (const message of posted) await page.host.post(message);
    await page.settle();
    await page.eval("removers.forEach((remove) => remove()); tessarine.window.maximize()");
    await page.host.post({ type: "pointer-lock-movement", movementX: 1, movementY: 1 });
    await page.host.post({ late: true });
    await page.settle();
    assert.deepEqual(await page.eval("seen"), [
      ...queued.map((message) => ["extension", message]), ["maximized"], ["minimized"], ["moved", -3, 5],
      ["extension", { type: "score", n: 1 }], ["extension", null], ["maximized"]]);
    assert.equal(page.errors.filter((error) => error.includes("listener broke")).length, queued.length + 2);
  });
});

test("pointer-lock answers are matched to their calls in order", async (t) => {
  const ok = (enabled) => ({ ok: true, enabled, error: null });
  // answered: how many of the host's answers the page had when each call settled.
  const cases = [
    { name: "repeats are answered from the known state", calls: ["enable", "enable", "disable", "disable"],
      results: [ok(true), ok(true), ok(false), ok(false)], answered: [1, 1, 2, 2], sent: [false, true, false], end: false },
    { name: "alternating calls made at once", calls: ["enable", "disable", "enable"],
      results: [ok(true), ok(false), ok(true)], answered: [1, 2, 3], sent: [false, true, false, true], end: true },
    { name: "a failed change, repeated, then undone", fake: { lockError: 5 }, calls: ["enable", "enable", "disable"],
      results: Array(3).fill({ ok: false, enabled: false, error: 5 }), answered: [1, 1, 2], sent: [false, true, false],
      end: false },
    { name: "a lock left from before a reload is cleared first", fake: { lockOn: true }, calls: ["enable"],
      results: [ok(true)], answered: [2], sent: [false, true], end: true },
    { name: "a lock left from before a reload can be disabled", fake: { lockOn: true }, calls: ["disable", "enable"],
      results: [ok(false), ok(true)], answered: [0, 2], sent: [false, true], end: true },
  ];
  for (const { name, fake = {}, calls, results, answered, sent, end } of cases) {
    await t.test(name, () => withPage("/page.html", fake, async (page) => {
      const settled = await page.eval(`(() => { const order = [], answered = [];
        return Promise.all(${JSON.stringify(calls)}.map((call, i) => tessarine.pointerLock[call]().then((result) => {
          order.push(i); answered.push(${page.host.delivered}); return result; })))
          .then((results) => ({ results, order, answered })); })()`);
      assert.deepEqual(settled, { results, order: calls.map((_, i) => i), answered });
      assert.deepEqual(await page.host.received(), sent.map((isEnabled) => ({ type: LOCK, isEnabled })));
      assert.equal(await page.host.lockEnabled(), end);
    }));
  }
});

test("close handlers: every one settles before the window closes, a failing one too", async () => {
  await withPage("/page.html", {}, async (page) => {
    await page.eval(`window.saved = [];
      tessarine.onCloseRequested(() => new Promise((resolve) => { window.finishSave = resolve; }));
      tessarine.onCloseRequested(() => { saved.push("quick"); throw new Error("save broke"); });
      const remove = tessarine.onCloseRequested(() => saved.push("removed")); remove(); remove();`);
    await page.host.post({ type: "window-close-requested" });
    await page.waitFor("window.finishSave !== undefined");
    assert.deepEqual(await page.host.received(), [{ type: "set-close-handling", isEnabled: true }]);
    await page.eval("finishSave()");
    await page.waitFor(`saved.join() === "quick"`);
    await page.settle();
    assert.deepEqual((await page.host.received()).at(-1), { type: "close-window" });
    assert.deepEqual(page.errors.map((e) => String(e).includes("save broke")), [true]);
  });
});

test("outside the host every call is a no-op and ready() says so", async () => {
  await withPage("/page.html", null, async (page) => {
    const result = await page.eval(`(async () => ({
      isHosted: tessarine.isHosted, ready: await tessarine.ready(),
      calls: ${JSON.stringify(CALLS.map(([call]) => call))}.map((call) =>
        new Function("tessarine", "return tessarine." + call)(tessarine) ?? null),
      locks: [await tessarine.pointerLock.enable(), await tessarine.pointerLock.disable()],
      removers: [tessarine.window.on("minimized", () => {})(), tessarine.extension.onMessage(() => {})()] }))()`);
    assert.deepEqual(result, {
      isHosted: false, ready: { hosted: false, restarted: false, componentIds: [], folders: Object.fromEntries(FOLDERS.map((f) => [f, null])) },
      calls: CALLS.map(() => null), locks: Array(2).fill({ ok: false, enabled: false, error: null }),
      removers: [null, null] });
    assert.deepEqual(await badCallErrors(page), BAD_CALLS.map(([, name, message]) => [name, message]));
    assert.deepEqual(page.errors, []);
  });
});

test("the README's example page runs as written", async (t) => {
  const status = (page, text) => page.waitFor(`document.querySelector("#status").textContent === ${JSON.stringify(text)}`);
  await t.test("in the host", () => withPage("/example.html", {}, async (page) => {
    await status(page, "Click the field to play");
    await page.eval(`document.querySelector("#fullscreen").click(); document.querySelector("#field").click()`);
    await status(page, "Playing: Escape releases the mouse");
    for (const [dx, dy] of [[5, -3], [20, 1]]) {
      await page.host.post({ type: "pointer-lock-movement", movementX: dx, movementY: dy });
    }
    await page.settle();
    await page.eval(`document.querySelector("#save").click()`);
    await status(page, "Saved");
    await page.eval(`document.dispatchEvent(new KeyboardEvent("keydown", { key: "Escape" }))`);
    await status(page, "Paused: click the field to play");
    // Closing the window saves again before it lets the window close.
    await page.host.post({ type: "window-close-requested" });
    await status(page, "Saved");
    await page.settle();
    const saved = await page.eval(`navigator.storage.getDirectory().then((root) => root.getDirectoryHandle("slot-10"))
      .then((dir) => dir.getDirectoryHandle("Orbit")).then((dir) => dir.getFileHandle("save.json"))
      .then((file) => file.getFile()).then((file) => file.text())`);
    assert.deepEqual(JSON.parse(saved), { x: 25, y: -2 });
    assert.deepEqual(await page.host.received(), [{ type: "wrapper-init" }, { type: "set-close-handling", isEnabled: true },
      { type: "set-fullscreen", fullscreen: true }, { type: LOCK, isEnabled: false }, { type: LOCK, isEnabled: true },
      { type: LOCK, isEnabled: false }, { type: "close-window" }]);
    assert.deepEqual(page.errors, []);
  }));
  await t.test("in a plain browser", () => withPage("/example.html", null, async (page) => {
    await status(page, "Running in a plain browser");
    await page.eval(`document.querySelector("#field").click()`);
    await status(page, "No pointer lock here");
    await page.eval(`document.querySelector("#save").click()`);
    await status(page, "No Saved Games folder here");
    assert.deepEqual(page.errors, []);
  }));
});

test("the types match the module: strict tsc over the packed package, then the same code runs", async () => {
  const usage = path.join(here, "usage.ts");
  const { status, output } = typecheck(usage);
  assert.equal(status, 0, output);
  harness.serveScript("/usage.js", transpile(usage));
  await withPage("/page.html?run=usage.js", { componentIds: ["map"], emptySlots: [11] }, async (page) => {
    await page.waitFor("window.usage !== undefined");
    await page.settle();
    assert.deepEqual(await page.eval("({ ...usage, removers: usage.removers.length })"), {
      hosted: true, ids: ["map"], handles: ["slot-0", "slot-10", null], codes: [1, 0],
      log: ["maximized", "minimized"], removers: 4 });
    assert.deepEqual((await page.host.received()).map((message) => message.type), ["wrapper-init", "set-fullscreen",
      "set-window-size", "set-window-position", "maximize-window", "minimize-window", "restore-window", "focus-window",
      LOCK, LOCK, LOCK, "extension-message"]);
    assert.deepEqual(page.errors, []);
  });
});
