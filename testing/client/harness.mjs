// Test harness for the page-side client: a small web server for the client and the test
// pages, Debian's headless Chromium driven over the DevTools protocol, and the packed
// client checked by TypeScript.
//
// Pages open with or without the fake host (fake-host.js); without it a page is a plain
// browser page. The runner reads what the host received through page.host, so a runner
// for the real host only needs another host side.
import CDP from "chrome-remote-interface";
import ts from "typescript";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.resolve(here, "../..");
const chromiumPath = process.env.TESSARINE_CHROMIUM ?? "/usr/bin/chromium";
const chromiumFlags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync", "--remote-debugging-port=0"];
const waitLimitMs = 20000;
// The host's folder handles by name, in the order of their slots.
export const FOLDERS = ["app", "webResource", "currentAppData", "localAppData", "roamingAppData", "desktop",
  "documents", "downloads", "pictures", "profile", "savedGames", "screenshots", "videos"];
const fakeHostSource = fs.readFileSync(path.join(here, "fake-host.js"), "utf8");

// The example page of the client's README: the html block after the marker, as written.
export function docsExample() {
  const text = fs.readFileSync(path.join(root, "client/README.md"), "utf8");
  const match = /<!-- tested example -->\s*```html\n([\s\S]*?)\n```/.exec(text);
  if (!match) throw new Error("client/README.md: no html block after <!-- tested example -->");
  return match[1];
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Every wait on the browser is bounded, so a hang fails the run instead of stalling it.
function bounded(promise, failure) {
  let timer;
  const limit = new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(failure)), waitLimitMs); });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

function startServer(routes) {
  const server = http.createServer((request, response) => {
    const route = routes.get(new URL(request.url, "http://localhost").pathname);
    if (!route) {
      response.writeHead(request.url === "/favicon.ico" ? 204 : 404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": route.type, "Cache-Control": "no-store" }).end(route.body());
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function launchChromium() {
  if (!fs.existsSync(chromiumPath)) throw new Error(`${chromiumPath} is missing: scripts/test installs chromium`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tessarine-client-"));
  const child = spawn(chromiumPath, [...chromiumFlags, `--user-data-dir=${profile}`, "about:blank"],
    { stdio: ["ignore", "ignore", "pipe"], detached: true }); // its own process group, helpers included
  let stderr = "";
  child.stderr.on("data", (chunk) => { stderr += chunk; });
  const portFile = path.join(profile, "DevToolsActivePort");
  for (let tries = 0; !fs.existsSync(portFile); tries++) {
    if (child.exitCode !== null || tries > 300) {
      child.kill();
      throw new Error(`chromium did not start:\n${stderr}`);
    }
    await sleep(100);
  }
  await sleep(50); // the file is written in one go, but give its second line a moment
  const port = Number(fs.readFileSync(portFile, "utf8").split("\n")[0]);
  return { child, profile, port };
}

export class Page {
  // hostSide(page): the host's side as the runner sees it; dispose: what closing leaves to do.
  constructor(client, hostSide, dispose = async () => {}) {
    this.client = client;
    this.dispose = dispose;
    this.errors = [];
    this.host = hostSide(this);
  }

  // Collects the page's errors and enables what eval and the error list need.
  async watch() {
    const client = this.client;
    client.Runtime.consoleAPICalled(({ type, args }) => {
      if (type === "error" || type === "assert") this.errors.push(args.map((a) => a.value ?? a.description).join(" "));
    });
    client.Runtime.exceptionThrown(({ exceptionDetails: d }) => this.errors.push(d.exception?.description ?? d.text));
    client.Log.entryAdded(({ entry }) => { if (entry.level === "error") this.errors.push(entry.text); });
    await Promise.all([client.Runtime.enable(), client.Page.enable(), client.Log.enable()]);
  }

  // Evaluates an expression in the page, awaiting a promise; page exceptions are thrown here,
  // and a promise that never settles fails instead of hanging the run.
  async eval(expression) {
    const { result, exceptionDetails } = await bounded(
      this.client.Runtime.evaluate({ expression, awaitPromise: true, returnByValue: true }),
      `page never settled: ${expression}`);
    if (exceptionDetails) throw new Error(exceptionDetails.exception?.description ?? exceptionDetails.text);
    return result.value;
  }

  async waitFor(expression) {
    // Generous: window notices under Wine on a busy machine may take seconds.
    for (let tries = 0; tries < 600; tries++) {
      if (await this.eval(expression)) return;
      await sleep(50);
    }
    throw new Error(`page never satisfied: ${expression}`);
  }

  // Lets the message events already posted run.
  settle() {
    return this.eval("new Promise((resolve) => setTimeout(() => setTimeout(resolve)))");
  }

  async close() {
    await this.client.close();
    await this.dispose();
  }
}

// The fake host's side, read through the page it was injected into.
function fakeHostSide(page) {
  return {
    received: () => page.eval("fakeHost.settled().then(() => fakeHost.received.map((t) => JSON.parse(t)))"),
    post: (value) => page.eval(`fakeHost.post(${JSON.stringify(value)})`),
    lockEnabled: () => page.eval("fakeHost.settled().then(() => fakeHost.lockEnabled)"),
    delivered: "fakeHost.delivered", // an expression: how many messages the page has been handed
  };
}

// Runs each call text ("window.setSize(1)") on the page's client: [error name, message]
// for a call that throws, null otherwise.
export function callErrors(page, calls) {
  return page.eval(`${JSON.stringify(calls)}.map((call) => {
    try { new Function("tessarine", "tessarine." + call)(tessarine); return null; }
    catch (error) { return [error.name, error.message]; } })`);
}

export async function startHarness() {
  const routes = new Map();
  const file = (relative, type) => ({ type, body: () => fs.readFileSync(path.join(root, relative)) });
  routes.set("/tessarine.js", file("client/tessarine.js", "text/javascript"));
  routes.set("/page.html", file("testing/client/page.html", "text/html"));
  routes.set("/example.html", { type: "text/html", body: docsExample });
  const server = await startServer(routes);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const chromium = await launchChromium();
  const { webSocketDebuggerUrl } = await CDP.Version({ port: chromium.port });
  const browser = await CDP({ target: webSocketDebuggerUrl });
  const pages = new Set();

  return {
    // Serves a JavaScript text at a path beside the client.
    serveScript(urlPath, text) {
      routes.set(urlPath, { type: "text/javascript", body: () => text });
    },

    // A fresh page in its own browser context (own storage); fake: the fake host's options,
    // or null for a plain browser page.
    async open(urlPath, fake = null) {
      const { browserContextId } = await browser.Target.createBrowserContext();
      const { targetId } = await browser.Target.createTarget({ url: "about:blank", browserContextId });
      const client = await CDP({ port: chromium.port, target: targetId });
      const page = new Page(client, fakeHostSide,
        () => browser.Target.disposeBrowserContext({ browserContextId }));
      pages.add(page);
      await page.watch();
      if (fake) {
        await client.Page.addScriptToEvaluateOnNewDocument(
          { source: `${fakeHostSource}\ninstallFakeHost(${JSON.stringify(fake)});` });
      }
      const loaded = client.Page.loadEventFired();
      await client.Page.navigate({ url: origin + urlPath });
      await bounded(loaded, `${urlPath} never finished loading`);
      return page;
    },

    // Runs body(page) on a fresh page (see open) and closes the page afterwards.
    async withPage(urlPath, fake, body) {
      const page = await this.open(urlPath, fake);
      try {
        await body(page);
      } finally {
        await page.close();
      }
    },

    async stop() {
      for (const page of pages) await page.client.close().catch(() => {});
      await browser.close().catch(() => {});
      const exited = new Promise((resolve) => chromium.child.exitCode !== null ? resolve() : chromium.child.once("exit", resolve));
      const signalGroup = (signal) => { try { process.kill(-chromium.child.pid, signal); } catch {} };
      signalGroup("SIGTERM");
      server.close();
      await bounded(exited, "chromium did not end").catch(() => signalGroup("SIGKILL"));
      // Chromium's helper processes may still be writing the profile for a moment; a scratch
      // folder left behind in the temporary folder is no failure of the tests.
      try {
        fs.rmSync(chromium.profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 100 });
      } catch (error) {
        console.warn(`note: ${chromium.profile} left behind: ${error.message}`);
      }
    },
  };
}

// Packs client/ with npm, installs the tarball into a scratch project beside a copy of the
// TypeScript file, and runs tsc --noEmit --strict on it there. Returns tsc's exit status
// and output.
export function typecheck(tsFile) {
  const project = fs.mkdtempSync(path.join(os.tmpdir(), "tessarine-types-"));
  try {
    const run = (command, args) => execFileSync(command, args, { cwd: project, encoding: "utf8", stdio: "pipe" });
    const tarball = run("npm", ["pack", path.join(root, "client"), "--pack-destination", project, "--silent"]).trim();
    fs.writeFileSync(path.join(project, "package.json"), '{ "private": true }\n');
    run("npm", ["install", "--offline", "--no-audit", "--no-fund", path.join(project, tarball)]);
    fs.copyFileSync(tsFile, path.join(project, path.basename(tsFile)));
    const tsc = path.join(here, "node_modules/typescript/bin/tsc");
    try {
      const output = run(process.execPath, [tsc, "--noEmit", "--strict", "--target", "es2022", "--module", "es2022",
        "--moduleResolution", "bundler", "--lib", "es2022,dom,dom.iterable", path.basename(tsFile)]);
      return { status: 0, output };
    } catch (error) {
      return { status: error.status, output: `${error.stdout}${error.stderr}` };
    }
  } finally {
    fs.rmSync(project, { recursive: true, force: true });
  }
}

// The TypeScript file as the JavaScript a browser runs (types removed, nothing checked).
export function transpile(tsFile) {
  const source = fs.readFileSync(tsFile, "utf8");
  return ts.transpileModule(source, { compilerOptions: { target: ts.ScriptTarget.ES2022, module: ts.ModuleKind.ES2022 } })
    .outputText;
}
