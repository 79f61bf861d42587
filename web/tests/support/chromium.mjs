// @ts-check
// Debian's Chromium, headless, driven by playwright-core; each launch gets its own empty profile
// folder, removed again on close.
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { chromium } from "playwright-core";

export const chromiumPath = process.env.QUENTARO_CHROMIUM || "/usr/bin/chromium";

const CHROMIUM_ARGS = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

/**
 * @param {{ width: number, height: number }} [viewport]
 * @returns {Promise<{ context: import("playwright-core").BrowserContext, close: () => Promise<void> }>}
 */
export async function launchChromium(viewport = { width: 1200, height: 700 }) {
  const profile = await mkdtemp(path.join(tmpdir(), "quentaro-chromium-"));
  // Playwright takes the profile folder itself (it rejects a --user-data-dir argument).
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: CHROMIUM_ARGS,
    viewport,
  });
  return {
    context,
    close: async () => {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}
