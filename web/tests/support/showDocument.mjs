// @ts-check
// Show documents as the host writes them: songs with markers, tempos and time signatures.

export const DEMO_SONGS = [
  ["Midnight Serenade", 8, 128],
  ["Whispers in the Wind", 12, 90],
  ["Electric Dreams", 16, 140],
  ["Lost in the Stars", 10, 110],
  ["Dancing in the Moonlight", 8, 124],
  ["Fire and Ice", 14, 132],
  ["Soulful Redemption", 6, 85],
  ["Northern Lights", 8, 118],
  ["Live in Tokyo", 24, 128],
  ["No More Pain", 4, 95],
  ["Peaceful Morning", 8, 72],
  ["In Your Heart", 10, 100],
  ["With You", 6, 88],
  ["Without Love", 8, 105],
  ["My Love", 12, 120],
  ["Save Me", 16, 135],
];

export const DEMO_MARKERS = [
  ["Intro", 0],
  ["Verse", 48000],
  ["Chorus", 96000],
  ["Bridge", 144000],
  ["Outro", 192000],
];

/**
 * The demo-shaped show: `songs` songs (names and tempos of the demo, repeated past 16) with
 * `markersPerSong` markers each; only song 0's "Chorus" loop is marked active.
 * @param {{ songs?: number, markersPerSong?: number, missing?: number[],
 *           markers?: Array<[string, number]>, tempos?: Record<number, Array<[number, number]>> }} [options]
 */
export function buildShowDocument(options = {}) {
  const { songs = 16, markersPerSong = 5, missing = [], markers = DEMO_MARKERS, tempos = {} } = options;
  return Array.from({ length: songs }, (_, cue) => {
    const [name, tracks, bpm] = DEMO_SONGS[cue % DEMO_SONGS.length];
    return {
      cue,
      songname: cue < DEMO_SONGS.length ? name : `${name} ${Math.floor(cue / DEMO_SONGS.length) + 1}`,
      tracks,
      markers: Array.from({ length: markersPerSong }, (_, index) => {
        const [markerName, position] = markers[index % markers.length];
        return { index, position, name: markerName, songCue: cue, loopActive: cue === 0 && index === 2 };
      }),
      tempos: (tempos[cue] ?? [[bpm, 0]]).map(([tempo, position]) => ({ bpm: tempo, position, songCue: cue })),
      timesignature: [{ numerator: 4, denominator: 4, position: 0, songCue: cue }],
      file_missing: missing.includes(cue),
    };
  });
}

/** The statement the native side evaluates for a cue table, with the document as multi-line JSON. */
export function tableStatement(/** @type {unknown} */ document, /** @type {number} */ current, /** @type {number} */ next) {
  return `native_setTableData(${JSON.stringify(document, null, 2)}, ${current}, ${next});`;
}
