// How the page arrives: the built site's files, the bootstrap keeping statements made before the
// page's module has loaded, nothing fetched from elsewhere, and the keep-visible scrolling.
import { readFile, readdir } from "node:fs/promises";
import path from "node:path";
import type { Page } from "playwright-core";
import { afterEach, describe, expect, it } from "vitest";
import { buildShowDocument, tableStatement } from "../support/showDocument.mjs";
import { fontAvailable } from "../support/siteServer.mjs";
import { evaluate, nativeCalls, openPlayer, songRow, usePageHarness } from "./pageHarness";

const harness = usePageHarness();
let page: Page | undefined;

afterEach(async () => {
  await page?.close();
  page = undefined;
});

describe("built site", () => {
  it("has the page, the bootstrap script first, and one stylesheet, all from the site's root", async () => {
    const html = await readFile(path.join(harness.siteDir, "index.html"), "utf8");
    const assets = await readdir(path.join(harness.siteDir, "assets"));
    const stylesheets = assets.filter((name) => name.endsWith(".css"));
    const css = await readFile(path.join(harness.siteDir, "assets", stylesheets[0]), "utf8");

    const scripts = [...html.matchAll(/<script\b([^>]*)>/g)].map((m) => m[1]);
    expect(scripts[0]).toMatch(/^\s*src="\/quentaro-bridge-init\.js"\s*$/);
    expect(scripts[1]).toMatch(/type="module"/);
    expect(scripts[1]).toMatch(/src="\/assets\/[^"]+\.js"/);
    expect(stylesheets).toHaveLength(1);
    expect(html).toContain(`href="/assets/${stylesheets[0]}"`);
    for (const [, url] of html.matchAll(/(?:src|href)="([^"]*)"/g)) expect(url).toMatch(/^(\/[^/]|data:)/);

    expect(css).toMatch(/@font-face\s*{[^}]*font-family:\s*"?SFTHONBURI"?[^}]*url\("?\/SFThonburi-Regular\.ttf"?\)/);
    const rootFiles = await readdir(harness.siteDir);
    expect(rootFiles.filter((name) => name.endsWith(".ttf"))).toEqual([]);
    expect(rootFiles).toContain("quentaro-bridge-init.js");
  });

  it("loads nothing from anywhere but its own site", async () => {
    const origins = new Set<string>();
    page = await harness.context.newPage();
    page.on("request", (request) => origins.add(new URL(request.url()).origin));
    await page.goto(harness.baseUrl);
    await page.waitForFunction(() => window.__quentaroBridgeHandlers != null);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await page.evaluate(() => document.fonts.ready);

    expect([...origins]).toEqual([new URL(harness.baseUrl).origin]);
  });

  it.skipIf(!fontAvailable)("draws its text in the page font", async () => {
    page = await openPlayer(harness);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await expect.poll(() => page!.evaluate(() => document.fonts.check('14px "SFTHONBURI"') && [...document.fonts].some((f) => f.family.replace(/"/g, "") === "SFTHONBURI" && f.status === "loaded"))).toBe(true);
  });
});

describe("statements before the page's module has loaded", () => {
  it("are kept by the bootstrap and replayed when the page registers", async () => {
    page = await harness.context.newPage();
    let release: () => void = () => {};
    const held = new Promise<void>((resolve) => (release = resolve));
    await page.route(/\/assets\/[^/]+\.js$/, async (route) => {
      await held;
      await route.continue();
    });

    await page.goto(harness.baseUrl, { waitUntil: "commit" });
    await page.waitForFunction(() => typeof window.native_setTableData === "function");
    await evaluate(
      page,
      tableStatement(buildShowDocument(), 3, 4) +
        "setCurrentCue(4, 3);setNextCue(6);setCurrentMarkerLoop(0, 2, 1);setTransportPosition(112345);",
    );
    expect(await page.evaluate(() => [window.__quentaroBridgeHandlers, document.querySelectorAll("tr").length])).toEqual([null, 0]);

    release();
    await expect.poll(() => page!.locator("tr[data-cue-row]").count()).toBe(16);
    await expect.poll(() => page!.getAttribute(songRow(4), "class")).toBe("show-song-row current-cue-cell");
    expect(await page.getAttribute(songRow(6), "class")).toBe("show-song-row next-cue-cell");
    expect(await page.getAttribute(songRow(5), "class")).toBe("show-song-row");

    // The loop is not replayed; the page learns it from the next call.
    await page.click(`${songRow(0)} [data-expand-toggle]`);
    const visibleLoops = () => page!.$$eval(".marker-loop-button svg", (icons) => icons.filter((i) => getComputedStyle(i).visibility === "visible").length);
    expect(await visibleLoops()).toBe(0);
    await evaluate(page, "setCurrentMarkerLoop(0, 2, 1);");
    await expect.poll(visibleLoops).toBe(1);

    expect((await nativeCalls(page)).filter((c) => c.name !== "keyboardGrab")).toEqual([{ name: "window.onload", params: [] }]);
  });
});

describe("keeping rows visible", () => {
  const VIEWPORT = { width: 1000, height: 300 };

  async function rowEdges(cue: number) {
    return page!.evaluate((selector) => {
      const viewport = document.querySelector('[data-slot="scroll-area-viewport"]')!.getBoundingClientRect();
      const row = document.querySelector(selector)!.getBoundingClientRect();
      return { top: Math.round(row.top - viewport.top), bottom: Math.round(viewport.bottom - row.bottom) };
    }, songRow(cue));
  }

  const scrollTop = () => page!.$eval('[data-slot="scroll-area-viewport"]', (v) => v.scrollTop);

  it("brings a row from below to 8 px above the bottom and one from above to 38 px below the top", async () => {
    page = await openPlayer(harness, VIEWPORT);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await page.locator(songRow(15)).waitFor();

    await evaluate(page, "setNextCue(12);");
    await expect.poll(() => rowEdges(12).then((e) => e.bottom)).toBe(8);

    await evaluate(page, "setNextCue(2);");
    await expect.poll(() => rowEdges(2).then((e) => e.top)).toBe(38);

    // Already inside the band: nothing moves.
    const before = await scrollTop();
    await evaluate(page, "setNextCue(3);");
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    expect(await scrollTop()).toBe(before);
  });

  it("keeps the current cue and the one after it in view together", async () => {
    page = await openPlayer(harness, VIEWPORT);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await page.locator(songRow(15)).waitFor();

    await evaluate(page, "setCurrentCue(10, 0);");
    await expect.poll(() => rowEdges(11).then((e) => e.bottom)).toBe(8);
    expect((await rowEdges(10)).top).toBeGreaterThanOrEqual(38);
  });

  it("finds rows for the native side's row-scroll snippet by their cue", async () => {
    page = await openPlayer(harness, VIEWPORT);
    await evaluate(page, tableStatement(buildShowDocument(), 0, 1));
    await page.locator(songRow(15)).waitFor();

    await evaluate(page, `var _qnRow=document.querySelector('[data-cue-row="14"]');if(_qnRow)_qnRow.scrollIntoView({block:'nearest'});`);
    await expect.poll(() => rowEdges(14).then((e) => e.bottom)).toBe(0);
  });
});
