// The waveform of a voice's mel-cepstral frames, made here instead of by the engine's own
// generator: the same excitation (a pulse train at the frame's pitch mixed with Gaussian noise
// through the voice's low-pass filter, or noise alone) and the same mel-log-spectrum
// approximation filter (Padé order 5), computed in the same order, so that the samples are the
// engine's. What differs is the arrangement: the filter's five sections, which only read the
// previous sample's values, run side by side instead of one after another, and no delay line
// is shifted or indexed modulo its length. That makes the sound about three times cheaper.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace yomi6::synthesis {

struct McepSetup {
    int order = 0;         // the mel-cepstrum's order m (m + 1 coefficients per frame)
    double alpha = 0;      // all-pass constant
    double beta = 0;       // postfilter's emphasis (0: none)
    double volume = 1;     // linear gain of the output
    double rate = 48000;   // samples per second
    int framePeriod = 240; // samples per frame
    int lowPassTaps = 0;   // the excitation filter's length (odd), 0 for none
};

// The log-F0 of an unvoiced frame, as the engine marks it.
inline constexpr double kUnvoicedLogF0 = -1.0e+10;

class McepVocoder {
public:
    explicit McepVocoder(const McepSetup& setup);

    // Appends setup.framePeriod samples (full scale ±32768) of one frame to out. mcep holds
    // order + 1 coefficients; lowPass holds lowPassTaps coefficients (ignored when there are
    // none); logF0 is kUnvoicedLogF0 for an unvoiced frame.
    void Frame(double logF0, std::span<const double> mcep, std::span<const double> lowPass,
               std::vector<double>& out);

private:
    static constexpr int kSections = 5; // the Padé approximation's order

    double Excitation(std::span<const double> lowPass);
    double Noise();
    double Filter(double x);
    void Postfilter(std::vector<double>& mcep);
    double FilterEnergy(const double* b);

    McepSetup m_setup;
    bool m_first = true;
    // Excitation.
    double m_pitch = 0; // samples per period at the current sample, 0 when unvoiced
    double m_pitchCounter = 0;
    double m_pitchStep = 0;
    std::vector<double> m_ring; // the low-pass filtered excitation ahead of the current sample
    std::size_t m_ringAt = 0;
    std::uint64_t m_seed = 1;
    bool m_haveSecond = false;
    double m_second = 0;
    // Filter coefficients: now, at the frame's end, and the step per sample.
    std::vector<double> m_b, m_bEnd, m_bStep;
    // The first-order section's delays (sections 1..5) and outputs (0..5).
    double m_d1[kSections + 1] = {};
    double m_out1[kSections + 1] = {};
    // The other sections' delay lines, [tap][section], two copies used in turn, and their
    // outputs (0: the filter's last input).
    std::vector<double> m_delay, m_next;
    double m_out2[kSections + 1] = {};
    // Room for a frame's work, kept from one frame to the next: nothing is allocated per frame.
    struct Scratch {
        std::vector<double> spectrum, filter, mc, cep, warp, impulse;
    } m_scratch;
};

} // namespace yomi6::synthesis
