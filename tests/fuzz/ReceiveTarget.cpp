#include "FuzzTargets.h"
#include "ReceiveHarness.h"

void quentaroFuzzReceive (const uint8_t* data, size_t size)
{
    ReceiveHarness::shared().receive (data, size);
}
