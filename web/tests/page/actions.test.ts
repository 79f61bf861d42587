// What the operator's pointer and keys do: the native calls each action makes, in order and
// with its arguments, the selection ring, the context menus and the key grab.
import type { Page } from "playwright-core";
import { afterEach, beforeEach, describe, expect, it } from "vitest";
import { buildShowDocument, tableStatement } from "../support/showDocument.mjs";
import { clearNativeCalls, evaluate, nativeCalls, openPlayer, songRow, usePageHarness, type NativeCall } from "./pageHarness";

const harness = usePageHarness();
let page: Page;

const markerRow = (cue: number, index: number) => `${songRow(cue)} + tr .marker-detail-row:nth-child(${index + 1})`;
const GRAB: NativeCall = { name: "keyboardGrab", params: [] };
const call = (name: string, ...params: unknown[]): NativeCall => ({ name, params });

/** A show of 16 songs with song 0's markers open, and no native call recorded yet. */
beforeEach(async () => {
  page = await openPlayer(harness);
  await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
  await page.click(`${songRow(0)} [data-expand-toggle]`);
  await page.locator(markerRow(0, 4)).waitFor();
  await clearNativeCalls(page);
});

afterEach(async () => {
  await page?.close();
});

describe("pointer actions", () => {
  it.each<{ name: string; act: (p: Page) => Promise<unknown>; calls: NativeCall[] }>([
    { name: "fire button of a song", act: (p) => p.click(`${songRow(5)} .show-table-action`), calls: [call("fireCue", 5), GRAB] },
    { name: "click on a song row", act: (p) => p.click(`${songRow(6)} > td:nth-child(2)`), calls: [GRAB] },
    {
      name: "double-click on a song row",
      act: (p) => p.dblclick(`${songRow(6)} > td:nth-child(2)`),
      calls: [GRAB, GRAB, call("setNextCue", 6), GRAB],
    },
    {
      name: "double-click on a song's fire button",
      act: (p) => p.dblclick(`${songRow(6)} .show-table-action`),
      calls: [call("fireCue", 6), GRAB, call("fireCue", 6), GRAB, call("setNextCue", 6), GRAB],
    },
    { name: "double-click on an expand toggle", act: (p) => p.dblclick(`${songRow(6)} [data-expand-toggle]`), calls: [GRAB, GRAB] },
    { name: "click on a marker row", act: (p) => p.click(`${markerRow(0, 1)} > td:first-child`), calls: [GRAB] },
    {
      name: "fire button of a marker",
      act: (p) => p.click(`${markerRow(0, 3)} .show-table-action[data-action="fire-marker"]`),
      calls: [call("fireMarker", 0, 3), GRAB],
    },
    {
      name: "loop button of an inactive marker",
      act: (p) => p.click(`${markerRow(0, 1)} .marker-loop-button`),
      calls: [GRAB, call("setMarkerLoop", 0, 1, 1), GRAB],
    },
    {
      name: "loop button of the looping marker",
      act: async (p) => {
        await evaluate(p, "setCurrentMarkerLoop(0, 1, 1);");
        await p.click(`${markerRow(0, 1)} .marker-loop-button`);
      },
      calls: [GRAB, call("setMarkerLoop", 0, 1, 0), GRAB],
    },
    {
      name: "loop button while another marker loops",
      act: async (p) => {
        await evaluate(p, "setCurrentMarkerLoop(0, 2, 1);");
        await p.click(`${markerRow(0, 1)} .marker-loop-button`);
      },
      calls: [GRAB, call("setMarkerLoop", 0, 1, 1), GRAB],
    },
  ])("$name", async ({ act, calls }) => {
    await act(page);
    await expect.poll(() => nativeCalls(page)).toEqual(calls);
  });

  it("selects a row with a click and clears the selection with a double-click", async () => {
    const ring = () => page.$eval(songRow(6), (row) => getComputedStyle(row).boxShadow);
    await page.click(`${songRow(6)} > td:nth-child(2)`);
    await expect.poll(ring).toContain("rgba(149, 153, 226, 0.6)");

    await page.click(`${songRow(7)} [data-expand-toggle]`);
    await page.click(`${songRow(8)} .show-table-action`);
    expect(await page.locator(".show-song-row-selected").getAttribute("data-cue-row")).toBe("6");

    await page.dblclick(`${songRow(6)} > td:nth-child(2)`);
    await expect.poll(() => page.locator(".show-song-row-selected").count()).toBe(0);
    expect(await ring()).toBe("none");
  });

  it("toggles the marker panel twice on a double-click of the expand toggle", async () => {
    await page.dblclick(`${songRow(6)} [data-expand-toggle]`);
    await page.click(`${songRow(6)} [data-expand-toggle]`);
    await expect.poll(() => page.locator(`${songRow(6)} + tr .marker-detail-panel`).count()).toBe(1);
  });

  it("leaves no button with the keyboard focus", async () => {
    await page.click(`${songRow(3)} .show-table-action`);
    await page.click(`${markerRow(0, 0)} .marker-loop-button`);
    expect(await page.evaluate(() => document.activeElement?.tagName)).toBe("BODY");
  });
});

describe("context menus", () => {
  it.each([
    { row: songRow(2), item: "Edit Song Info", calls: [call("editSongInfo", 2)] },
    { row: markerRow(0, 4), item: "Delete Marker", calls: [call("deleteMarker", 4, 0)] },
    { row: songRow(2), item: "Cancel", calls: [] },
    { row: markerRow(0, 4), item: "Cancel", calls: [] },
  ])("$item on $row", async ({ row, item, calls }) => {
    await page.click(`${row} > td:first-child`, { button: "right" });
    const menu = page.locator(".show-table-context");
    await menu.waitFor();
    await menu.getByText(item, { exact: true }).click();

    await expect.poll(() => page.locator(".show-table-context").count()).toBe(0);
    expect(await nativeCalls(page)).toEqual(calls);
  });

  it("opens at the pointer with the menu's items and look", async () => {
    await page.mouse.click(300, 400, { button: "right" });
    const menu = page.locator(".show-table-context");
    await menu.waitFor();

    const look = await menu.evaluate((element) => {
      const css = getComputedStyle(element);
      const box = element.getBoundingClientRect();
      return {
        items: [...element.children].map((c) => c.textContent || c.getAttribute("role")),
        background: css.backgroundColor,
        border: css.borderTopColor,
        radius: css.borderTopLeftRadius,
        minWidth: css.minWidth,
        at: [Math.round(box.left), Math.round(box.top)],
      };
    });
    expect(look).toMatchObject({ background: "rgb(38, 38, 38)", border: "rgb(58, 58, 58)", radius: "10px", minWidth: "144px", at: [300, 400] });
    expect(look.items).toHaveLength(3);
    expect(look.items[1]).toBe("separator");

    // A press outside closes it and reaches nothing below.
    await page.mouse.click(50, 650);
    await expect.poll(() => menu.count()).toBe(0);
    expect(await nativeCalls(page)).toEqual([]);
  });
});

describe("keys", () => {
  it.each(["a", "ArrowDown", "Space", "PageDown", "Escape"])("%s is swallowed and grabs the keyboard once", async (key) => {
    const seen = await page.evaluate(() => {
      const w = window as unknown as { __keysSeen: string[]; __lastKey?: KeyboardEvent };
      w.__keysSeen = [];
      window.addEventListener("keydown", (e) => (w.__lastKey = e), true);
      document.body.addEventListener("keydown", (e) => w.__keysSeen.push(e.key));
      return w.__keysSeen;
    });
    expect(seen).toEqual([]);

    const scrollBefore = await page.$eval('[data-slot="scroll-area-viewport"]', (v) => v.scrollTop);
    await page.keyboard.press(key);

    await expect.poll(() => nativeCalls(page)).toEqual([GRAB]);
    expect(
      await page.evaluate(() => {
        const w = window as unknown as { __keysSeen: string[]; __lastKey?: KeyboardEvent };
        return { seen: w.__keysSeen, prevented: w.__lastKey?.defaultPrevented };
      }),
    ).toEqual({ seen: [], prevented: true });
    expect(await page.$eval('[data-slot="scroll-area-viewport"]', (v) => v.scrollTop)).toBe(scrollBefore);
  });
});
