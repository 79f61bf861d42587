// The store the bootstrap script keeps, read by the page; registration of the page's handlers
// with a replay of the stored state; and the same window functions as a fallback for a page
// whose bootstrap script never ran.

import type { BridgeStore, LoopMarker, ShowPlayerBridgeHandlers } from "./types";

interface BridgeState {
  transportPosition: number;
  tableData: unknown;
  currentCue: number;
  nextCue: number;
  loopActive: number;
  loopMarker: LoopMarker;
}

// The module's own copy: refreshed from the store when there is one, the only state otherwise.
const fallback: BridgeState = {
  transportPosition: 0,
  tableData: [],
  currentCue: -1,
  nextCue: 0,
  loopActive: 0,
  loopMarker: { songCue: -1, markerNum: -1 },
};

let registered: ShowPlayerBridgeHandlers | null = null;
let installed = false;

function bridgeStore(): BridgeStore | undefined {
  return typeof window === "undefined" ? undefined : window.__quentaroBridgeStore;
}

function refreshFallbackFromStore(): void {
  const store = bridgeStore();
  if (!store) return;
  fallback.transportPosition = store.transportPosition;
  fallback.tableData = store.tableData;
  fallback.currentCue = store.currentCue;
  fallback.nextCue = store.nextCue;
  fallback.loopActive = store.loopActive;
  fallback.loopMarker = store.loopMarker;
}

export function getTransportPosition(): number {
  return bridgeStore()?.transportPosition ?? fallback.transportPosition;
}

export function getBridgeCurrentCue(): number {
  return bridgeStore()?.currentCue ?? fallback.currentCue;
}

export function getBridgeNextCue(): number {
  return bridgeStore()?.nextCue ?? fallback.nextCue;
}

/**
 * Installs the window functions the native side calls, unless the bootstrap script already did.
 * The fallback versions keep their state in the module and call the registered handlers
 * directly. Runs once per page load.
 */
export function installShowPlayerWindowBridge(): void {
  if (installed) return;
  installed = true;

  refreshFallbackFromStore();
  if (typeof window.setTransportPosition === "function") return;

  window.native_setTableData = (data, currentCue, nextCue) => {
    fallback.tableData = data;
    fallback.currentCue = Number(currentCue);
    fallback.nextCue = Number(nextCue);
    registered?.onSetTableData?.(fallback.tableData, fallback.currentCue, fallback.nextCue);
  };
  window.setCurrentCue = (cue, previousCue) => {
    fallback.currentCue = Number(cue);
    fallback.nextCue = fallback.currentCue + 1;
    registered?.onSetCurrentCue?.(fallback.currentCue, Number(previousCue));
  };
  window.setNextCue = (cue) => {
    fallback.nextCue = Number(cue);
    registered?.onSetNextCue?.(fallback.nextCue);
  };
  window.scrollToCue = (cue) => {
    registered?.onScrollToCue?.(Number(cue));
  };
  window.setCurrentMarkerLoop = (songCue, markerNum, loopActive) => {
    fallback.loopMarker = { songCue: Number(songCue), markerNum: Number(markerNum) };
    fallback.loopActive = Number(loopActive);
    registered?.onSetCurrentMarkerLoop?.(
      fallback.loopMarker.songCue,
      fallback.loopMarker.markerNum,
      fallback.loopActive,
    );
  };
  window.setTransportPosition = (position) => {
    fallback.transportPosition = Number(position);
    registered?.onSetTransportPosition?.(fallback.transportPosition);
  };
  window.window_onload = () => {
    const connection = globalThis.native;
    if (connection?.JUCE) void connection.JUCE.getNativeFunction("window.onload")();
  };
}

function tableIsEmpty(table: unknown): boolean {
  return !Array.isArray(table) || table.length === 0;
}

/**
 * Makes the handlers the page's, then replays what was pushed before: the table (or, without
 * one, the current cue), the next cue and the transport position. The marker loop is not
 * replayed; the page learns it from the next setCurrentMarkerLoop.
 */
export function registerShowPlayerBridge(handlers: ShowPlayerBridgeHandlers): void {
  registered = handlers;
  refreshFallbackFromStore();
  window.__quentaroBridgeHandlers = handlers;

  if (!tableIsEmpty(fallback.tableData)) {
    handlers.onSetTableData?.(fallback.tableData, fallback.currentCue, fallback.nextCue);
  } else {
    const current = getBridgeCurrentCue();
    if (current >= 0) handlers.onSetCurrentCue?.(current, current);
  }
  handlers.onSetNextCue?.(getBridgeNextCue());
  handlers.onSetTransportPosition?.(getTransportPosition());
}

export function unregisterShowPlayerBridge(): void {
  registered = null;
  window.__quentaroBridgeHandlers = null;
}
