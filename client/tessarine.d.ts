// Types of the Tessarine page-side client (tessarine.js).

/** The thirteen folders the host hands the page; null where the host gave no handle. */
export interface TessarineFolders {
  readonly app: FileSystemDirectoryHandle | null;
  readonly webResource: FileSystemDirectoryHandle | null;
  readonly currentAppData: FileSystemDirectoryHandle | null;
  readonly localAppData: FileSystemDirectoryHandle | null;
  readonly roamingAppData: FileSystemDirectoryHandle | null;
  readonly desktop: FileSystemDirectoryHandle | null;
  readonly documents: FileSystemDirectoryHandle | null;
  readonly downloads: FileSystemDirectoryHandle | null;
  readonly pictures: FileSystemDirectoryHandle | null;
  readonly profile: FileSystemDirectoryHandle | null;
  readonly savedGames: FileSystemDirectoryHandle | null;
  readonly screenshots: FileSystemDirectoryHandle | null;
  readonly videos: FileSystemDirectoryHandle | null;
}

export type TessarineFolderName = keyof TessarineFolders;

/** What ready() resolves with. Outside the host: hosted false, no ids, every folder null. */
export interface TessarineReady {
  readonly hosted: boolean;
  /** True when the host reloaded the page after its browser process crashed. */
  readonly restarted: boolean;
  readonly componentIds: readonly string[];
  readonly folders: TessarineFolders;
}

/** The host's answer to a pointer-lock request. error is the system error code when ok is false. */
export interface PointerLockResult {
  readonly ok: boolean;
  readonly enabled: boolean;
  readonly error: number | null;
}

export type TessarineWindowEvent = "maximized" | "minimized";

/** Calling it removes the listener it was returned for. */
export type RemoveListener = () => void;

export interface TessarineWindow {
  setFullscreen(on: boolean): void;
  /** Client-area size in CSS pixels at 100 %. Throws TypeError for a non-number or non-finite
   *  value and RangeError outside the signed 32-bit range, naming the argument. */
  setSize(width: number, height: number): void;
  /** Outer top-left corner in screen coordinates, CSS pixels at 100 %; checked like setSize. */
  setPosition(x: number, y: number): void;
  maximize(): void;
  minimize(): void;
  restore(): void;
  focus(): void;
  /** Closes the app, as window.close() does; close handlers are not run. */
  close(): void;
  on(event: TessarineWindowEvent, listener: () => void): RemoveListener;
}

export interface TessarinePointerLock {
  enable(): Promise<PointerLockResult>;
  disable(): Promise<PointerLockResult>;
  onMovement(listener: (movementX: number, movementY: number) => void): RemoveListener;
}

/** A message for the extension library; the client adds the routing member "type". */
export type ExtensionMessage = object & { readonly type?: never };

export interface TessarineExtension {
  send(message: ExtensionMessage): void;
  /** Every message the host posts that is not one of its own, as the extension wrote it. */
  onMessage<T = unknown>(listener: (message: T) => void): RemoveListener;
}

export interface Tessarine {
  /** True inside the host (window.chrome.webview exists). */
  readonly isHosted: boolean;
  /** Sends the handshake once; later calls return the same promise. */
  ready(): Promise<TessarineReady>;
  /** Runs handler when the player closes the window, before it closes: the window waits
   *  until every handler's promise has settled (at most the package's "close-timeout",
   *  default 10 s). Registering the first handler turns the host's close handling on. */
  onCloseRequested(handler: () => void | Promise<unknown>): RemoveListener;
  readonly window: TessarineWindow;
  readonly pointerLock: TessarinePointerLock;
  readonly extension: TessarineExtension;
}

declare const tessarine: Tessarine;
export default tessarine;
