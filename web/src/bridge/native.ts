// The page's side of the native functions: JUCE's page-side library, loaded once, published as
// globalThis.native so that the bootstrap script's window_onload can reach it too.

let connecting: Promise<void> | null = null;

/**
 * Connects to JUCE's library. The first call loads it; later calls share that load and, once
 * connected, return at once. Outside the program the library installs its own placeholder
 * backend, which drops every call, so this completes there as well.
 */
export function initJuceNative(): Promise<void> {
  if (globalThis.native?.JUCE) return Promise.resolve();

  connecting ??= import("juce-framework-frontend").then(
    (juce) => {
      globalThis.native = { JUCE: juce, backend: window.__JUCE__?.backend };
    },
    (error: unknown) => {
      connecting = null;
      throw error;
    },
  );
  return connecting;
}

/**
 * Invokes a native function by name. The native side never answers, so the returned promise is
 * ignored; before the connection is made the call is dropped.
 */
export function callNative(name: string, ...args: unknown[]): void {
  const connection = globalThis.native;
  if (!connection?.JUCE) return;
  void connection.JUCE.getNativeFunction(name)(...args);
}

/** Asks the native side to take the keyboard focus back from the web view. */
export function keyboardGrab(): void {
  callNative("keyboardGrab");
}
