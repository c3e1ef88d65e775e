// The natural voice behind the unit interface: its units are the morae and pauses of a
// NaturalPass, timed by the engine's labels, and its sound the engine's 16-bit sound at the
// pass's output rate, chunk after chunk on one clock.
#pragma once

#include "export/unit_pass.h"
#include "natural/natural_pass.h"

#include <optional>
#include <string_view>

namespace yomi6 {

class NaturalUnitPass : public UnitPass {
public:
    // Says source bytes [from, to) of text (code page 932; it must outlive the pass); unit
    // sources count from the text's start. A chunk the engine fails on is skipped and told to
    // onMessage (on the thread that runs the pass); a pass that gives up on the engine
    // (NaturalPass::Failure) fails with its reason.
    NaturalUnitPass(std::string_view text, std::size_t from, std::size_t to,
                    std::optional<DictionaryView> dic, natural::NaturalPassOptions options,
                    natural::PassMessage onMessage = {});

    int SampleRate() const override { return m_options.synthesis.outputRate; }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    TimingsLayout Timings() const override;
    UnitPassResult Run(const UnitPassCallbacks& callbacks) override;

private:
    std::string_view m_text;
    std::size_t m_from;
    std::size_t m_to;
    std::optional<DictionaryView> m_dic;
    natural::NaturalPassOptions m_options;
    natural::PassMessage m_onMessage;
};

} // namespace yomi6
