// @ts-check
// Stands in for JUCE's native backend in the page: installed before any page script runs, it
// records every native function call as { name, params } in window.__nativeCalls.

export const NATIVE_FUNCTIONS = [
  "window.onload",
  "keyboardGrab",
  "fireCue",
  "setNextCue",
  "fireMarker",
  "setMarkerLoop",
  "editSongInfo",
  "deleteMarker",
];

/** Runs inside the page (passed to addInitScript), so it may use nothing from outside. */
export function installNativeStub(/** @type {string[]} */ functions) {
  const w = /** @type {any} */ (window);
  w.__nativeCalls = [];
  w.__JUCE__ = {
    initialisationData: {
      __juce__platform: ["linux"],
      __juce__functions: functions,
      __juce__registeredGlobalEventIds: [],
      __juce__sliders: [],
      __juce__toggles: [],
      __juce__comboBoxes: [],
    },
    postMessage: () => {},
    backend: {
      addEventListener: (/** @type {string} */ eventId) => [eventId, 0],
      removeEventListener: () => {},
      emitEvent: (/** @type {string} */ eventId, /** @type {any} */ payload) => {
        // The real backend sends the payload as JSON; keep what survives that.
        if (eventId === "__juce__invoke") {
          const { name, params } = JSON.parse(JSON.stringify(payload));
          w.__nativeCalls.push({ name, params });
        }
      },
    },
  };
}
