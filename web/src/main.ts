// Entry of the show player page. The bootstrap script (quentaro-bridge-init.js) has already run
// and may hold state the native side pushed while this module was loading.
import "./styles.css";
import { initJuceNative, installShowPlayerWindowBridge } from "./bridge";
import { ShowPlayer } from "./page/ShowPlayer";

installShowPlayerWindowBridge();
initJuceNative().catch(() => undefined);

const host = document.getElementById("root");
if (host) new ShowPlayer(host).start();
