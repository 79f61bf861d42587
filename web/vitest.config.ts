import { defineConfig, mergeConfig } from "vitest/config";
import viteConfig from "./vite.config";

// Unit tests: the bridge module, the bootstrap script and the page's plain rules, in Node.
export default mergeConfig(
  viteConfig,
  defineConfig({
    test: {
      include: ["tests/unit/**/*.test.ts"],
      environment: "node",
    },
  }),
);
