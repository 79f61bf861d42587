// The show player: the cue table with its marker panels, the page's state, its pointer and key
// handling, and the 100 ms refresh that keeps tempos and passed markers in step with the
// transport. All of it runs on the page's one script thread.
//
// A full render walks every row; the refresh and the transport updates (ten a second while
// playing) only redraw what the transport moves, and nothing at all when nothing changed, so an
// idle or playing page costs the web view next to nothing even with a thousand songs.

import {
  callNative,
  getBridgeCurrentCue,
  getBridgeNextCue,
  getTransportPosition,
  initJuceNative,
  isLoopActive,
  keyboardGrab,
  registerShowPlayerBridge,
  unregisterShowPlayerBridge,
} from "../bridge";
import type { LoopMarker, Marker, ShowPlayerBridgeHandlers, Song } from "../bridge/types";
import { closeContextMenu, openContextMenu } from "./contextMenu";
import {
  SONG_HEADERS,
  createDetail,
  createHeaderRow,
  createSongRow,
  updateDetail,
  updateSongRow,
  type ButtonAction,
  type MarkerRowView,
  type RenderContext,
  type SongRowView,
} from "./rows";
import { createScrollArea, type ScrollArea } from "./scrollArea";
import { keepCuesVisible } from "./scrolling";

const REFRESH_INTERVAL_MS = 100;

function isSong(value: unknown): value is Song {
  return typeof value === "object" && value !== null;
}

function markersOf(song: Song): Marker[] {
  return Array.isArray(song.markers) ? song.markers.filter((m) => typeof m === "object" && m !== null) : [];
}

/** A song row, with its marker panel's markers when open, as the last full render drew it. */
interface DrawnSong {
  view: SongRowView;
  song: Song;
  expanded: boolean;
  markers: Marker[];
}

/** Everything but the position that a full render draws from. */
interface DrawnState {
  table: Song[];
  expandedChanges: number;
  currentCue: number;
  nextCue: number;
  loopActive: number;
  loopSongCue: number;
  loopMarkerNum: number;
  selectedCue: number | null;
}

function sameState(a: DrawnState, b: DrawnState): boolean {
  return (
    a.table === b.table &&
    a.expandedChanges === b.expandedChanges &&
    a.currentCue === b.currentCue &&
    a.nextCue === b.nextCue &&
    a.loopActive === b.loopActive &&
    a.loopSongCue === b.loopSongCue &&
    a.loopMarkerNum === b.loopMarkerNum &&
    a.selectedCue === b.selectedCue
  );
}

/**
 * Whether a row shows something the transport position decides: the playing song's tempo
 * (getTempoForSong) or a marker of the playing song, passed or not (isMarkerPassed, which goes by
 * the marker's own songCue, wherever its panel is).
 */
function followsPosition(song: Song, markers: readonly Marker[], currentCue: number): boolean {
  return song.cue === currentCue || markers.some((marker) => marker.songCue === currentCue);
}

export class ShowPlayer {
  // Page state.
  private table: Song[] = [];
  // The playing cue as the handlers last heard it, used while the bridge knows none. The next
  // cue is always the bridge's: its handlers only trigger a render and a scroll.
  private currentCue = -1;
  private loopActive = 0;
  private loopMarker: LoopMarker = { songCue: -1, markerNum: -1 };
  private readonly expanded = new Map<number, boolean>();
  // Counts the changes of `expanded`, so that a refresh can tell one happened.
  private expandedChanges = 0;
  private selectedCue: number | null = null;
  private rowElements = new Map<number, HTMLTableRowElement>();

  // Rendering.
  private readonly shell: HTMLElement;
  private readonly scrollArea: ScrollArea;
  private readonly body: HTMLTableSectionElement;
  private views = new Map<string, SongRowView>();
  private readonly viewOfRow = new WeakMap<Element, SongRowView | MarkerRowView>();
  // What the last full render drew from, and the rows of it that follow the position; null
  // until the first render.
  private drawn: DrawnState | null = null;
  private drawnPosition = 0;
  private positionRows: DrawnSong[] = [];

  private refreshTimer: number | undefined;
  private started = false;

  private readonly handlers: ShowPlayerBridgeHandlers = {
    onSetTableData: (table, current, next) => {
      this.table = Array.isArray(table) ? table.filter(isSong) : [];
      this.currentCue = current;
      this.render();
      this.scrollOnNextFrame([next]);
    },
    onSetCurrentCue: (current) => {
      this.currentCue = current;
      this.render();
      this.scrollOnNextFrame([current, current + 1]);
    },
    onSetNextCue: (next) => {
      this.render();
      this.scrollOnNextFrame([next]);
    },
    onScrollToCue: (cue) => {
      this.scrollOnNextFrame([cue]);
    },
    onSetCurrentMarkerLoop: (songCue, markerNum, active) => {
      this.loopMarker = { songCue, markerNum };
      this.loopActive = active;
      this.render();
    },
    onSetTransportPosition: () => {
      this.refresh();
    },
  };

  constructor(host: HTMLElement) {
    this.shell = document.createElement("div");
    this.shell.className = "show-player-shell";

    const table = document.createElement("table");
    table.className = "show-player-table";
    const head = document.createElement("thead");
    head.appendChild(createHeaderRow(SONG_HEADERS));
    this.body = document.createElement("tbody");
    table.append(head, this.body);

    this.scrollArea = createScrollArea(table);
    this.shell.appendChild(this.scrollArea.root);
    host.appendChild(this.shell);

    this.body.addEventListener("click", this.onClick);
    this.body.addEventListener("dblclick", this.onDoubleClick);
    this.body.addEventListener("contextmenu", this.onContextMenu);
    this.body.addEventListener("focusin", this.onFocusIn);
  }

  start(): void {
    if (this.started) return;
    this.started = true;

    this.render();
    this.refreshTimer = window.setInterval(() => this.refresh(), REFRESH_INTERVAL_MS);
    document.addEventListener("keydown", this.onKeyDown, true);

    const connect = () => {
      if (!this.started) return;
      registerShowPlayerBridge(this.handlers);
      window.window_onload?.();
    };
    initJuceNative().then(connect, connect);
  }

  stop(): void {
    if (!this.started) return;
    this.started = false;
    unregisterShowPlayerBridge();
    window.clearInterval(this.refreshTimer);
    document.removeEventListener("keydown", this.onKeyDown, true);
    closeContextMenu();
  }

  /** Draws every row from the current state; called on each update but the transport's. */
  render(): void {
    const started = performance.now();
    this.draw(this.context());
    this.probe(started);
  }

  /**
   * The timed refresh and the transport's updates: a full render when anything but the position
   * changed since the last one, only the rows that follow the position when just it moved, and
   * nothing when nothing did.
   */
  refresh(): void {
    const started = performance.now();
    const ctx = this.context();
    if (!this.drawn || !sameState(this.drawn, this.stateOf(ctx))) {
      this.draw(ctx);
    } else if (ctx.position !== this.drawnPosition) {
      this.drawnPosition = ctx.position;
      for (const { view, song, expanded, markers } of this.positionRows) {
        updateSongRow(view, song, expanded, ctx);
        if (view.detail) updateDetail(view.detail, markers, ctx, (marker) => this.viewOfRow.set(marker.row, marker));
      }
    }
    this.probe(started);
  }

  private context(): RenderContext {
    const bridgeCurrent = getBridgeCurrentCue();
    return {
      currentCue: bridgeCurrent >= 0 ? bridgeCurrent : this.currentCue,
      nextCue: getBridgeNextCue(),
      position: getTransportPosition(),
      loopActive: this.loopActive,
      loopMarker: this.loopMarker,
      selectedCue: this.selectedCue,
    };
  }

  private stateOf(ctx: RenderContext): DrawnState {
    return {
      table: this.table,
      expandedChanges: this.expandedChanges,
      currentCue: ctx.currentCue,
      nextCue: ctx.nextCue,
      loopActive: ctx.loopActive,
      loopSongCue: ctx.loopMarker.songCue,
      loopMarkerNum: ctx.loopMarker.markerNum,
      selectedCue: ctx.selectedCue,
    };
  }

  private probe(started: number): void {
    const probe = window.__quentaroRenderProbe;
    if (probe) probe.push(performance.now() - started);
  }

  private draw(ctx: RenderContext): void {
    const body = this.body;
    const positionRows: DrawnSong[] = [];
    const views = new Map<string, SongRowView>();
    const rows = new Map<number, HTMLTableRowElement>();
    let cursor: ChildNode | null = body.firstChild;
    const place = (node: HTMLTableRowElement) => {
      if (node === cursor) cursor = node.nextSibling;
      else body.insertBefore(node, cursor);
    };

    for (const song of this.table) {
      let key = String(song.cue);
      for (let n = 1; views.has(key); n++) key = `${song.cue}#${n}`;

      let view = this.views.get(key);
      if (!view) {
        view = createSongRow(song);
        this.viewOfRow.set(view.row, view);
      }
      views.set(key, view);
      if (!rows.has(song.cue)) rows.set(song.cue, view.row);

      const expanded = this.expanded.get(song.cue) === true;
      updateSongRow(view, song, expanded, ctx);
      place(view.row);

      const markers = expanded ? markersOf(song) : [];
      if (expanded) {
        view.detail ??= createDetail();
        updateDetail(view.detail, markers, ctx, (marker) => this.viewOfRow.set(marker.row, marker));
        place(view.detail.row);
      } else {
        view.detail = null;
      }
      if (followsPosition(song, markers, ctx.currentCue)) positionRows.push({ view, song, expanded, markers });
    }

    while (cursor) {
      const stale: ChildNode = cursor;
      cursor = stale.nextSibling;
      stale.remove();
    }

    this.views = views;
    this.rowElements = rows;
    this.positionRows = positionRows;
    this.drawn = this.stateOf(ctx);
    this.drawnPosition = ctx.position;
  }

  private scrollOnNextFrame(cues: number[]): void {
    requestAnimationFrame(() =>
      keepCuesVisible(cues, this.viewport(), (cue) => this.rowElements.get(cue)),
    );
  }

  private viewport(): HTMLElement | null {
    if (this.scrollArea.viewport.isConnected) return this.scrollArea.viewport;
    return document.querySelector<HTMLElement>('[data-slot="scroll-area-viewport"]');
  }

  private viewFor(target: EventTarget | null): SongRowView | MarkerRowView | undefined {
    const row = target instanceof Element ? target.closest("tr") : null;
    return row ? this.viewOfRow.get(row) : undefined;
  }

  // Every key is the native side's: take the focus back and keep the key from the page.
  private readonly onKeyDown = (event: KeyboardEvent) => {
    keyboardGrab();
    event.preventDefault();
    event.stopPropagation();
  };

  private readonly onClick = (event: MouseEvent) => {
    const target = event.target instanceof Element ? event.target : null;
    const button = target?.closest<HTMLButtonElement>("button[data-action]");
    const view = this.viewFor(target);
    if (!view) return;

    if (button) {
      this.runButton(button.dataset.action as ButtonAction, view);
      keyboardGrab();
      return;
    }

    if (view.kind === "song") {
      this.selectedCue = view.song.cue;
      this.render();
    }
    keyboardGrab();
  };

  private runButton(action: ButtonAction, view: SongRowView | MarkerRowView): void {
    if (view.kind === "song") {
      const cue = view.song.cue;
      if (action === "expand") {
        this.expanded.set(cue, this.expanded.get(cue) !== true);
        this.expandedChanges++;
        this.render();
      } else if (action === "fire-cue") {
        callNative("fireCue", cue);
      }
      return;
    }

    const { songCue, index } = view.marker;
    if (action === "loop") {
      const active = isLoopActive(songCue, index, this.loopActive, this.loopMarker);
      callNative("setMarkerLoop", songCue, index, active ? 0 : 1);
    } else if (action === "fire-marker") {
      callNative("fireMarker", songCue, index);
    }
  }

  private readonly onDoubleClick = (event: MouseEvent) => {
    const target = event.target instanceof Element ? event.target : null;
    const view = this.viewFor(target);
    if (view?.kind !== "song" || target?.closest("[data-expand-toggle]")) return;

    callNative("setNextCue", view.song.cue);
    this.selectedCue = null;
    this.render();
    keyboardGrab();
  };

  private readonly onContextMenu = (event: MouseEvent) => {
    const view = this.viewFor(event.target);
    if (!view) return;
    event.preventDefault();

    if (view.kind === "song") {
      const cue = view.song.cue;
      openContextMenu(event.clientX, event.clientY, [
        { label: "Edit Song Info", action: () => callNative("editSongInfo", cue) },
        "separator",
        { label: "Cancel", action: () => undefined },
      ]);
    } else {
      const { index, songCue } = view.marker;
      openContextMenu(event.clientX, event.clientY, [
        { label: "Delete Marker", action: () => callNative("deleteMarker", index, songCue) },
        "separator",
        { label: "Cancel", action: () => undefined },
      ]);
    }
  };

  // Buttons never keep the focus; the loop button also hands the keyboard back.
  private readonly onFocusIn = (event: FocusEvent) => {
    const button = event.target instanceof HTMLButtonElement ? event.target : null;
    if (!button) return;
    button.blur();
    if (button.dataset.action === "loop") keyboardGrab();
  };
}
