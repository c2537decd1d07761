// The page-side client in the real host: an app folder holding the client's test page runs
// in tessarine.exe under Wine with the live engine (scripts/run-app), and the runner drives
// that page over the DevTools protocol of the engine's own Chromium. The host's side is read
// from the test runtime's transcript: what the host read from the page, what it did and
// posted, and its window after each message. Mouse input comes from the X display.
import CDP from "chrome-remote-interface";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { Page, root, sleep } from "./harness.mjs";

const appName = "ClientLive";
const startLimitMs = 180000; // host start under Wine on a busy machine
const exitLimitMs = 60000;
const windowsPath = (file) => "Z:" + file.replaceAll("/", "\\");

// The same display scripts/run-app picks.
const display = process.env.DISPLAY || `:${process.env.TESSARINE_DISPLAY_NUMBER ?? 87}`;
const onDisplay = (command, args) =>
  execFileSync(command, args, { env: { ...process.env, DISPLAY: display }, encoding: "utf8" });

// The promise's value, or null when the time runs out first.
async function within(promise, limitMs) {
  let timer;
  const late = new Promise((resolve) => { timer = setTimeout(resolve, limitMs, null); });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

async function poll(what, limitMs, probe) {
  for (const start = Date.now(); Date.now() - start < limitMs; await sleep(100)) {
    const value = await probe();
    if (value) return value;
  }
  throw new Error(`${what} within ${limitMs / 1000} s`);
}

// The app folder: the test page and the client loose in www\, the test extension echoing
// every page message.
function makeApp(work, bin, componentIds) {
  fs.rmSync(work, { recursive: true, force: true });
  const app = path.join(work, appName);
  fs.mkdirSync(path.join(app, "www"), { recursive: true });
  fs.copyFileSync(path.join(root, "testing/client/page.html"), path.join(app, "www/page.html"));
  fs.copyFileSync(path.join(root, "client/tessarine.js"), path.join(app, "www/tessarine.js"));
  fs.writeFileSync(path.join(app, "www/favicon.ico"), ""); // headless Chromium asks for one: no 404 in the log
  // The test extension is built apart from what ships: in the sibling test-bin folder.
  const testBin = process.env.TESSARINE_TEST_BIN ?? path.join(path.dirname(bin), "test-bin");
  fs.copyFileSync(path.join(testBin, "Orvanta.dll"), path.join(app, "Orvanta.dll"));
  fs.writeFileSync(path.join(app, "package.json"), JSON.stringify(
    { name: "TessarineClientLive", main: "page.html", window: { title: "Client live", width: 800, height: 600 } }));
  const config = path.join(work, "extension.json");
  fs.writeFileSync(config, JSON.stringify({ componentIds, message: { echo: true } }));
  return { app, config };
}

// Whole lines only: the host may be writing the next one.
function readTranscript(file) {
  if (!fs.existsSync(file)) return [];
  return fs.readFileSync(file, "utf8").split("\n").slice(0, -1).map((line) => JSON.parse(line));
}

// The host's side for a Page. The host is single-threaded and handles page messages in
// order: once it has echoed an extension message sent now, everything sent before has been
// handled and written down. The echo needs a finished handshake (the host holds the
// extension's messages until then).
function liveHostSide(transcript) {
  let barriers = 0;
  return (page) => {
    const settled = async () => {
      const barrier = ++barriers;
      await page.eval(`new Promise((resolve) => {
        const listen = (event) => {
          if (event.data?.received?.barrier !== ${barrier}) return;
          chrome.webview.removeEventListener("message", listen);
          resolve();
        };
        chrome.webview.addEventListener("message", listen);
        chrome.webview.postMessage(JSON.stringify({ type: "extension-message", barrier: ${barrier} }));
      })`);
      return readTranscript(transcript);
    };
    const isBarrier = (message) => message?.type === "extension-message" && "barrier" in message;
    return {
      // Every transcript line, once the host has handled what the page sent so far.
      transcript: settled,
      // The page's messages as the host read them, parsed (the runner's own barriers left out).
      received: async () => (await settled())
        .filter((line) => line.ev === "WebMessageReceivedArgs.TryGetWebMessageAsString" && line.value !== null)
        .map((line) => JSON.parse(line.value)).filter((message) => !isBarrier(message)),
      // The host's messages to the page, parsed.
      posted: async () => (await settled()).filter((line) => line.ev === "WebView.PostWebMessageAsJson")
        .map((line) => JSON.parse(line.text)).filter((message) => !isBarrier(message?.received)),
    };
  };
}

// What the host did with each page message in these transcript lines: the message as it
// read it, what it posted (types) and focused while handling it, and its window afterwards
// ("minimized", "maximized", or "windowed"/"fullscreen" with the outer top-left corner
// and the client size).
export function handledMessages(lines) {
  const windowState = ({ minimized, maximized, style, windowRect: [left, top], clientRect: [, , width, height] }) =>
    minimized || maximized ? (minimized ? "minimized" : "maximized")
      : `${style & 0xc00000 ? "windowed" : "fullscreen"} ${left},${top} ${width}x${height}`;
  const handled = [];
  for (let at = 0; at < lines.length; at++) {
    if (lines[at].ev !== "WebMessageReceivedArgs.TryGetWebMessageAsString") continue;
    const end = lines.findIndex((line, i) => i > at && line.ev === "live:message");
    const did = lines.slice(at, end).flatMap((line) => line.ev === "Controller.MoveFocus" ? ["focus"]
      : line.ev === "WebView.PostWebMessageAsJson" ? [JSON.parse(line.text).type] : []);
    handled.push([JSON.parse(lines[at].value), did, windowState(lines[end].window)]);
  }
  return handled;
}

// Real mouse movement on the display, relative to where the pointer is.
export function moveMouse(dx, dy) {
  onDisplay("xdotool", ["mousemove_relative", "--", String(dx), String(dy)]);
}

// Starts the host on the app; resolves once the client's page is loaded and driveable.
// bin: the Windows build's bin folder (TESSARINE_LIVE_BIN, as for scripts/run-app);
// work: a scratch folder (TESSARINE_CLIENT_LIVE_WORK).
export async function startLiveHost({ componentIds, bin = process.env.TESSARINE_LIVE_BIN ?? path.join(root, "build/windows/bin"),
  work = process.env.TESSARINE_CLIENT_LIVE_WORK ?? path.join(root, "build/client-live") }) {
  const { app, config } = makeApp(work, bin, componentIds);
  const run = path.join(root, "build/run-app", appName);
  fs.rmSync(run, { recursive: true, force: true }); // no port file of an earlier run
  const child = spawn(path.join(root, "scripts/run-app"), [app, "--timeout", "600"], {
    env: { ...process.env, DISPLAY: display, TESSARINE_LIVE_BIN: bin,
      TESSARINE_TEST_EXTENSION_CONFIG: windowsPath(config) },
    stdio: ["ignore", "pipe", "pipe"] });
  const output = [];
  for (const stream of [child.stdout, child.stderr]) {
    let rest = "";
    stream.setEncoding("utf8");
    stream.on("data", (chunk) => {
      const lines = (rest + chunk).split("\n");
      rest = lines.pop();
      output.push(...lines);
    });
    stream.on("end", () => { if (rest) output.push(rest); });
  }
  let ended = null;
  // Once the output is complete too.
  const exited = new Promise((resolve) => child.once("close", (code) => { ended = code; resolve(code); }));
  const running = () => {
    if (ended !== null) throw new Error(`the host ended with ${ended} before its page came up:\n${output.join("\n")}`);
  };

  let client, page;
  try {
    const portFile = path.join(run, "chromium-profile/DevToolsActivePort");
    const port = await poll("no browser came up", startLimitMs, () => {
      running();
      const lines = fs.existsSync(portFile) ? fs.readFileSync(portFile, "utf8").split("\n") : [];
      return lines.length >= 2 && lines[1] ? Number(lines[0]) : 0;
    });
    const target = await poll("the host never loaded its page", startLimitMs, async () => {
      running();
      const targets = await CDP.List({ port }).catch(() => []);
      return targets.find((t) => t.type === "page" && t.url.startsWith("https://tessarine.localhost/"));
    });
    client = await CDP({ port, target: target.id });
    page = new Page(client, liveHostSide(path.join(run, "transcript.jsonl")));
    await page.watch();
    await page.waitFor("window.tessarine !== undefined");
  } catch (error) {
    await client?.close().catch(() => {});
    child.kill(); // the bridge ends Chromium and the host in order
    await within(exited, exitLimitMs);
    throw error;
  }

  return {
    page,
    output,
    // Closes the page, which ends the host; resolves with the host's exit code.
    async stop() {
      if (ended === null) await page.eval("window.close()").catch(() => {});
      const code = await within(exited, exitLimitMs);
      await client.close().catch(() => {});
      if (code === null) child.kill(); // the bridge ends Chromium and the host in order
      return code;
    },
  };
}
