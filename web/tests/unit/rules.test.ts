// The rules the page renders by: row classes, tempo, loop and passed-marker state, the marker
// time format and the keep-visible scrolling rule.
import { describe, expect, it } from "vitest";
import { getSongRowClassName, getTempoForSong, isLoopActive, isMarkerPassed } from "../../src/bridge";
import type { Song } from "../../src/bridge";
import { formatMarkerTime } from "../../src/page/format";
import { cuesToKeepVisible, scrollCorrection } from "../../src/page/scrolling";

const song = (cue: number, extra: Partial<Song> = {}): Song => ({ cue, songname: "Song", tracks: 4, ...extra });

describe("getSongRowClassName", () => {
  it.each([
    { cue: 3, missing: false, current: 3, next: 4, expected: "current-cue-cell" },
    { cue: 4, missing: false, current: 3, next: 4, expected: "next-cue-cell" },
    { cue: 5, missing: false, current: 3, next: 4, expected: "" },
    { cue: 5, missing: true, current: 3, next: 4, expected: "error-cue-cell" },
    { cue: 4, missing: true, current: 3, next: 4, expected: "next-cue-cell error-cue-cell error-cue-cell-next-cue" },
    { cue: 3, missing: true, current: 3, next: 4, expected: "current-cue-cell error-cue-cell" },
    {
      cue: 2,
      missing: true,
      current: 2,
      next: 2,
      expected: "current-cue-cell next-cue-cell error-cue-cell error-cue-cell-next-cue",
    },
    { cue: 0, missing: false, current: -1, next: 0, expected: "next-cue-cell" },
  ])("cue $cue, missing $missing, current $current, next $next: '$expected'", ({ cue, missing, current, next, expected }) => {
    expect(getSongRowClassName(song(cue, { file_missing: missing }), current, next)).toBe(expected);
  });

  it("compares cue numbers strictly", () => {
    const textCue = { ...song(0), cue: "3" } as unknown as Song;
    expect(getSongRowClassName(textCue, 3, 3)).toBe("");
  });
});

describe("getTempoForSong", () => {
  const twoTempos = song(1, {
    tempos: [
      { bpm: 120, position: 0 },
      { bpm: 90, position: 30 },
    ],
  });
  const unsorted = song(2, {
    tempos: [
      { bpm: 128, position: 10 },
      { bpm: 100, position: 60 },
      { bpm: 140, position: 30 },
    ],
  });

  it.each([
    { name: "no tempos", s: song(0, { tempos: [] }), current: 0, position: 50, expected: 120 },
    { name: "no tempo list at all", s: song(0), current: 0, position: 50, expected: 120 },
    { name: "current, before the change", s: twoTempos, current: 1, position: 29.9, expected: 120 },
    { name: "current, at the change", s: twoTempos, current: 1, position: 30, expected: 90 },
    { name: "not current, past the change", s: twoTempos, current: 0, position: 45, expected: 120 },
    { name: "current, before every entry", s: unsorted, current: 2, position: 5, expected: 128 },
    { name: "current, unsorted list, middle", s: unsorted, current: 2, position: 45, expected: 140 },
    { name: "current, unsorted list, last in list order wins", s: unsorted, current: 2, position: 70, expected: 140 },
  ])("$name: $expected", ({ s, current, position, expected }) => {
    expect(getTempoForSong(s, current, position)).toBe(expected);
  });
});

describe("isLoopActive", () => {
  const loopMarker = { songCue: 0, markerNum: 2 };
  it.each([
    { songCue: 0, markerNum: 2, loopActive: 1, expected: true },
    { songCue: 0, markerNum: 2, loopActive: 0, expected: false },
    { songCue: 1, markerNum: 2, loopActive: 1, expected: false },
    { songCue: 0, markerNum: 3, loopActive: 1, expected: false },
    { songCue: 0, markerNum: 2, loopActive: 2, expected: false },
  ])("marker $songCue/$markerNum with loopActive $loopActive: $expected", ({ songCue, markerNum, loopActive, expected }) => {
    expect(isLoopActive(songCue, markerNum, loopActive, loopMarker)).toBe(expected);
  });
});

describe("isMarkerPassed", () => {
  it.each([
    { marker: 12, songCue: 3, current: 3, position: 12, expected: true },
    { marker: 12, songCue: 3, current: 3, position: 11.999, expected: false },
    { marker: 12, songCue: 3, current: 3, position: 0, expected: false },
    { marker: 0, songCue: 3, current: 3, position: 0, expected: false },
    { marker: 0, songCue: 3, current: 3, position: 0.001, expected: true },
    { marker: 12, songCue: 4, current: 3, position: 20, expected: false },
    { marker: -1, songCue: 3, current: 3, position: -0.5, expected: false },
  ])(
    "marker at $marker of song $songCue, current $current, transport $position: $expected",
    ({ marker, songCue, current, position, expected }) => {
      expect(isMarkerPassed(marker, songCue, current, position)).toBe(expected);
    },
  );
});

describe("formatMarkerTime", () => {
  it.each([
    [0, "00:00:00:000"],
    [0.4, "00:00:00:400"],
    [3725.5, "01:02:05:500"],
    [59.9996, "00:01:00:000"],
    [0.0004, "00:00:00:000"],
    [86_400, "24:00:00:000"],
    [360_000, "100:00:00:000"],
    [48_000, "13:20:00:000"],
  ])("%s s is %s", (seconds, text) => {
    expect(formatMarkerTime(seconds)).toBe(text);
  });
});

describe("keeping cue rows visible", () => {
  // A viewport from 100 to 400 on screen: the band runs from 138 to 392.
  it.each([
    { name: "inside the band", top: 200, bottom: 234, delta: 0 },
    { name: "exactly on the band's edges", top: 138, bottom: 392, delta: 0 },
    { name: "below the band", top: 380, bottom: 414, delta: 22 },
    { name: "under the sticky header", top: 120, bottom: 154, delta: -18 },
    { name: "above the viewport", top: -300, bottom: -266, delta: -438 },
    { name: "taller than the band: the top wins", top: 120, bottom: 500, delta: -18 },
    { name: "taller than the band, top inside", top: 150, bottom: 500, delta: 108 },
  ])("rows $name scroll by $delta", ({ top, bottom, delta }) => {
    expect(scrollCorrection(top, bottom, 100, 400)).toBe(delta);
  });

  it.each([
    { cues: [5, 6, 5], expected: [5, 6] },
    { cues: [-1, 0, -3], expected: [0] },
    { cues: [-1], expected: [] },
  ])("scrolls to $expected for cues $cues", ({ cues, expected }) => {
    expect(cuesToKeepVisible(cues)).toEqual(expected);
  });
});
