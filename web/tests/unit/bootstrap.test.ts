// The bridge bootstrap script (public/quentaro-bridge-init.js): the store it keeps and the
// handlers it calls for each statement the native side evaluates.
import { afterEach, beforeEach, describe, expect, it, vi } from "vitest";
import { installWindow, recordingHandlers, runBootstrap, runStatement, type PageWindow } from "./windowHarness";

let win: PageWindow;

beforeEach(() => {
  win = installWindow();
  runBootstrap();
});

afterEach(() => {
  vi.unstubAllGlobals();
});

const table = [{ cue: 0, songname: "Midnight Serenade", tracks: 8, markers: [], tempos: [], file_missing: false }];

describe("bridge store", () => {
  it("starts with nothing pushed and no handlers", () => {
    expect(win.__quentaroBridgeStore).toEqual({
      transportPosition: 0,
      tableData: [],
      currentCue: -1,
      nextCue: 0,
      loopActive: 0,
      loopMarker: { songCue: -1, markerNum: -1 },
    });
    expect(win.__quentaroBridgeHandlers).toBeNull();
  });

  it.each([
    {
      statement: `native_setTableData(TABLE, 3, 4);`,
      store: { tableData: table, currentCue: 3, nextCue: 4 },
      call: ["onSetTableData", table, 3, 4],
    },
    {
      statement: `native_setTableData(TABLE, "3", "4");`,
      store: { tableData: table, currentCue: 3, nextCue: 4 },
      call: ["onSetTableData", table, 3, 4],
    },
    {
      statement: `setCurrentCue(4, 3);`,
      store: { currentCue: 4, nextCue: 5 },
      call: ["onSetCurrentCue", 4, 3],
    },
    {
      statement: `setCurrentCue(0, -1);`,
      store: { currentCue: 0, nextCue: 1 },
      call: ["onSetCurrentCue", 0, -1],
    },
    { statement: `setNextCue("7");`, store: { nextCue: 7 }, call: ["onSetNextCue", 7] },
    {
      statement: `setCurrentMarkerLoop(2, 1, true);`,
      store: { loopMarker: { songCue: 2, markerNum: 1 }, loopActive: 1 },
      call: ["onSetCurrentMarkerLoop", 2, 1, 1],
    },
    {
      statement: `setCurrentMarkerLoop("0", "2", 0);`,
      store: { loopMarker: { songCue: 0, markerNum: 2 }, loopActive: 0 },
      call: ["onSetCurrentMarkerLoop", 0, 2, 0],
    },
    {
      statement: `setTransportPosition(112345);`,
      store: { transportPosition: 112345 },
      call: ["onSetTransportPosition", 112345],
    },
    { statement: `scrollToCue("12");`, store: {}, call: ["onScrollToCue", 12] },
  ])("$statement updates the store and calls its handler", ({ statement, store, call }) => {
    win.TABLE = table;
    const before = { ...win.__quentaroBridgeStore };
    const { calls, handlers } = recordingHandlers();
    win.__quentaroBridgeHandlers = handlers;

    runStatement(win, statement);

    expect(win.__quentaroBridgeStore).toEqual({ ...before, ...store });
    expect(calls).toEqual([call]);
  });

  it("keeps the table exactly as pushed, without conversion", () => {
    const pushed = { not: "an array" };
    win.native_setTableData?.(pushed, 0, 1);
    expect(win.__quentaroBridgeStore?.tableData).toBe(pushed);
  });
});

describe("handler lookup", () => {
  it("only changes the store while no handlers are registered", () => {
    expect(() => runStatement(win, "setCurrentCue(4, 3); setNextCue(6); setTransportPosition(9);")).not.toThrow();
    expect(win.__quentaroBridgeStore).toMatchObject({ currentCue: 4, nextCue: 6, transportPosition: 9 });
  });

  it("looks the handler up at each call and skips missing ones", () => {
    const first = recordingHandlers();
    const onSetNextCue = vi.fn();
    win.__quentaroBridgeHandlers = first.handlers;
    runStatement(win, "setNextCue(1);");

    win.__quentaroBridgeHandlers = { onSetNextCue };
    runStatement(win, "setNextCue(2); setTransportPosition(5);");

    expect(first.calls).toEqual([["onSetNextCue", 1]]);
    expect(onSetNextCue).toHaveBeenCalledExactlyOnceWith(2);
    expect(win.__quentaroBridgeStore?.transportPosition).toBe(5);
  });
});

describe("window_onload", () => {
  it("does nothing before the page has connected to JUCE", () => {
    expect(() => runStatement(win, "window_onload();")).not.toThrow();
  });

  it("invokes the native function window.onload with no arguments once connected", () => {
    const invoke = vi.fn(() => new Promise(() => {}));
    const getNativeFunction = vi.fn(() => invoke);
    vi.stubGlobal("native", { JUCE: { getNativeFunction }, backend: undefined });

    runStatement(win, "window_onload();");

    expect(getNativeFunction).toHaveBeenCalledExactlyOnceWith("window.onload");
    expect(invoke).toHaveBeenCalledExactlyOnceWith();
  });
});
