// The page-side bridge module: reading the pushed state, registering the page's handlers with a
// replay, the fallback window functions, and native calls through JUCE's own library.
import { afterEach, beforeEach, describe, expect, it, vi } from "vitest";
import { installWindow, recordingHandlers, runBootstrap, runStatement, type PageWindow } from "./windowHarness";

type Bridge = typeof import("../../src/bridge");

let win: PageWindow;

/** A fresh copy of the module, as a page load would have. */
async function loadBridge(): Promise<Bridge> {
  vi.resetModules();
  return import("../../src/bridge");
}

/** JUCE's backend as the web view provides it, recording what the library emits. */
function stubJuceBackend(functions: string[] = []) {
  const emitted: Array<{ eventId: string; payload: unknown }> = [];
  const backend = {
    emitEvent: (eventId: string, payload: unknown) => emitted.push({ eventId, payload }),
    addEventListener: (eventId: string) => [eventId, 0],
    removeEventListener: () => {},
  };
  win.__JUCE__ = {
    backend,
    initialisationData: {
      __juce__platform: ["linux"],
      __juce__functions: functions,
      __juce__registeredGlobalEventIds: [],
      __juce__sliders: [],
      __juce__toggles: [],
      __juce__comboBoxes: [],
    },
  };
  return { backend, emitted };
}

const song = (cue: number) => ({ cue, songname: `Song ${cue}`, tracks: 2, markers: [], tempos: [], file_missing: false });
const TABLE = [song(0), song(1), song(2), song(3), song(4)];

beforeEach(() => {
  win = installWindow();
  win.TABLE = TABLE;
});

afterEach(() => {
  vi.unstubAllGlobals();
  vi.restoreAllMocks();
});

describe("registration replays what was pushed before", () => {
  it.each([
    {
      pushed: "",
      replay: [
        ["onSetNextCue", 0],
        ["onSetTransportPosition", 0],
      ],
    },
    {
      pushed: "setCurrentCue(4, 3);",
      replay: [
        ["onSetCurrentCue", 4, 4],
        ["onSetNextCue", 5],
        ["onSetTransportPosition", 0],
      ],
    },
    {
      pushed: "setCurrentCue(0, -1);",
      replay: [
        ["onSetCurrentCue", 0, 0],
        ["onSetNextCue", 1],
        ["onSetTransportPosition", 0],
      ],
    },
    {
      pushed: "native_setTableData(TABLE, 3, 4); setTransportPosition(12.5);",
      replay: [
        ["onSetTableData", TABLE, 3, 4],
        ["onSetNextCue", 4],
        ["onSetTransportPosition", 12.5],
      ],
    },
    {
      pushed: "native_setTableData(TABLE, 3, 4); setNextCue(1);",
      replay: [
        ["onSetTableData", TABLE, 3, 1],
        ["onSetNextCue", 1],
        ["onSetTransportPosition", 0],
      ],
    },
    {
      pushed: "native_setTableData([], -1, 0); setCurrentMarkerLoop(0, 2, 1);",
      replay: [
        ["onSetNextCue", 0],
        ["onSetTransportPosition", 0],
      ],
    },
  ])("after '$pushed'", async ({ pushed, replay }) => {
    runBootstrap();
    runStatement(win, pushed);
    const bridge = await loadBridge();
    bridge.installShowPlayerWindowBridge();
    const { calls, handlers } = recordingHandlers();

    bridge.registerShowPlayerBridge(handlers);

    expect(calls).toEqual(replay);
    expect(win.__quentaroBridgeHandlers).toBe(handlers);
  });

  it("hands later statements to the handlers until they are unregistered", async () => {
    runBootstrap();
    const bridge = await loadBridge();
    const { calls, handlers } = recordingHandlers();
    bridge.registerShowPlayerBridge(handlers);
    calls.length = 0;

    runStatement(win, "setCurrentCue(4, 3);");
    bridge.unregisterShowPlayerBridge();
    runStatement(win, "setNextCue(9);");

    expect(calls).toEqual([["onSetCurrentCue", 4, 3]]);
    expect(win.__quentaroBridgeHandlers).toBeNull();
    expect(bridge.getBridgeNextCue()).toBe(9);
  });

  it("reads the store's values at each call", async () => {
    runBootstrap();
    const bridge = await loadBridge();
    runStatement(win, "setCurrentCue(7, 6); setTransportPosition(30);");
    expect([bridge.getBridgeCurrentCue(), bridge.getBridgeNextCue(), bridge.getTransportPosition()]).toEqual([7, 8, 30]);
  });
});

describe("window functions without the bootstrap script", () => {
  it("keeps the bootstrap script's functions when it ran", async () => {
    runBootstrap();
    const installed = win.setTransportPosition;
    const bridge = await loadBridge();
    bridge.installShowPlayerWindowBridge();
    expect(win.setTransportPosition).toBe(installed);
  });

  it("installs fallbacks that keep the state and call the registered handlers directly", async () => {
    const bridge = await loadBridge();
    bridge.installShowPlayerWindowBridge();
    runStatement(win, "native_setTableData(TABLE, 1, 2); setCurrentCue('4', 3);");

    const { calls, handlers } = recordingHandlers();
    bridge.registerShowPlayerBridge(handlers);
    win.__quentaroBridgeHandlers = null;
    calls.length = 0;
    runStatement(win, "setNextCue('6'); setCurrentMarkerLoop(0, 2, true); setTransportPosition('3.5'); scrollToCue(2);");

    expect(calls).toEqual([
      ["onSetNextCue", 6],
      ["onSetCurrentMarkerLoop", 0, 2, 1],
      ["onSetTransportPosition", 3.5],
      ["onScrollToCue", 2],
    ]);
    expect([bridge.getBridgeCurrentCue(), bridge.getBridgeNextCue(), bridge.getTransportPosition()]).toEqual([4, 6, 3.5]);
  });

  it("replays the fallback state on registration, with the next cue after setCurrentCue", async () => {
    const bridge = await loadBridge();
    bridge.installShowPlayerWindowBridge();
    runStatement(win, "native_setTableData(TABLE, 1, 2); setCurrentCue(3, 1);");
    const { calls, handlers } = recordingHandlers();

    bridge.registerShowPlayerBridge(handlers);

    expect(calls).toEqual([
      ["onSetTableData", TABLE, 3, 4],
      ["onSetNextCue", 4],
      ["onSetTransportPosition", 0],
    ]);
  });

  it("installs only once per page load", async () => {
    const bridge = await loadBridge();
    bridge.installShowPlayerWindowBridge();
    const first = win.setNextCue;
    win.setTransportPosition = undefined;
    bridge.installShowPlayerWindowBridge();
    expect(win.setNextCue).toBe(first);
    expect(win.setTransportPosition).toBeUndefined();
  });
});

describe("native functions through JUCE's library", () => {
  it("drops calls made before the connection", async () => {
    const { emitted } = stubJuceBackend();
    const bridge = await loadBridge();
    bridge.callNative("fireCue", 3);
    expect(emitted).toEqual([]);
  });

  it("publishes the connection and invokes functions by name with their arguments", async () => {
    const { backend, emitted } = stubJuceBackend(["fireCue", "deleteMarker", "keyboardGrab"]);
    const bridge = await loadBridge();

    await bridge.initJuceNative();
    const connection = globalThis.native;
    await bridge.initJuceNative();
    bridge.callNative("fireCue", 3);
    bridge.callNative("deleteMarker", 4, 0);
    bridge.keyboardGrab();

    expect(globalThis.native).toBe(connection);
    expect(connection?.backend).toBe(backend);
    expect(typeof connection?.JUCE.getNativeFunction).toBe("function");
    expect(emitted.map(({ eventId, payload }) => [eventId, (payload as { name: string }).name, (payload as { params: unknown[] }).params])).toEqual([
      ["__juce__invoke", "fireCue", [3]],
      ["__juce__invoke", "deleteMarker", [4, 0]],
      ["__juce__invoke", "keyboardGrab", []],
    ]);
  });

  it("lets the bootstrap's window_onload reach the native side once connected", async () => {
    const { emitted } = stubJuceBackend(["window.onload"]);
    runBootstrap();
    const bridge = await loadBridge();
    await bridge.initJuceNative();

    runStatement(win, "window_onload();");

    expect(emitted).toEqual([{ eventId: "__juce__invoke", payload: expect.objectContaining({ name: "window.onload", params: [] }) }]);
  });

  it("completes outside the program, where every call goes nowhere", async () => {
    const warn = vi.spyOn(console, "warn").mockImplementation(() => {});
    const bridge = await loadBridge();

    await expect(bridge.initJuceNative()).resolves.toBeUndefined();
    expect(() => bridge.callNative("fireCue", 1)).not.toThrow();
    expect(warn).toHaveBeenCalled();
  });
});
