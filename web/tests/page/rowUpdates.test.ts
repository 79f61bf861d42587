// The refresh and the transport's updates redraw only the rows the position moves, and nothing
// when nothing changed. Each case changes one thing on a page already drawn, then checks what it
// shows against a page drawn from scratch in the final state: a row left stale differs.
import type { Page } from "playwright-core";
import { afterEach, describe, expect, it } from "vitest";
import { buildShowDocument, tableStatement } from "../support/showDocument.mjs";
import { evaluate, openPlayer, songRow, usePageHarness } from "./pageHarness";

const harness = usePageHarness();
const pages: Page[] = [];

afterEach(async () => {
  await Promise.all(pages.splice(0).map((p) => p.close()));
});

/**
 * Four songs with markers at 0, 12 and 30; song 1 changes tempo at 12, and song 2's panel also
 * lists a marker of song 1 (its songCue says so), which follows song 1's transport.
 */
function show(markers: Array<[string, number]> = [["Start", 0], ["Drop", 12], ["End", 30]]) {
  const document = buildShowDocument({ songs: 4, markersPerSong: 3, markers, tempos: { 1: [[120, 0], [90, 12]] } });
  document[2].markers[0].songCue = 1;
  return document;
}

interface State {
  statements: string;
  expanded: number[];
}

const initial = (position: number, expanded = [1, 2]): State => ({
  statements: tableStatement(show(), 1, 2) + `setTransportPosition(${position});`,
  expanded,
});

async function open(state: State): Promise<Page> {
  const page = await openPlayer(harness);
  pages.push(page);
  await evaluate(page, state.statements);
  for (const cue of state.expanded) await page.click(`${songRow(cue)} [data-expand-toggle]`);
  await page.locator(".marker-detail-row").nth(state.expanded.length * 3 - 1).waitFor();
  return page;
}

/** The rows as drawn, with every attribute and text. */
const rows = (page: Page) => page.$eval(".show-player-table > tbody", (body) => body.innerHTML);

/** "cue/marker" of each passed marker, by the song whose panel lists it, and the tempo column. */
const shown = (page: Page) =>
  page.evaluate(() => ({
    passed: [...document.querySelectorAll(".marker-time-passed")].map((time) => {
      const detail = time.closest(".show-detail-row");
      const cue = detail?.previousElementSibling?.getAttribute("data-cue-row");
      return `${cue}/${time.closest("tr")?.firstElementChild?.textContent}`;
    }),
    tempos: [...document.querySelectorAll("tr[data-cue-row] > td:nth-child(3)")].map((td) => td.textContent),
  }));

describe("rows after a change on a drawn page", () => {
  it.each<{ name: string; from: State; change: (page: Page) => Promise<unknown>; to: State; passed: string[]; tempos: string[] }>([
    {
      name: "the transport passes a marker",
      from: initial(5),
      change: (p) => evaluate(p, "setTransportPosition(12);"),
      to: initial(12),
      passed: ["1/Start", "1/Drop", "2/Start"],
      tempos: ["128", "90", "140", "110"],
    },
    {
      name: "the transport goes back to the start",
      from: initial(20),
      change: (p) => evaluate(p, "setTransportPosition(0);"),
      to: initial(0),
      passed: [],
      tempos: ["128", "120", "140", "110"],
    },
    {
      name: "the position changes with no update pushed (refresh only)",
      from: initial(5),
      change: (p) =>
        p.evaluate(() => {
          window.__quentaroBridgeStore!.transportPosition = 30;
        }),
      to: initial(30),
      passed: ["1/Start", "1/Drop", "1/End", "2/Start"],
      tempos: ["128", "90", "140", "110"],
    },
    {
      name: "the playing cue changes, the position does not",
      from: initial(12),
      change: (p) => evaluate(p, "setCurrentCue(2, 1);"),
      to: { statements: initial(12).statements + "setCurrentCue(2, 1);", expanded: [1, 2] },
      passed: ["2/Drop"],
      tempos: ["128", "120", "140", "110"],
    },
    {
      name: "a new table moves a marker behind the transport",
      from: initial(5),
      change: (p) => evaluate(p, tableStatement(show([["Start", 0], ["Drop", 3], ["End", 30]]), 1, 2)),
      to: {
        statements: tableStatement(show([["Start", 0], ["Drop", 3], ["End", 30]]), 1, 2) + "setTransportPosition(5);",
        expanded: [1, 2],
      },
      passed: ["1/Start", "1/Drop", "2/Start"],
      tempos: ["128", "120", "140", "110"],
    },
    {
      name: "the playing song's markers open while the transport stands",
      from: initial(12, [2]),
      change: (p) => p.click(`${songRow(1)} [data-expand-toggle]`),
      to: initial(12, [1, 2]),
      passed: ["1/Start", "1/Drop", "2/Start"],
      tempos: ["128", "90", "140", "110"],
    },
    {
      name: "a loop starts, then the transport moves",
      from: initial(5),
      change: (p) => evaluate(p, "setCurrentMarkerLoop(1, 1, 1);setTransportPosition(12);"),
      to: { statements: initial(12).statements + "setCurrentMarkerLoop(1, 1, 1);", expanded: [1, 2] },
      passed: ["1/Start", "1/Drop", "2/Start"],
      tempos: ["128", "90", "140", "110"],
    },
  ])("$name", async ({ from, change, to, passed, tempos }) => {
    const page = await open(from);
    await change(page);

    await expect.poll(() => shown(page), { timeout: 2_000 }).toEqual({ passed, tempos });
    const reference = await open(to);
    expect(await rows(page)).toBe(await rows(reference));
  });

});
