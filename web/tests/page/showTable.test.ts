// The cue table as it renders: rows and their state colours, marker panels with their times,
// passed markers, the tempo column and the loop icon following the native side's calls.
import type { Page } from "playwright-core";
import { afterEach, describe, expect, it } from "vitest";
import { buildShowDocument, tableStatement } from "../support/showDocument.mjs";
import { evaluate, openPlayer, songRow, usePageHarness } from "./pageHarness";

const harness = usePageHarness();
let page: Page;

afterEach(async () => {
  await page?.close();
});

const GREEN = "rgb(38, 160, 27)";
const NEXT = "rgb(135, 123, 113)";
const MISSING = "rgb(18, 18, 18)";
const MISSING_NEXT = "rgb(88, 88, 88)";
const RED = "rgb(255, 0, 0)";
const WHITE = "rgb(255, 255, 255)";
const PLAIN = "rgba(0, 0, 0, 0)";
const PASSED = "rgb(149, 226, 157)";

function style(selector: string, property: "backgroundColor" | "color" | "boxShadow" | "fontSize" | "height") {
  return () => page.$eval(selector, (element, p) => getComputedStyle(element)[p], property);
}

const rowText = (cue: number) => page.$$eval(`${songRow(cue)} > td`, (cells) => cells.map((c) => c.textContent?.trim()));

describe("page before any table", () => {
  it("shows the header row only, in the page's structure", async () => {
    page = await openPlayer(harness);

    const structure = await page.evaluate(() => ({
      lang: document.documentElement.lang,
      dark: document.documentElement.classList.contains("dark"),
      bodyOverflow: getComputedStyle(document.body).overflow,
      shell: document.querySelectorAll(".show-player-shell").length,
      viewport: (() => {
        const v = document.querySelector<HTMLElement>('[data-slot="scroll-area-viewport"]');
        return v ? [v.clientWidth, v.clientHeight, v.querySelector("table.show-player-table") !== null] : null;
      })(),
      headers: [...document.querySelectorAll(".show-player-table > thead .show-table-head")].map((th) => [
        th.textContent,
        (th as HTMLElement).style.width,
      ]),
      rows: document.querySelectorAll(".show-player-table > tbody > tr").length,
      font: getComputedStyle(document.querySelector(".show-player-shell")!).fontFamily,
      stylesheets: document.styleSheets.length,
    }));

    expect(structure).toEqual({
      lang: "en",
      dark: true,
      bodyOverflow: "hidden",
      shell: 1,
      viewport: [1200, 700, true],
      headers: [
        ["Cue", "10%"],
        ["Song Name", "48%"],
        ["Tempo", "12%"],
        ["Tracks", "12%"],
        ["Fire", "12%"],
      ],
      rows: 0,
      font: "SFTHONBURI, sans-serif",
      stylesheets: 1,
    });
  });
});

describe("song rows", () => {
  it("renders the demo-sized show with current, next and plain rows in their colours", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 3, 4));

    await expect.poll(() => page.locator("tr[data-cue-row]").count()).toBe(16);
    expect(await rowText(3)).toEqual(["3", "Lost in the Stars", "110", "10", ""]);
    await expect.poll(style(songRow(3), "backgroundColor")).toBe(GREEN);
    await expect.poll(style(songRow(4), "backgroundColor")).toBe(NEXT);
    expect(await style(songRow(5), "backgroundColor")()).toBe(PLAIN);
    expect(await style(`${songRow(5)} > td`, "height")()).toBe("34px");

    await evaluate(page, "setCurrentCue(4, 3);");
    await expect.poll(style(songRow(4), "backgroundColor")).toBe(GREEN);
    await expect.poll(style(songRow(5), "backgroundColor")).toBe(NEXT);
    await expect.poll(style(songRow(3), "backgroundColor")).toBe(PLAIN);
  });

  it.each([
    { name: "missing file", current: 0, next: 1, classes: "show-song-row error-cue-cell", background: MISSING },
    {
      name: "missing file, next",
      current: 0,
      next: 6,
      classes: "show-song-row next-cue-cell error-cue-cell error-cue-cell-next-cue",
      background: MISSING_NEXT,
    },
    {
      name: "missing file, current",
      current: 6,
      next: 7,
      classes: "show-song-row current-cue-cell error-cue-cell",
      background: MISSING,
    },
  ])("a song with a $name is red on its own background", async ({ current, next, classes, background }) => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument({ missing: [6] }), current, next));

    await expect.poll(() => page.getAttribute(songRow(6), "class")).toBe(classes);
    await expect.poll(style(songRow(6), "backgroundColor")).toBe(background);
    await expect.poll(style(songRow(6), "color")).toBe(RED);
  });

  it("highlights nothing for cues without a row", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 15, 16));
    await expect.poll(() => page.locator(".next-cue-cell").count()).toBe(0);
    await expect.poll(() => page.locator(".current-cue-cell").count()).toBe(1);
  });

  it("keeps hover colour off state rows and gives it to plain rows", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 3, 4));
    await page.locator(songRow(3)).hover();
    await expect.poll(style(songRow(3), "backgroundColor")).toBe(GREEN);
    await page.locator(songRow(7)).hover();
    await expect.poll(style(songRow(7), "backgroundColor")).toBe("rgba(38, 38, 38, 0.5)");
  });
});

describe("marker panel", () => {
  it("opens under its song with the markers and their times, and survives a new table", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));

    await page.click(`${songRow(2)} [data-expand-toggle]`);
    const panel = `${songRow(2)} + tr .marker-detail-panel`;
    await expect.poll(() => page.locator(`${panel} .marker-detail-row`).count()).toBe(5);
    expect(await page.$$eval(`${panel} .marker-detail-row`, (rows) => rows.map((r) => [...r.children].map((c) => c.textContent)))).toEqual([
      ["Intro", "00:00:00:000", "", ""],
      ["Verse", "13:20:00:000", "", ""],
      ["Chorus", "26:40:00:000", "", ""],
      ["Bridge", "40:00:00:000", "", ""],
      ["Outro", "53:20:00:000", "", ""],
    ]);
    expect(await page.$$eval(`${panel} .show-table-head`, (cells) => cells.map((c) => c.textContent))).toEqual([
      "Marker",
      "Time",
      "Loop",
      "Fire",
    ]);
    expect(await page.getAttribute(`${songRow(2)} [data-expand-toggle] path`, "d")).toBe("m6 9 6 6 6-6");
    expect(await style(`${panel} .marker-time`, "fontSize")()).toBe("12px");

    await evaluate(page, tableStatement(buildShowDocument({ songs: 4 }), 0, 1));
    await expect.poll(() => page.locator(`${panel} .marker-detail-row`).count()).toBe(5);
    expect(await page.locator("tr[data-cue-row]").count()).toBe(4);

    await page.click(`${songRow(2)} [data-expand-toggle]`);
    await expect.poll(() => page.locator(".marker-detail-panel").count()).toBe(0);
    expect(await page.getAttribute(`${songRow(2)} [data-expand-toggle] path`, "d")).toBe("m9 18 6-6-6-6");
  });

  it("colours markers of the playing song once the transport has passed them", async () => {
    page = await openPlayer(harness);
    const show = buildShowDocument({ songs: 3, markersPerSong: 2, markers: [["Start", 0], ["Drop", 12]] });
    await evaluate(page, tableStatement(show, 1, 2));
    await page.click(`${songRow(1)} [data-expand-toggle]`);
    await page.click(`${songRow(2)} [data-expand-toggle]`);

    const time = (cue: number, index: number) => `${songRow(cue)} + tr .marker-detail-row:nth-child(${index + 1}) .marker-time`;
    const colours = () => Promise.all([time(1, 0), time(1, 1), time(2, 1)].map((s) => style(s, "color")()));

    await evaluate(page, "setTransportPosition(0);");
    await expect.poll(colours).toEqual([WHITE, WHITE, WHITE]);
    await evaluate(page, "setTransportPosition(11);");
    await expect.poll(colours).toEqual([PASSED, WHITE, WHITE]);
    await evaluate(page, "setTransportPosition(12);");
    await expect.poll(colours).toEqual([PASSED, PASSED, WHITE]);
  });

  it("shows the loop icon on exactly the marker the loop call names", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await page.click(`${songRow(0)} [data-expand-toggle]`);
    await page.click(`${songRow(1)} [data-expand-toggle]`);
    const visibleLoops = () =>
      page.$$eval(".marker-loop-button svg", (icons) =>
        icons.flatMap((icon, i) => (getComputedStyle(icon).visibility === "visible" ? [i] : [])),
      );

    // The document's loopActive flags are not the page's business: no icon yet.
    await expect.poll(() => page.locator(".marker-loop-button").count()).toBe(10);
    expect(await visibleLoops()).toEqual([]);

    await evaluate(page, "setCurrentMarkerLoop(1, 3, 1);");
    await expect.poll(visibleLoops).toEqual([8]);
    expect(await style(".marker-loop-button", "color")()).toBe("rgb(237, 174, 13)");

    await evaluate(page, "setCurrentMarkerLoop(1, 3, 0);");
    await expect.poll(visibleLoops).toEqual([]);
  });
});

describe("refresh", () => {
  it("follows the transport in the tempo column without any pushed update", async () => {
    page = await openPlayer(harness);
    const show = buildShowDocument({ songs: 3, tempos: { 1: [[120, 0], [90, 30]], 2: [[100, 0], [70, 10]] } });
    await evaluate(page, tableStatement(show, 1, 2) + "setTransportPosition(29.9);");
    const tempo = () => page.textContent(`${songRow(1)} > td:nth-child(3)`);
    await expect.poll(tempo).toBe("120");

    // Changed behind the page's back: only the 100 ms refresh can show it.
    await page.evaluate(() => {
      window.__quentaroBridgeStore!.transportPosition = 30;
    });
    await expect.poll(tempo, { timeout: 2_000 }).toBe("90");
    expect(await page.textContent(`${songRow(2)} > td:nth-child(3)`)).toBe("100");
  });
});
