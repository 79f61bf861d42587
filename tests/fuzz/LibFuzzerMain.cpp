// libFuzzer's two entry points for one harness; QUENTARO_FUZZ_ENTRY names its body (see
// FuzzTargets.h). libFuzzer runs both on the process's main thread, which becomes the message
// thread here.

#include "FuzzTargets.h"

#include <juce_events/juce_events.h>

namespace
{
// Never destroyed: libFuzzer leaves by exit, and the harnesses' components (made on the
// message thread) must not outlive the message manager at tear-down.
juce::ScopedJuceInitialiser_GUI* messageManager = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    messageManager = new juce::ScopedJuceInitialiser_GUI();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    QUENTARO_FUZZ_ENTRY (data, size);
    return 0;
}
