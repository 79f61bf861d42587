// Building and updating the table's rows. Each row is built once and then only updated: a render
// compares what a row shows with what it should show and touches the DOM only where they differ.

import type { LoopMarker, Marker, Song } from "../bridge/types";
import { getSongRowClassName, getTempoForSong, isLoopActive, isMarkerPassed } from "../bridge/rules";
import { formatMarkerTime } from "./format";
import { CHEVRON_DOWN, CHEVRON_RIGHT, PLAY, REPEAT, createIcon, setIconPath } from "./icons";

/** The render-time values every row is drawn with. */
export interface RenderContext {
  currentCue: number;
  nextCue: number;
  position: number;
  loopActive: number;
  loopMarker: LoopMarker;
  selectedCue: number | null;
}

export type ButtonAction = "expand" | "fire-cue" | "loop" | "fire-marker";

export interface SongRowView {
  kind: "song";
  song: Song;
  row: HTMLTableRowElement;
  chevron: SVGSVGElement;
  cue: Text;
  name: Text;
  tempo: Text;
  tracks: Text;
  expanded: boolean;
  detail: DetailView | null;
}

export interface MarkerRowView {
  kind: "marker";
  marker: Marker;
  row: HTMLTableRowElement;
  name: Text;
  time: HTMLSpanElement;
  timeText: Text;
  loopIcon: SVGSVGElement;
  loopShown: boolean;
}

export interface DetailView {
  row: HTMLTableRowElement;
  body: HTMLTableSectionElement;
  markers: MarkerRowView[];
}

export const MARKER_HEADERS: ReadonlyArray<[string, string | null]> = [
  ["Marker", null],
  ["Time", "22%"],
  ["Loop", "12%"],
  ["Fire", "12%"],
];

export const SONG_HEADERS: ReadonlyArray<[string, string]> = [
  ["Cue", "10%"],
  ["Song Name", "48%"],
  ["Tempo", "12%"],
  ["Tracks", "12%"],
  ["Fire", "12%"],
];

function setText(node: Text, value: string): void {
  if (node.data !== value) node.data = value;
}

function setClass(element: Element, value: string): void {
  if (element.getAttribute("class") !== value) element.setAttribute("class", value);
}

function cell(row: HTMLTableRowElement): HTMLTableCellElement {
  const td = document.createElement("td");
  td.className = "show-table-cell";
  row.appendChild(td);
  return td;
}

function textCell(row: HTMLTableRowElement): Text {
  const text = document.createTextNode("");
  cell(row).appendChild(text);
  return text;
}

function actionButton(action: ButtonAction, label: string, icon: SVGSVGElement): HTMLButtonElement {
  const button = document.createElement("button");
  button.type = "button";
  button.className = "show-table-action";
  button.dataset.action = action;
  button.setAttribute("aria-label", label);
  button.appendChild(icon);
  return button;
}

export function createHeaderRow(headers: ReadonlyArray<readonly [string, string | null]>): HTMLTableRowElement {
  const row = document.createElement("tr");
  row.className = "show-table-header-row";
  for (const [label, width] of headers) {
    const th = document.createElement("th");
    th.className = "show-table-head";
    if (width) th.style.width = width;
    th.textContent = label;
    row.appendChild(th);
  }
  return row;
}

export function createSongRow(song: Song): SongRowView {
  const row = document.createElement("tr");

  const toggle = document.createElement("button");
  toggle.type = "button";
  toggle.className = "show-expand-toggle";
  toggle.dataset.action = "expand";
  toggle.setAttribute("data-expand-toggle", "true");
  toggle.setAttribute("aria-expanded", "false");
  const chevron = createIcon(CHEVRON_RIGHT, 16);
  const cue = document.createTextNode("");
  toggle.append(chevron, cue);
  cell(row).appendChild(toggle);

  const name = textCell(row);
  const tempo = textCell(row);
  const tracks = textCell(row);
  cell(row).appendChild(actionButton("fire-cue", "Fire cue", createIcon(PLAY, 14)));

  return { kind: "song", song, row, chevron, cue, name, tempo, tracks, expanded: false, detail: null };
}

export function updateSongRow(view: SongRowView, song: Song, expanded: boolean, ctx: RenderContext): void {
  view.song = song;
  const state = getSongRowClassName(song, ctx.currentCue, ctx.nextCue);
  let className = state ? `show-song-row ${state}` : "show-song-row";
  if (ctx.selectedCue !== null && song.cue === ctx.selectedCue) className += " show-song-row-selected";
  setClass(view.row, className);

  const cue = String(song.cue);
  if (view.row.getAttribute("data-cue-row") !== cue) view.row.setAttribute("data-cue-row", cue);
  setText(view.cue, cue);
  setText(view.name, String(song.songname ?? ""));
  setText(view.tempo, String(getTempoForSong(song, ctx.currentCue, ctx.position)));
  setText(view.tracks, String(song.tracks ?? ""));

  if (view.expanded !== expanded) {
    view.expanded = expanded;
    setIconPath(view.chevron, (expanded ? CHEVRON_DOWN : CHEVRON_RIGHT)[0]);
    view.chevron.parentElement?.setAttribute("aria-expanded", String(expanded));
  }
}

export function createDetail(): DetailView {
  const row = document.createElement("tr");
  row.className = "show-detail-row";
  const td = document.createElement("td");
  td.className = "show-detail-cell";
  td.colSpan = 5;

  const panel = document.createElement("div");
  panel.className = "marker-detail-panel";
  const table = document.createElement("table");
  table.className = "marker-detail-table";
  const head = document.createElement("thead");
  head.appendChild(createHeaderRow(MARKER_HEADERS));
  const body = document.createElement("tbody");
  table.append(head, body);
  panel.appendChild(table);
  td.appendChild(panel);
  row.appendChild(td);

  return { row, body, markers: [] };
}

function createMarkerRow(marker: Marker): MarkerRowView {
  const row = document.createElement("tr");
  row.className = "marker-detail-row";
  const name = textCell(row);

  const time = document.createElement("span");
  time.className = "marker-time";
  const timeText = document.createTextNode("");
  time.appendChild(timeText);
  cell(row).appendChild(time);

  const loopIcon = createIcon(REPEAT, 14);
  loopIcon.style.visibility = "hidden";
  const loop = actionButton("loop", "Loop marker", loopIcon);
  loop.classList.add("marker-loop-button");
  cell(row).appendChild(loop);
  cell(row).appendChild(actionButton("fire-marker", "Fire marker", createIcon(PLAY, 14)));

  return { kind: "marker", marker, row, name, time, timeText, loopIcon, loopShown: false };
}

function updateMarkerRow(view: MarkerRowView, marker: Marker, ctx: RenderContext): void {
  view.marker = marker;
  setText(view.name, String(marker.name ?? ""));
  setText(view.timeText, formatMarkerTime(Number(marker.position)));
  const passed = isMarkerPassed(marker.position, marker.songCue, ctx.currentCue, ctx.position);
  setClass(view.time, passed ? "marker-time marker-time-passed" : "marker-time");

  const shown = isLoopActive(marker.songCue, marker.index, ctx.loopActive, ctx.loopMarker);
  if (shown !== view.loopShown) {
    view.loopShown = shown;
    view.loopIcon.style.visibility = shown ? "visible" : "hidden";
  }
}

/**
 * Brings a song's marker table up to date; new marker rows are handed to `register` so that
 * pointer events can find their marker.
 */
export function updateDetail(
  detail: DetailView,
  markers: readonly Marker[],
  ctx: RenderContext,
  register: (view: MarkerRowView) => void,
): void {
  const views = detail.markers;
  for (let i = 0; i < markers.length; i++) {
    let view = views[i];
    if (!view) {
      view = createMarkerRow(markers[i]);
      register(view);
      views.push(view);
      detail.body.appendChild(view.row);
    }
    updateMarkerRow(view, markers[i], ctx);
  }
  while (views.length > markers.length) views.pop()?.row.remove();
}
