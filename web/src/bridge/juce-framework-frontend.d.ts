// JUCE's page-side library (modules/juce_gui_extra/native/javascript/index.js), resolved by the
// build to the fetched JUCE tree. Only what the page uses is declared.
declare module "juce-framework-frontend" {
  export function getNativeFunction(name: string): (...args: unknown[]) => Promise<unknown>;
}
