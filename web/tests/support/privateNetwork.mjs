// @ts-check
// The page tests and the benchmark serve the site on 127.0.0.1 and drive a browser; they run
// only inside a private network namespace (`unshare -n`, loopback up), never beside the
// machine's real interfaces.
import { networkInterfaces } from "node:os";

export function assertPrivateNetwork() {
  const outside = Object.entries(networkInterfaces())
    .filter(([, addresses]) => (addresses ?? []).some((address) => !address.internal))
    .map(([name]) => name);
  if (outside.length > 0) {
    throw new Error(
      `refusing to start beside the network interfaces ${outside.join(", ")}: run inside a private ` +
        `network namespace, e.g. unshare -n sh -c 'ip link set lo up; npm run test:page'`,
    );
  }
}
