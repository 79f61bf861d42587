#pragma once

#include <cstddef>
#include <cstdint>

// The bodies of the fuzzing harnesses, one input each. The libFuzzer executables call them
// for every input they try; test_fuzz_regressions calls them for every kept regression input
// and every generated seed. Each returns normally or stops the process (a sanitizer's report,
// or FuzzCheck's for a broken invariant). Message thread, with the message manager running.

/** One datagram as it arrives on the remote's receiving port: the receiver's check and the
    framework's OSC decoding (OscPacket::readMessage), the client's acceptance check, then the
    record's parse and handler on a loaded show. */
void quentaroFuzzReceive (const uint8_t* data, size_t size);

/** The bytes of the recent-hosts file (and of the older single-address file), loaded. */
void quentaroFuzzRecentHosts (const uint8_t* data, size_t size);

/** The bytes as one text value from a host, through each small parser of host text. */
void quentaroFuzzFormats (const uint8_t* data, size_t size);
