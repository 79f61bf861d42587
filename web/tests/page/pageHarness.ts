// Shared set-up of the page tests: one Chromium and one site server per test file, a fresh page
// per test with the recording native stub installed before any page script runs.
import type { BrowserContext, Page } from "playwright-core";
import { afterAll, beforeAll, inject } from "vitest";
import { launchChromium } from "../support/chromium.mjs";
import { NATIVE_FUNCTIONS, installNativeStub } from "../support/nativeStub.mjs";
import { startSiteServer } from "../support/siteServer.mjs";

export interface NativeCall {
  name: string;
  params: unknown[];
}

export interface Harness {
  context: BrowserContext;
  baseUrl: string;
  siteDir: string;
  requests: string[];
}

/** Starts the browser and the server for this file; the returned object is filled in beforeAll. */
export function usePageHarness(): Harness {
  const harness = {} as Harness;
  let closeBrowser: (() => Promise<void>) | undefined;
  let closeServer: (() => Promise<void>) | undefined;

  beforeAll(async () => {
    harness.siteDir = inject("siteDir");
    const server = await startSiteServer(harness.siteDir);
    closeServer = server.close;
    harness.baseUrl = server.url;
    harness.requests = server.requests;

    const browser = await launchChromium();
    closeBrowser = browser.close;
    harness.context = browser.context;
    await harness.context.addInitScript(installNativeStub, NATIVE_FUNCTIONS);
  });

  afterAll(async () => {
    await closeBrowser?.();
    await closeServer?.();
  });

  return harness;
}

/** Opens the page and waits until it has registered with the bridge. */
export async function openPlayer(harness: Harness, viewport = { width: 1200, height: 700 }): Promise<Page> {
  const page = await harness.context.newPage();
  await page.setViewportSize(viewport);
  const errors: string[] = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(harness.baseUrl);
  await page.waitForFunction(() => window.__quentaroBridgeHandlers != null, undefined, { timeout: 10_000 });
  if (errors.length > 0) throw new Error(`page errors: ${errors.join("; ")}`);
  return page;
}

/** Evaluates statements exactly as the native side sends them. */
export async function evaluate(page: Page, statements: string): Promise<void> {
  await page.evaluate(statements);
}

export async function nativeCalls(page: Page): Promise<NativeCall[]> {
  return page.evaluate(() => (window as unknown as { __nativeCalls: NativeCall[] }).__nativeCalls);
}

export async function clearNativeCalls(page: Page): Promise<void> {
  await page.evaluate(() => {
    (window as unknown as { __nativeCalls: NativeCall[] }).__nativeCalls.length = 0;
  });
}

export const songRow = (cue: number) => `tr[data-cue-row="${cue}"]`;
