// QUENTARO show player: bridge bootstrap.
//
// A plain script that index.html runs before the page's module. The native side evaluates
// statements such as "setCurrentCue(4, 3);" at any time, also before the page has loaded; these
// window functions keep the latest pushed state in window.__quentaroBridgeStore and hand each
// change to the handlers the page registers in window.__quentaroBridgeHandlers (null until then).
// Everything here runs on the web view's one script thread.
(function () {
  "use strict";

  /** @type {import("../src/bridge/types").BridgeStore} */
  var store = {
    transportPosition: 0,
    tableData: [],
    currentCue: -1,
    nextCue: 0,
    loopActive: 0,
    loopMarker: { songCue: -1, markerNum: -1 },
  };

  window.__quentaroBridgeStore = store;
  window.__quentaroBridgeHandlers = null;

  /**
   * Calls the named handler of the page, looked up now; without one only the store changed.
   * @param {keyof import("../src/bridge/types").ShowPlayerBridgeHandlers} name
   * @param {unknown[]} args
   */
  function notify(name, args) {
    var handlers = window.__quentaroBridgeHandlers;
    var handler = handlers ? handlers[name] : undefined;
    if (typeof handler === "function") handler.apply(handlers, /** @type {any} */ (args));
  }

  window.native_setTableData = function (data, currentCue, nextCue) {
    store.tableData = data;
    store.currentCue = Number(currentCue);
    store.nextCue = Number(nextCue);
    notify("onSetTableData", [store.tableData, store.currentCue, store.nextCue]);
  };

  window.setCurrentCue = function (cue, previousCue) {
    store.currentCue = Number(cue);
    store.nextCue = store.currentCue + 1;
    notify("onSetCurrentCue", [store.currentCue, Number(previousCue)]);
  };

  window.setNextCue = function (cue) {
    store.nextCue = Number(cue);
    notify("onSetNextCue", [store.nextCue]);
  };

  window.scrollToCue = function (cue) {
    notify("onScrollToCue", [Number(cue)]);
  };

  window.setCurrentMarkerLoop = function (songCue, markerNum, loopActive) {
    store.loopMarker = { songCue: Number(songCue), markerNum: Number(markerNum) };
    store.loopActive = Number(loopActive);
    notify("onSetCurrentMarkerLoop", [store.loopMarker.songCue, store.loopMarker.markerNum, store.loopActive]);
  };

  window.setTransportPosition = function (position) {
    store.transportPosition = Number(position);
    notify("onSetTransportPosition", [store.transportPosition]);
  };

  // Tells the native side the page is ready ("window.onload"); a no-op until the page module
  // has connected to JUCE's library and published it as globalThis.native.
  window.window_onload = function () {
    var connection = globalThis.native;
    if (connection && connection.JUCE) void connection.JUCE.getNativeFunction("window.onload")();
  };
})();
