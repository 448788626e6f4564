// Sample synthesis. Everything is computed in double precision from closed-form
// waves and a small fixed noise generator, so the same bytes come out everywhere.
#include "synth.h"

#include <algorithm>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double middle_c = 261.6255653005986;  // Hz of C-4

// Fixed white noise in -1..1 (a linear congruential sequence).
struct Noise {
    uint32_t state;  // current seed
    double next()
    {
        state = state * 1103515245u + 12345u;
        return ((state >> 9) & 0xFFFF) / 32767.5 - 1.0;
    }
};

// Scales points so the loudest reaches peak (of 1.0), then quantises to 8 bits.
std::vector<int8_t> quantise(const std::vector<double>& v, double peak)
{
    double m = 1e-9;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    std::vector<int8_t> out(v.size());
    for (size_t i = 0; i < v.size(); ++i)
        out[i] = (int8_t)std::lround(v[i] / m * peak * 127.0);
    return out;
}

// Fades the last points of a one-shot to silence, so it never ends with a click.
std::vector<double> fade_tail(std::vector<double> v)
{
    size_t n = std::max<size_t>(64, v.size() / 20);
    n = std::min(n, v.size());
    for (size_t i = 0; i < n; ++i)
        v[v.size() - 1 - i] *= (double)i / n;
    return v;
}

S3mSample make_sample(const char* name, const char* file, std::vector<int8_t> data, uint32_t rate)
{
    S3mSample s;
    s.name = name;
    s.file_name = file;
    s.data = std::move(data);
    s.c2_speed = rate;
    return s;
}

// A tonal sample of whole periods of P points: value at point i is the sum over
// harmonics n of amp(n, k) sin(2 pi n i / P), k = i / P the period index. Every
// harmonic crosses zero at each period start, so amplitudes may change there
// without a click. The last loop_periods periods loop.
template <class Amp>
S3mSample tonal(const char* name, const char* file, int P, int periods, int loop_periods, int harmonics, Amp amp,
                double peak)
{
    std::vector<double> v((size_t)P * periods);
    std::vector<double> a(harmonics + 1);
    for (int k = 0; k < periods; ++k) {
        for (int n = 1; n <= harmonics; ++n)
            a[n] = amp(n, k);
        for (int i = 0; i < P; ++i) {
            double x = 0;
            for (int n = 1; n <= harmonics; ++n)
                x += a[n] * std::sin(2.0 * pi * n * i / P);
            v[(size_t)k * P + i] = x;
        }
    }
    if (loop_periods == 0)
        v = fade_tail(v);
    S3mSample s = make_sample(name, file, quantise(v, peak), (uint32_t)std::lround(middle_c * P));
    if (loop_periods > 0) {
        s.loop = true;
        s.loop_start = (uint32_t)(P * (periods - loop_periods));
        s.loop_end = (uint32_t)(P * periods);
    }
    return s;
}

// Detuned saws whose cycle counts are whole numbers over the loop, so it loops
// seamlessly; decay > 0 makes a one-shot of that time constant (seconds).
std::vector<double> detuned_saws(int length, double decay, double rate)
{
    const int cycles[3] = {509, 512, 515};  // over 32768 points: about +-10 cents
    const int harmonics = 14;
    std::vector<double> v(length, 0.0);
    for (int c = 0; c < 3; ++c)
        for (int n = 1; n <= harmonics; ++n) {
            double amp = (1.0 / n) / (1.0 + (n / 5.0) * (n / 5.0));
            double step = 2.0 * pi * n * cycles[c] / 32768.0;
            double phase0 = c * 2.1;  // spread the voices' phases
            for (int i = 0; i < length; ++i)
                v[i] += amp * std::sin(step * i + phase0 * n);
        }
    if (decay > 0)
        for (int i = 0; i < length; ++i) {
            double t = i / rate;
            v[i] *= std::exp(-t / decay) * std::min(1.0, t / 0.003);
        }
    return v;
}

}  // namespace

S3mSample synth_kick()
{
    const double rate = 22050;
    std::vector<double> v((size_t)(0.34 * rate));
    double phase = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        double t = i / rate;
        double f = 46.0 + 130.0 * std::exp(-t / 0.032);
        phase += 2.0 * pi * f / rate;
        double env = std::exp(-t / 0.16) * std::min(1.0, t / 0.0015);
        v[i] = std::tanh(1.6 * std::sin(phase)) * env;
    }
    return make_sample("kick", "kick.smp", quantise(fade_tail(v), 0.98), (uint32_t)rate);
}

S3mSample synth_snare()
{
    const double rate = 22050;
    std::vector<double> v((size_t)(0.24 * rate));
    Noise noise{1234u};
    double lp = 0, prev = 0, hp = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        double t = i / rate;
        double x = noise.next();
        lp += 0.55 * (x - lp);          // soften the very top
        hp = 0.92 * (hp + lp - prev);   // and remove the low rumble
        prev = lp;
        double tone = 0.55 * std::sin(2 * pi * 185 * t) * std::exp(-t / 0.045) +
                      0.3 * std::sin(2 * pi * 330 * t) * std::exp(-t / 0.03);
        // Soft saturation keeps the crack loud for its whole first 40 ms, so the
        // snare cuts through the groove without raising its peak.
        v[i] = std::tanh(2.2 * (tone + 0.9 * hp * std::exp(-t / 0.065))) * std::min(1.0, t / 0.001);
    }
    return make_sample("snare", "snare.smp", quantise(fade_tail(v), 0.95), (uint32_t)rate);
}

namespace {

// High-passed noise with an exponential decay, for hats and cymbals.
std::vector<double> metal_noise(double rate, double length, double decay, uint32_t seed)
{
    std::vector<double> v((size_t)(length * rate));
    Noise noise{seed};
    double prev = 0, hp1 = 0, prev1 = 0, hp2 = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        double t = i / rate;
        double x = noise.next();
        hp1 = 0.6 * (hp1 + x - prev);
        prev = x;
        hp2 = 0.6 * (hp2 + hp1 - prev1);
        prev1 = hp1;
        // A few inharmonic square partials give the noise a metallic ring.
        double ring = 0;
        const double partials[4] = {3150.0, 4470.0, 5830.0, 7410.0};
        for (double f : partials)
            ring += std::sin(2 * pi * f * t) > 0 ? 0.08 : -0.08;
        v[i] = (hp2 + ring) * std::exp(-t / decay) * std::min(1.0, t / 0.0005);
    }
    return v;
}

}  // namespace

S3mSample synth_closed_hat()
{
    return make_sample("closed hat", "chat.smp", quantise(fade_tail(metal_noise(44100, 0.07, 0.016, 99u)), 0.9), 44100);
}

S3mSample synth_open_hat()
{
    return make_sample("open hat", "ohat.smp", quantise(fade_tail(metal_noise(44100, 0.42, 0.13, 77u)), 0.9), 44100);
}

S3mSample synth_crash()
{
    return make_sample("crash", "crash.smp", quantise(fade_tail(metal_noise(32000, 1.6, 0.55, 4242u)), 0.9), 32000);
}

S3mSample synth_clap()
{
    const double rate = 22050;
    std::vector<double> v((size_t)(0.3 * rate));
    Noise noise{555u};
    double lp = 0, prev = 0, bp = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        double t = i / rate;
        double x = noise.next();
        lp += 0.35 * (x - lp);
        bp = 0.85 * (bp + lp - prev);
        prev = lp;
        // Three quick bursts, then the body of the clap.
        double env = 0;
        for (int k = 0; k < 3; ++k) {
            double dt = t - k * 0.009;
            if (dt >= 0)
                env = std::max(env, std::exp(-dt / 0.004));
        }
        if (t >= 0.027)
            env = std::max(env, 0.8 * std::exp(-(t - 0.027) / 0.07));
        v[i] = bp * env;
    }
    return make_sample("clap", "clap.smp", quantise(fade_tail(v), 0.95), (uint32_t)rate);
}

S3mSample synth_bass()
{
    // 128 points a period; brightness falls over the first 70 periods, then the
    // last 8 periods loop as the sustain.
    return tonal("bass", "bass.smp", 128, 100, 8, 24,
                 [](int n, int k) {
                     double cutoff = 3.0 + 9.0 * std::exp(-k / 18.0);
                     double a = (1.0 / n) / (1.0 + std::pow(n / cutoff, 2.0));
                     return a * (1.0 + 0.25 * std::exp(-k / 6.0));
                 },
                 0.95);
}

S3mSample synth_pad()
{
    const int length = 32768;  // 512 base cycles of 64 points
    S3mSample s = make_sample("pad", "pad.smp", quantise(detuned_saws(length, 0.0, 16744), 0.95),
                              (uint32_t)std::lround(middle_c * 64));
    s.loop = true;
    s.loop_start = 0;
    s.loop_end = length;
    return s;
}

S3mSample synth_stab()
{
    const double rate = middle_c * 64;
    return make_sample("stab", "stab.smp", quantise(fade_tail(detuned_saws(9000, 0.11, rate)), 0.95),
                       (uint32_t)std::lround(rate));
}

S3mSample synth_lead()
{
    // Odd harmonics (a square) with a little of the even ones for a hollow, bright tone.
    return tonal("lead", "lead.smp", 64, 1, 1, 28,
                 [](int n, int) {
                     double a = n % 2 ? 1.0 / n : 0.18 / n;
                     return a / (1.0 + std::pow(n / 16.0, 2.0));
                 },
                 0.95);
}

S3mSample synth_pluck()
{
    // A sine with two overtones that fade faster than the fundamental: about 0.4 s at C-5.
    return tonal("pluck", "pluck.smp", 64, 200, 0, 4,
                 [](int n, int k) {
                     const double level[5] = {0, 1.0, 0.45, 0.25, 0.12};
                     return level[n] * std::exp(-k * (0.02 + 0.012 * n));
                 },
                 0.95);
}
