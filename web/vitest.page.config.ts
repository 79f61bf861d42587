import { defineConfig } from "vitest/config";

// Page tests: headless Chromium against the built site (QUENTARO_SITE_DIR, default dist/).
export default defineConfig({
  test: {
    include: ["tests/page/**/*.test.ts"],
    environment: "node",
    globalSetup: ["tests/page/globalSetup.ts"],
    fileParallelism: false,
    testTimeout: 30_000,
    hookTimeout: 120_000,
  },
});
