// The page-side bridge: native functions, the pushed state, registration and the row rules.
export { initJuceNative, callNative, keyboardGrab } from "./native";
export {
  getTransportPosition,
  getBridgeCurrentCue,
  getBridgeNextCue,
  installShowPlayerWindowBridge,
  registerShowPlayerBridge,
  unregisterShowPlayerBridge,
} from "./windowBridge";
export { getSongRowClassName, getTempoForSong, isLoopActive, isMarkerPassed } from "./rules";
export type * from "./types";
