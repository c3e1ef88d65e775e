// The sample voices behind the unit interface: their units are the ticks that pass over a unit
// of the reading, one tick long each, and their sound the 8-bit rendering at kRenderRate.
#pragma once

#include "export/unit_pass.h"

namespace yomi6 {

// The unit of a tick at the timer interval tickMs: it starts at the tick and lasts one tick.
SpokenUnit SpokenUnitOfTick(const ExportTick& tick, std::int64_t tickMs);

class SampleUnitPass : public UnitPass {
public:
    // request (its text among it) must outlive the pass.
    explicit SampleUnitPass(const ExportRequest& request) : m_request(request) {}

    int SampleRate() const override;
    SampleBits Bits() const override { return SampleBits::Eight; }
    TimingsLayout Timings() const override;
    UnitPassResult Run(const UnitPassCallbacks& callbacks) override;

private:
    const ExportRequest& m_request;
};

} // namespace yomi6
