// A stand-in for the page's window in Node: a plain object installed as the global `window`,
// the bootstrap script run against it, and native statements evaluated with their bare function
// names resolving on it, as they do in the web view.
import { readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { vi } from "vitest";

const bootstrapSource = readFileSync(
  fileURLToPath(new URL("../../public/quentaro-bridge-init.js", import.meta.url)),
  "utf8",
);

export type PageWindow = Window & Record<string, unknown>;

export function installWindow(): PageWindow {
  const win = {} as PageWindow;
  vi.stubGlobal("window", win);
  vi.stubGlobal("native", undefined);
  return win;
}

export function runBootstrap(): void {
  new Function(bootstrapSource)();
}

/** Evaluates a statement as the native side sends it, e.g. "setCurrentCue(4, 3);". */
export function runStatement(win: PageWindow, statement: string): void {
  // Sloppy-mode `with` gives the statement the page's global lookup of window functions.
  new Function("page", `with (page) { ${statement} }`)(win);
}

/** A handler object that records every call as [name, ...args]. */
export function recordingHandlers() {
  const calls: unknown[][] = [];
  const record =
    (name: string) =>
    (...args: unknown[]) =>
      calls.push([name, ...args]);
  return {
    calls,
    handlers: {
      onSetTableData: record("onSetTableData"),
      onSetCurrentCue: record("onSetCurrentCue"),
      onSetNextCue: record("onSetNextCue"),
      onScrollToCue: record("onScrollToCue"),
      onSetCurrentMarkerLoop: record("onSetCurrentMarkerLoop"),
      onSetTransportPosition: record("onSetTransportPosition"),
    },
  };
}
