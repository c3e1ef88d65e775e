#include "synthesis/mcep_vocoder.h"

#include <algorithm>
#include <cmath>

namespace yomi6::synthesis {

namespace {

// The pitch the engine allows: 20 Hz to 20 kHz.
constexpr double kMinF0 = 20.0;
constexpr double kMaxF0 = 20000.0;
constexpr double kMinLogF0 = 2.9957322735539909934352235761425; // log(20)
constexpr double kMaxLogF0 = 9.9034875525361280454891979401956; // log(20000)

// The Padé approximation's coefficients of order 5, for sections 0..5.
constexpr double kPade[] = {1.00000000000, 0.49993910000, 0.11070980000,
                            0.01369984000, 0.00095648530, 0.00003041721};

// The postfilter's energy is that of this many samples of the impulse response.
constexpr int kImpulseLength = 576;

// Filter coefficients b of mel-cepstrum mc, both of order m.
void McepToFilter(const double* mc, double* b, int m, double alpha) {
    b[m] = mc[m];
    for (int k = m - 1; k >= 0; --k) {
        b[k] = mc[k] - alpha * b[k + 1];
    }
}

void FilterToMcep(const double* b, double* mc, int m, double alpha) {
    double d = mc[m] = b[m];
    for (int k = m - 1; k >= 0; --k) {
        const double o = b[k] + alpha * d;
        d = b[k];
        mc[k] = o;
    }
}

// The cepstrum c2 (order m2) of the frequency-warped mel-cepstrum c1 (order m1); buffers holds
// 2 (m2 + 1) values.
void Warp(const double* c1, int m1, double* c2, int m2, double alpha, double* buffers) {
    const double b = 1 - alpha * alpha;
    std::fill(buffers, buffers + 2 * (m2 + 1), 0.0);
    double* g = buffers;
    double* d = g + m2 + 1;
    for (int i = -m1; i <= 0; ++i) {
        g[0] = c1[-i] + alpha * (d[0] = g[0]);
        if (m2 >= 1) {
            g[1] = b * d[0] + alpha * (d[1] = g[1]);
        }
        for (int j = 2; j <= m2; ++j) {
            g[j] = d[j - 1] + alpha * ((d[j] = g[j]) - g[j - 1]);
        }
    }
    std::copy(g, g + m2 + 1, c2);
}

} // namespace

// The energy of the minimum-phase impulse response of filter coefficients b (order m).
double McepVocoder::FilterEnergy(const double* b) {
    const int m = m_setup.order;
    const double alpha = m_setup.alpha;
    Scratch& s = m_scratch;
    s.mc.resize(static_cast<std::size_t>(m) + 1);
    FilterToMcep(b, s.mc.data(), m, alpha);
    s.cep.resize(kImpulseLength);
    s.warp.resize(2 * kImpulseLength);
    Warp(s.mc.data(), m, s.cep.data(), kImpulseLength - 1, -alpha, s.warp.data());
    s.impulse.resize(kImpulseLength);
    const double* c = s.cep.data();
    double* h = s.impulse.data();
    h[0] = std::exp(c[0]);
    for (int n = 1; n < kImpulseLength; ++n) {
        double d = 0;
        for (int k = 1; k <= n; ++k) {
            d += k * c[k] * h[n - k];
        }
        h[n] = d / n;
    }
    double energy = 0.0;
    for (const double x : s.impulse) {
        energy += x * x;
    }
    return energy;
}

McepVocoder::McepVocoder(const McepSetup& setup) : m_setup(setup) {
    const auto taps = static_cast<std::size_t>(setup.order + 2) * kSections;
    m_delay.assign(taps, 0.0);
    m_next.assign(taps, 0.0);
    m_bStep.assign(static_cast<std::size_t>(setup.order) + 1, 0.0);
}

void McepVocoder::Frame(double logF0, std::span<const double> mcep, std::span<const double> lowPass,
                        std::vector<double>& out) {
    const double rate = m_setup.rate;
    double pitch = 0.0;
    if (logF0 == kUnvoicedLogF0) {
        pitch = 0.0;
    } else if (logF0 <= kMinLogF0) {
        pitch = rate / kMinF0;
    } else if (logF0 >= kMaxLogF0) {
        pitch = rate / kMaxF0;
    } else {
        pitch = rate / std::exp(logF0);
    }
    std::vector<double>& spectrum = m_scratch.spectrum;
    spectrum.assign(mcep.begin(), mcep.end());
    const auto period = static_cast<double>(m_setup.framePeriod);
    if (m_first) {
        m_pitch = pitch;
        m_pitchCounter = pitch;
        m_pitchStep = 0.0;
        m_ring.assign(static_cast<std::size_t>(std::max(m_setup.lowPassTaps, 0)), 0.0);
        m_ringAt = 0;
        m_b.resize(spectrum.size());
        McepToFilter(spectrum.data(), m_b.data(), m_setup.order, m_setup.alpha);
        m_first = false;
    }
    if (m_pitch != 0.0 && pitch != 0.0) {
        m_pitchStep = (pitch - m_pitch) / period;
    } else {
        m_pitchStep = 0.0;
        m_pitch = pitch;
        m_pitchCounter = pitch;
    }
    Postfilter(spectrum);
    m_bEnd.resize(spectrum.size());
    McepToFilter(spectrum.data(), m_bEnd.data(), m_setup.order, m_setup.alpha);
    for (std::size_t i = 0; i < m_b.size(); ++i) {
        m_bStep[i] = (m_bEnd[i] - m_b[i]) / period;
    }
    for (int j = 0; j < m_setup.framePeriod; ++j) {
        double x = Excitation(lowPass);
        if (x != 0.0) {
            x *= std::exp(m_b[0]);
        }
        out.push_back(Filter(x) * m_setup.volume);
        for (std::size_t i = 0; i < m_b.size(); ++i) {
            m_b[i] += m_bStep[i];
        }
    }
    m_pitch = pitch;
    m_b = m_bEnd;
}

double McepVocoder::Noise() {
    const auto uniform = [this] {
        m_seed = m_seed * 1103515245UL + 12345;
        return static_cast<double>((m_seed / 65536) % 32768) / 32767;
    };
    if (m_haveSecond) {
        m_haveSecond = false;
        return m_second;
    }
    double r1 = 0;
    double r2 = 0;
    double s = 0;
    do {
        r1 = 2 * uniform() - 1;
        r2 = 2 * uniform() - 1;
        s = r1 * r1 + r2 * r2;
    } while (s > 1 || s == 0);
    s = std::sqrt(-2 * std::log(s) / s);
    m_haveSecond = true;
    m_second = r2 * s;
    return r1 * s;
}

double McepVocoder::Excitation(std::span<const double> lowPass) {
    double pulse = 0.0;
    if (m_ring.empty()) {
        if (m_pitch == 0.0) {
            return Noise();
        }
        m_pitchCounter += 1.0;
        if (m_pitchCounter >= m_pitch) {
            pulse = std::sqrt(m_pitch);
            m_pitchCounter -= m_pitch;
        }
        m_pitch += m_pitchStep;
        return pulse;
    }
    // The excitation ahead of this sample is the noise and the pulses of the samples before,
    // through the low-pass filter centred on each (the noise through its complement).
    const std::size_t taps = m_ring.size();
    const std::size_t centre = (taps - 1) / 2;
    const double noise = Noise();
    if (m_pitch == 0.0) {
        const std::size_t at = m_ringAt + centre;
        m_ring[at < taps ? at : at - taps] += noise;
    } else {
        m_pitchCounter += 1.0;
        if (m_pitchCounter >= m_pitch) {
            pulse = std::sqrt(m_pitch);
            m_pitchCounter -= m_pitch;
        }
        for (std::size_t i = 0; i < taps; ++i) {
            const std::size_t at = m_ringAt + i < taps ? m_ringAt + i : m_ringAt + i - taps;
            double r = m_ring[at];
            if (noise != 0.0) {
                r += noise * ((i == centre ? 1.0 : 0.0) - lowPass[i]);
            }
            if (pulse != 0.0) {
                r += pulse * lowPass[i];
            }
            m_ring[at] = r;
        }
        m_pitch += m_pitchStep;
    }
    const double x = m_ring[m_ringAt];
    m_ring[m_ringAt] = 0.0;
    m_ringAt = m_ringAt + 1 < taps ? m_ringAt + 1 : 0;
    return x;
}

double McepVocoder::Filter(double x) {
    const double a = m_setup.alpha;
    const double aa = 1 - a * a;
    const int m = m_setup.order;
    const double* b = m_b.data();

    // The first-order sections, each on the previous sample's output of the one before.
    double out = 0.0;
    for (int i = kSections; i >= 1; --i) {
        m_d1[i] = aa * m_out1[i - 1] + a * m_d1[i];
        m_out1[i] = m_d1[i] * b[1];
        const double v = m_out1[i] * kPade[i];
        x += (i & 1) != 0 ? v : -v;
        out += v;
    }
    m_out1[0] = x;
    x = out + x;

    // The sections of order m, each on the previous sample's output of the one before: five
    // independent recursions, run side by side. Row k of a delay line holds tap k of every
    // section; the new taps go to the other copy, one row down, instead of being shifted.
    const double* line = m_delay.data();
    double* next = m_next.data();
    double first[kSections];
    double prev[kSections];
    double sum[kSections];
    for (int s = 0; s < kSections; ++s) {
        // Tap 1 keeps its state in row 1.
        first[s] = aa * m_out2[s] + a * line[kSections + s];
        prev[s] = first[s];
        sum[s] = 0.0;
    }
    for (int k = 2; k <= m; ++k) {
        const double bk = b[k];
        const double* row = line + static_cast<std::ptrdiff_t>(k) * kSections;
        double* down = next + static_cast<std::ptrdiff_t>(k + 1) * kSections;
        for (int s = 0; s < kSections; ++s) {
            const double tap = row[s] + a * (row[kSections + s] - prev[s]);
            sum[s] += tap * bk;
            down[s] = tap;
            prev[s] = tap;
        }
    }
    for (int s = 0; s < kSections; ++s) {
        next[kSections + s] = first[s];
        next[2 * kSections + s] = first[s];
    }
    m_delay.swap(m_next);

    out = 0.0;
    for (int i = kSections; i >= 1; --i) {
        m_out2[i] = sum[i - 1];
        const double v = m_out2[i] * kPade[i];
        x += (i & 1) != 0 ? v : -v;
        out += v;
    }
    m_out2[0] = x;
    return out + x;
}

void McepVocoder::Postfilter(std::vector<double>& mcep) {
    const double beta = m_setup.beta;
    const double alpha = m_setup.alpha;
    if (!(beta > 0.0) || m_setup.order <= 1) {
        return;
    }
    const int m = m_setup.order;
    m_scratch.filter.resize(mcep.size());
    double* b = m_scratch.filter.data();
    McepToFilter(mcep.data(), b, m, alpha);
    const double before = FilterEnergy(b);
    b[1] -= beta * alpha * b[2];
    for (int k = 2; k <= m; ++k) {
        b[k] *= 1.0 + beta;
    }
    const double after = FilterEnergy(b);
    b[0] += std::log(before / after) / 2;
    FilterToMcep(b, mcep.data(), m, alpha);
}

} // namespace yomi6::synthesis
