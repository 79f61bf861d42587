#include "ServiceAnnouncer.h"

/** Announces nothing: the simulator is reached by its address until DNS-SD is added here. */
class ServiceAnnouncer::Silent : public ServiceAnnouncer
{
public:
    void announce (const juce::String&, int) override {}
    void withdraw() override {}
};

std::unique_ptr<ServiceAnnouncer> ServiceAnnouncer::create()
{
    return std::make_unique<Silent>();
}
