// Keeps cue rows visible below the sticky header: the visible band starts 38 px below the
// viewport's top (30 px header and 8 px) and ends 8 px above its bottom.

export const BAND_TOP_INSET = 38;
export const BAND_BOTTOM_INSET = 8;

/** Cue numbers worth scrolling to: no duplicates, none below 0, in first-seen order. */
export function cuesToKeepVisible(cues: readonly number[]): number[] {
  const unique: number[] = [];
  for (const cue of cues) {
    if (cue >= 0 && !unique.includes(cue)) unique.push(cue);
  }
  return unique;
}

/**
 * How far to scroll (added to the scroll position) so that rows spanning rowsTop..rowsBottom
 * sit inside the band of a viewport spanning viewportTop..viewportBottom; 0 when they already
 * do. When the rows are taller than the band, the top edge wins.
 */
export function scrollCorrection(
  rowsTop: number,
  rowsBottom: number,
  viewportTop: number,
  viewportBottom: number,
): number {
  const bandTop = viewportTop + BAND_TOP_INSET;
  const bandBottom = viewportBottom - BAND_BOTTOM_INSET;
  if (rowsTop >= bandTop && rowsBottom <= bandBottom) return 0;
  if (rowsTop < bandTop) return rowsTop - bandTop;
  if (rowsBottom > bandBottom) return rowsBottom - bandBottom;
  return 0;
}

/** Applies the rule to the rendered rows of the given cues, measuring them as they are now. */
export function keepCuesVisible(
  cues: readonly number[],
  viewport: HTMLElement | null,
  rowForCue: (cue: number) => Element | undefined,
): void {
  const wanted = cuesToKeepVisible(cues);
  if (wanted.length === 0 || !viewport) return;

  let top = Infinity;
  let bottom = -Infinity;
  for (const cue of wanted) {
    const row = rowForCue(cue);
    if (!row) continue;
    const rect = row.getBoundingClientRect();
    top = Math.min(top, rect.top);
    bottom = Math.max(bottom, rect.bottom);
  }
  if (top === Infinity) return;

  const view = viewport.getBoundingClientRect();
  const delta = scrollCorrection(top, bottom, view.top, view.bottom);
  if (delta !== 0) viewport.scrollTop += delta;
}
