// Uses every declaration of the client's types. The test checks it under tsc --strict
// against the packed package, then runs it in the page against the module itself.
import tessarine from "tessarine-client";
import type { ExtensionMessage, PointerLockResult, RemoveListener, Tessarine, TessarineExtension, TessarineFolderName,
  TessarineFolders, TessarinePointerLock, TessarineReady, TessarineWindow, TessarineWindowEvent } from "tessarine-client";

const log: string[] = [];
const client: Tessarine = tessarine;
const hosted: boolean = client.isHosted;
const start: TessarineReady = await client.ready();
const folders: TessarineFolders = start.folders;
const names: TessarineFolderName[] = ["app", "savedGames", "screenshots"];
const handles: (FileSystemDirectoryHandle | null)[] = names.map((name) => folders[name]);
const ids: readonly string[] = start.componentIds;

const win: TessarineWindow = client.window;
const events: TessarineWindowEvent[] = ["maximized", "minimized"];
const removers: RemoveListener[] = events.map((event) => win.on(event, () => log.push(event)));
win.setFullscreen(true);
win.setSize(800, 600);
win.setPosition(-8, 30);
win.maximize();
win.minimize();
win.restore();
win.focus();

const lock: TessarinePointerLock = client.pointerLock;
removers.push(lock.onMovement((dx: number, dy: number) => log.push(`moved ${dx},${dy}`)));
const results: PointerLockResult[] = [await lock.enable(), await lock.disable()];
const codes: (number | null)[] = results.map((result) => (result.ok ? Number(result.enabled) : result.error));

const extension: TessarineExtension = client.extension;
interface Save { slot: number; name: string }
const save: Save = { slot: 2, name: "autosave" };
const message: ExtensionMessage = save;
extension.send(message);
removers.push(extension.onMessage<{ reply: string }>((answer) => log.push(answer.reply)));

// Never called: each line must be refused by the types.
export function misuse(): void {
  // @ts-expect-error sizes are numbers
  win.setSize("800", 600);
  // @ts-expect-error only two window events
  win.on("restored", () => {});
  // @ts-expect-error the client owns the routing member
  extension.send({ type: "mine" });
  // @ts-expect-error the folders are fixed
  void folders.music;
  // @ts-expect-error the result is read-only
  results[0].ok = false;
}

Object.assign(globalThis, { usage: { hosted, ids, handles: handles.map((h) => h?.name ?? null), codes, log, removers } });
