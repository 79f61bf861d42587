// The small rules the page renders by. Plain functions of plain values.

import type { LoopMarker, Song } from "./types";

const DEFAULT_TEMPO = 120;

/** State classes of a song row: current, next, missing file, and missing file while next. */
export function getSongRowClassName(song: Song, currentCue: number, nextCue: number): string {
  const classes: string[] = [];
  if (song.cue === currentCue) classes.push("current-cue-cell");
  if (song.cue === nextCue) classes.push("next-cue-cell");
  if (song.file_missing === true) classes.push("error-cue-cell");
  if (song.cue === nextCue && song.file_missing === true) classes.push("error-cue-cell-next-cue");
  return classes.join(" ");
}

/**
 * The tempo shown for a song: its first tempo, or for the playing song the last entry in list
 * order that starts at or before the transport position. 120 when it has none.
 */
export function getTempoForSong(song: Song, currentCue: number, position: number): number {
  const tempos = Array.isArray(song.tempos) ? song.tempos : [];
  if (tempos.length === 0) return DEFAULT_TEMPO;

  let bpm = tempos[0].bpm;
  if (song.cue !== currentCue) return bpm;

  for (const tempo of tempos) {
    if (tempo.position <= position) bpm = tempo.bpm;
  }
  return bpm;
}

export function isLoopActive(
  songCue: number,
  markerNum: number,
  loopActive: number,
  loopMarker: LoopMarker,
): boolean {
  return loopActive === 1 && loopMarker.songCue === songCue && loopMarker.markerNum === markerNum;
}

/** A marker of the playing song counts as passed once the transport has moved past it. */
export function isMarkerPassed(
  markerPosition: number,
  songCue: number,
  currentCue: number,
  position: number,
): boolean {
  return currentCue === songCue && markerPosition <= position && position > 0;
}
