// Shapes of the show document as the page reads it, and of the state the bridge keeps.
// The host writes the document; nothing guarantees a field is there, so readers stay defensive.

export interface Marker {
  index: number;
  position: number;
  name: string;
  songCue: number;
  loopActive?: boolean;
}

export interface TempoChange {
  bpm: number;
  position: number;
  songCue?: number;
}

export interface Song {
  cue: number;
  songname: string;
  tracks: number;
  markers?: Marker[];
  tempos?: TempoChange[];
  timesignature?: unknown[];
  file_missing?: boolean;
}

export interface LoopMarker {
  songCue: number;
  markerNum: number;
}

/** The latest state the native side pushed; published by the bootstrap script. */
export interface BridgeStore {
  transportPosition: number;
  tableData: unknown;
  currentCue: number;
  nextCue: number;
  loopActive: number;
  loopMarker: LoopMarker;
}

/** What the page registers; every handler is optional. */
export interface ShowPlayerBridgeHandlers {
  onSetTableData?(table: unknown, currentCue: number, nextCue: number): void;
  onSetCurrentCue?(currentCue: number, previousCue: number): void;
  onSetNextCue?(nextCue: number): void;
  onScrollToCue?(cue: number): void;
  onSetCurrentMarkerLoop?(songCue: number, markerNum: number, loopActive: number): void;
  onSetTransportPosition?(position: number): void;
}

export type NativeFunction = (...args: unknown[]) => Promise<unknown>;

export interface JuceFrontend {
  getNativeFunction(name: string): NativeFunction;
}

export interface JuceBackend {
  emitEvent(eventId: string, payload: unknown): void;
  addEventListener(eventId: string, fn: (payload: unknown) => void): unknown;
  removeEventListener(token: unknown): void;
}

/** Published as globalThis.native once the page is connected to JUCE's library. */
export interface NativeConnection {
  JUCE: JuceFrontend;
  backend: JuceBackend | undefined;
}
