import type { BridgeStore, NativeConnection, JuceBackend, ShowPlayerBridgeHandlers } from "./types";

// Globals shared by the bootstrap script, the bridge module and the native side's statements.
declare global {
  interface Window {
    __quentaroBridgeStore?: BridgeStore;
    __quentaroBridgeHandlers?: ShowPlayerBridgeHandlers | null;
    __JUCE__?: { backend: JuceBackend; initialisationData?: Record<string, unknown> };
    /** Set by the render benchmark only: each render appends its duration in milliseconds. */
    __quentaroRenderProbe?: number[];

    native_setTableData?: (data: unknown, currentCue: unknown, nextCue: unknown) => void;
    setCurrentCue?: (cue: unknown, previousCue: unknown) => void;
    setNextCue?: (cue: unknown) => void;
    scrollToCue?: (cue: unknown) => void;
    setCurrentMarkerLoop?: (songCue: unknown, markerNum: unknown, loopActive: unknown) => void;
    setTransportPosition?: (position: unknown) => void;
    window_onload?: () => void;
  }

  var native: NativeConnection | undefined;
}

export {};
