// @ts-check
// Render time of the show page's 100 ms refresh, measured inside headless Chromium.
//
// For shows of 16, 200 and 1,000 songs (5 markers each, 10 songs expanded, the first song
// playing with the transport past some of its markers), the page records the duration of each
// render through window.__quentaroRenderProbe; the figures are the median and the 99th
// percentile over at least 100 refresh renders. Prints figures only.
//
// Environment: QUENTARO_SITE_DIR (built site, default dist/, built first when missing),
// QUENTARO_BENCH_RENDERS (renders per show, at least 100; default 120). The server listens on
// 127.0.0.1 only, and the benchmark refuses to run outside a private network namespace
// (`unshare -n sh -c 'ip link set lo up; npm run bench'`), like the page tests.
import { spawnSync } from "node:child_process";
import { existsSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { launchChromium } from "../tests/support/chromium.mjs";
import { NATIVE_FUNCTIONS, installNativeStub } from "../tests/support/nativeStub.mjs";
import { buildShowDocument, tableStatement } from "../tests/support/showDocument.mjs";
import { assertPrivateNetwork } from "../tests/support/privateNetwork.mjs";
import { startSiteServer } from "../tests/support/siteServer.mjs";

const SHOW_SIZES = [16, 200, 1000];
const EXPANDED_SONGS = 10;
const MARKERS_PER_SONG = 5;
const RENDERS = Math.max(100, Number(process.env.QUENTARO_BENCH_RENDERS) || 120);

const webDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const siteDir = path.resolve(webDir, process.env.QUENTARO_SITE_DIR || "dist");

assertPrivateNetwork();

if (!existsSync(path.join(siteDir, "index.html"))) {
  const build = spawnSync("npm", ["run", "build", "--", "--outDir", siteDir, "--emptyOutDir"], {
    cwd: webDir,
    stdio: "inherit",
  });
  if (build.status !== 0) process.exit(build.status ?? 1);
}

/** @param {number[]} sorted @param {number} fraction */
function percentile(sorted, fraction) {
  return sorted[Math.min(sorted.length - 1, Math.max(0, Math.ceil(fraction * sorted.length) - 1))];
}

/**
 * @param {import("playwright-core").BrowserContext} context
 * @param {string} url
 * @param {number} songs
 */
async function measure(context, url, songs) {
  const page = await context.newPage();
  try {
    await page.goto(url);
    await page.waitForFunction(() => window.__quentaroBridgeHandlers != null);

    const show = buildShowDocument({ songs, markersPerSong: MARKERS_PER_SONG });
    await page.evaluate(tableStatement(show, 0, 1) + "setCurrentMarkerLoop(0, 2, 1);setTransportPosition(100000);");
    const expanded = Array.from({ length: EXPANDED_SONGS }, (_, i) => Math.floor((i * songs) / EXPANDED_SONGS));
    await page.evaluate((cues) => {
      for (const cue of cues) document.querySelector(`tr[data-cue-row="${cue}"] [data-expand-toggle]`)?.dispatchEvent(new MouseEvent("click", { bubbles: true }));
    }, expanded);
    await page.waitForFunction((count) => document.querySelectorAll(".marker-detail-row").length === count, EXPANDED_SONGS * MARKERS_PER_SONG);

    // From here on only the refresh renders.
    await page.evaluate(() => (window.__quentaroRenderProbe = []));
    await page.waitForFunction((count) => (window.__quentaroRenderProbe?.length ?? 0) >= count, RENDERS, {
      timeout: RENDERS * 100 * 4 + 10_000,
      polling: 200,
    });
    const samples = await page.evaluate(() => window.__quentaroRenderProbe ?? []);
    const rows = await page.evaluate(() => document.querySelectorAll("tr").length);
    const sorted = samples.slice(0, RENDERS).sort((a, b) => a - b);
    return { rows, renders: sorted.length, median: percentile(sorted, 0.5), p99: percentile(sorted, 0.99) };
  } finally {
    await page.close();
  }
}

const server = await startSiteServer(siteDir);
const browser = await launchChromium({ width: 1200, height: 800 });
try {
  await browser.context.addInitScript(installNativeStub, NATIVE_FUNCTIONS);
  console.log(
    `Show page render per 100 ms refresh, headless Chromium (${EXPANDED_SONGS} songs expanded, ${MARKERS_PER_SONG} markers per song)`,
  );
  console.log("songs  table rows  renders  median ms  p99 ms");
  for (const songs of SHOW_SIZES) {
    const r = await measure(browser.context, server.url, songs);
    console.log(
      `${String(songs).padStart(5)}  ${String(r.rows).padStart(10)}  ${String(r.renders).padStart(7)}  ${r.median.toFixed(3).padStart(9)}  ${r.p99.toFixed(3).padStart(6)}`,
    );
  }
} finally {
  await browser.close();
  await server.close();
}
