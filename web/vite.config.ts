import { fileURLToPath } from "node:url";
import path from "node:path";
import { defineConfig } from "vite";

const webDir = path.dirname(fileURLToPath(import.meta.url));

// JUCE's page-side library is taken from the JUCE tree the native build fetched, never copied
// here. QUENTARO_JUCE_JS names its index.js when the tree lives somewhere else.
export const juceFrontendPath =
  process.env.QUENTARO_JUCE_JS ||
  path.resolve(webDir, "../.deps/juce/modules/juce_gui_extra/native/javascript/index.js");

export default defineConfig({
  resolve: {
    alias: { "juce-framework-frontend": juceFrontendPath },
  },
  build: {
    // The native build passes --outDir <dir> --emptyOutDir; this is the default for local work.
    outDir: "dist",
    emptyOutDir: true,
    assetsDir: "assets",
    // Everything is served from the program's memory: no separate chunks, no preload helper.
    modulePreload: false,
    cssCodeSplit: false,
    rollupOptions: {
      output: { inlineDynamicImports: true },
      onwarn(warning, warn) {
        // JUCE's library evaluates Android user scripts; not ours to change.
        if (warning.code === "EVAL" && warning.id?.includes("check_native_interop")) return;
        warn(warning);
      },
    },
  },
});
