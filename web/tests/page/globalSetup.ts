// Finds the built site the page tests run against: QUENTARO_SITE_DIR, or dist/ of this folder.
// When it has no index.html yet, the site is built into it first.
import { spawnSync } from "node:child_process";
import { existsSync } from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import type { TestProject } from "vitest/node";
import { assertPrivateNetwork } from "../support/privateNetwork.mjs";

declare module "vitest" {
  export interface ProvidedContext {
    siteDir: string;
  }
}

const webDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");

export default function setup(project: TestProject): void {
  assertPrivateNetwork();
  const siteDir = path.resolve(webDir, process.env.QUENTARO_SITE_DIR || "dist");

  if (!existsSync(path.join(siteDir, "index.html"))) {
    console.log(`No built site in ${siteDir}: building it first.`);
    const build = spawnSync("npm", ["run", "build", "--", "--outDir", siteDir, "--emptyOutDir"], {
      cwd: webDir,
      stdio: "inherit",
    });
    if (build.status !== 0) throw new Error(`building the site into ${siteDir} failed`);
  }

  project.provide("siteDir", siteDir);
}
