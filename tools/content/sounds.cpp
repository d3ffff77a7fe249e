// Every sound of the game, synthesized: four loops (rain, the sad title
// song, the forest, the boss theme) that wrap without a click, and the
// effects. 16-bit mono PCM at 22050 Hz.
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "art.h"
#include "content.h"

namespace {

constexpr int Rate = 22050;
constexpr double Tau = 2 * M_PI;
constexpr double EdgeFadeSec = 0.004;  // effects start and end at silence

using Wave = std::vector<float>;

int Samples(double seconds) { return (int)std::lround(seconds * Rate); }

double MidiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Adds one voice from `start` for `length` samples, wrapping around the end
// of the buffer when `wrap` is set (loops), else cut at the end.
void AddVoice(Wave& w, int start, int length, bool wrap, const std::function<double(double)>& voice) {
    int n = (int)w.size();
    for (int i = 0; i < length; ++i) {
        int at = start + i;
        if (wrap) at %= n;
        if (at < 0 || at >= n) continue;
        w[at] += (float)voice((double)i / Rate);
    }
}

double Osc(int shape, double phase) {
    double p = phase - std::floor(phase);
    switch (shape) {
    case 1: return 2 * p - 1;                                  // saw
    case 2: return p < 0.5 ? 1 : -1;                           // square
    case 3: return 4 * std::fabs(p - 0.5) - 1;                 // triangle
    default: return std::sin(Tau * p);
    }
}

// A note with a quick attack and an exponential decay.
void Note(Wave& w, double at, double seconds, double hz, double amp, int shape, double decay, bool wrap,
          double attack = 0.01) {
    AddVoice(w, Samples(at), Samples(seconds), wrap, [=](double t) {
        double env = std::min(1.0, t / attack) * std::exp(-t * decay);
        double tail = std::min(1.0, (seconds - t) / 0.03);
        return amp * env * tail * Osc(shape, hz * t);
    });
}

// State-variable filter run over a whole buffer; cutoff(i) in Hz.
void Filter(Wave& w, int mode, double q, const std::function<double(int)>& cutoff) {
    double low = 0, band = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double f = 2 * std::sin(M_PI * std::min(cutoff((int)i), Rate / 4.0) / Rate);
        double high = w[i] - low - q * band;
        band += f * high;
        low += f * band;
        w[i] = (float)(mode == 0 ? low : mode == 1 ? band : high);
    }
}

Wave Noise(int n, uint32_t seed) {
    Rng rng(seed);
    Wave w(n);
    for (float& s : w) s = (float)(rng.Unit() * 2 - 1);
    return w;
}

// Filtered noise for a loop: the filter runs over two rounds of the same
// noise and the second is kept, so the end flows into the start.
Wave LoopNoise(int n, uint32_t seed, int mode, double q, const std::function<double(int)>& cutoff) {
    Wave once = Noise(n, seed), twice(2 * n);
    for (int i = 0; i < 2 * n; ++i) twice[i] = once[i % n];
    Filter(twice, mode, q, [&](int i) { return cutoff(i % n); });
    return Wave(twice.begin() + n, twice.end());
}

void Mix(Wave& into, const Wave& from, double gain) {
    for (size_t i = 0; i < into.size() && i < from.size(); ++i) into[i] += (float)(from[i] * gain);
}

void Envelope(Wave& w, const std::function<double(double)>& env) {
    for (size_t i = 0; i < w.size(); ++i) w[i] *= (float)env((double)i / Rate);
}

void Normalize(Wave& w, double peak) {
    double top = 1e-9;
    for (float s : w) top = std::max(top, (double)std::fabs(s));
    for (float& s : w) s = (float)(s * peak / top);
}

void FadeEdges(Wave& w) {
    int n = std::min((int)w.size() / 2, Samples(EdgeFadeSec));
    for (int i = 0; i < n; ++i) {
        double g = (double)i / n;
        w[i] *= (float)g;
        w[w.size() - 1 - i] *= (float)g;
    }
}

void Put(std::vector<unsigned char>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

bool WriteWav(const std::string& path, const Wave& w) {
    std::vector<unsigned char> out;
    uint32_t dataBytes = (uint32_t)w.size() * 2;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(out, 16, 4);
    Put(out, 1, 2);  // PCM
    Put(out, 1, 2);  // mono
    Put(out, Rate, 4);
    Put(out, Rate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, dataBytes, 4);
    for (float s : w) {
        double v = std::max(-1.0, std::min(1.0, (double)s));
        Put(out, (uint32_t)(int16_t)std::lround(v * 32767), 2);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (f) ok = (std::fclose(f) == 0) && ok;
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

// --- effects ---

Wave Whoosh(double seconds, double lowHz, double highHz, uint32_t seed) {
    int n = Samples(seconds);
    Wave w = Noise(n, seed);
    Filter(w, 1, 0.6, [=](int i) {
        double t = (double)i / n;
        return lowHz + (highHz - lowHz) * std::sin(M_PI * t);
    });
    Envelope(w, [=](double t) { return std::pow(std::sin(M_PI * std::min(1.0, t / seconds)), 1.5); });
    return w;
}

Wave Thump(double seconds, double fromHz, double toHz, double noiseAmount, uint32_t seed) {
    int n = Samples(seconds);
    Wave w(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = (double)i / Rate;
        double hz = toHz + (fromHz - toHz) * std::exp(-t * 18);
        phase += hz / Rate;
        w[i] = (float)(std::sin(Tau * phase) * std::exp(-t * 7));
    }
    Wave hit = Noise(n, seed);
    Filter(hit, 0, 0.8, [](int) { return 900.0; });
    Envelope(hit, [](double t) { return std::exp(-t * 30); });
    Mix(w, hit, noiseAmount);
    return w;
}

Wave SwingOne() { return Whoosh(0.26, 600, 2600, 11); }
Wave SwingTwo() { return Whoosh(0.24, 900, 3800, 12); }

Wave HeavyBlow() {
    Wave w = Thump(0.55, 160, 42, 1.4, 13);
    Mix(w, Whoosh(0.55, 300, 1200, 14), 0.5);
    return w;
}

Wave CanopyOpen() {
    Wave w = Whoosh(0.22, 400, 1800, 15);
    Wave pop(w.size());
    Note(pop, 0.16, 0.06, 520, 0.9, 0, 60, false, 0.002);
    Mix(w, pop, 0.8);
    return w;
}

Wave Hit() {
    Wave w = Thump(0.22, 420, 120, 2.0, 16);
    Note(w, 0, 0.08, 1800, 0.35, 2, 60, false, 0.001);
    return w;
}

Wave Step(double toneHz, uint32_t seed) {
    Wave w = Noise(Samples(0.09), seed);
    Filter(w, 1, 1.2, [=](int) { return toneHz; });
    Envelope(w, [](double t) { return std::exp(-t * 55); });
    return w;
}

Wave JumpStomp() {
    Wave w = Step(500, 17);
    w.resize(Samples(0.2));
    Wave up(w.size());
    AddVoice(up, 0, (int)up.size(), false, [](double t) {
        return 0.6 * std::exp(-t * 14) * std::sin(Tau * (300 * t + 900 * t * t));
    });
    Mix(w, up, 1.0);
    return w;
}

Wave Chime() {
    Wave w(Samples(1.3));
    const int notes[] = {84, 88, 91, 96, 100};
    for (int i = 0; i < 5; ++i) {
        Note(w, 0.07 * i, 1.0, MidiHz(notes[i]), 0.5, 0, 4.5, false, 0.003);
        Note(w, 0.07 * i, 0.6, MidiHz(notes[i]) * 2.76, 0.12, 0, 9, false, 0.003);
    }
    return w;
}

Wave Blade() {
    Wave w(Samples(0.9));
    for (double hz : {2130.0, 3410.0, 5220.0, 6610.0}) Note(w, 0.02, 0.85, hz, 0.25, 0, 5 + hz / 1500, false, 0.002);
    Mix(w, Whoosh(0.12, 2000, 6000, 18), 0.9);
    return w;
}

Wave Growl() {
    int n = Samples(0.95);
    Wave w(n);
    AddVoice(w, 0, n, false, [](double t) {
        double hz = 72 + 14 * std::sin(Tau * 1.3 * t);
        double trem = 0.7 + 0.3 * std::sin(Tau * 23 * t);
        return trem * std::sin(M_PI * std::min(1.0, t / 0.95)) * Osc(1, hz * t);
    });
    Filter(w, 0, 0.7, [](int) { return 700.0; });
    Mix(w, Whoosh(0.95, 200, 600, 19), 0.35);
    return w;
}

Wave HeavySwing() { return Whoosh(0.6, 180, 900, 20); }

Wave BossThud() {
    Wave w = Thump(0.7, 110, 34, 1.8, 21);
    Mix(w, Step(180, 22), 0.8);
    return w;
}

Wave ContinueWhoosh() {
    Wave w = Whoosh(0.3, 500, 3000, 23);
    w.resize(Samples(0.5));
    Wave pa(w.size());
    Note(pa, 0.3, 0.18, 660, 0.7, 3, 18, false, 0.002);
    Note(pa, 0.3, 0.18, 990, 0.4, 0, 18, false, 0.002);
    Mix(w, pa, 1.0);
    return w;
}

// --- loops ---

Wave RainLoop() {
    int n = Samples(6.0);
    Wave w = LoopNoise(n, 31, 0, 0.7, [](int) { return 2600.0; });
    Wave hiss = LoopNoise(n, 32, 2, 0.7, [](int) { return 5000.0; });
    Mix(w, hiss, 0.25);
    Rng rng(33);
    for (int i = 0; i < 140; ++i) {
        double at = rng.Range(0, 6.0), hz = rng.Range(1500, 4200);
        Note(w, at, 0.03, hz, rng.Range(0.15, 0.4), 0, 120, true, 0.001);
    }
    return w;
}

// A slow minor-key song: chords under a plaintive melody, 16 beats at 66 bpm.
Wave SadSong() {
    const double Beat = 60.0 / 66;
    int n = Samples(16 * Beat);
    Wave w(n);
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {50, 53, 57}, {52, 56, 59}};  // Am F Dm E
    for (int bar = 0; bar < 4; ++bar) {
        for (int k = 0; k < 3; ++k) {
            Note(w, bar * 4 * Beat, 4 * Beat, MidiHz(chords[bar][k]), 0.12, 3, 0.5, true, 0.4);
            for (int b = 0; b < 4; ++b)
                Note(w, (bar * 4 + b + k / 3.0) * Beat, 1.2, MidiHz(chords[bar][k] + 12), 0.1, 0, 3.0, true, 0.005);
        }
        Note(w, bar * 4 * Beat, 4 * Beat, MidiHz(chords[bar][0] - 12), 0.2, 0, 0.6, true, 0.05);
    }
    const int melody[16] = {76, 74, 72, 71, 72, 69, 72, 76, 74, 72, 69, 65, 68, 71, 69, 0};
    for (int i = 0; i < 16; ++i) {
        if (!melody[i]) continue;
        double hz = MidiHz(melody[i]);
        AddVoice(w, Samples(i * Beat), Samples(1.6 * Beat), true, [=](double t) {
            double vib = 1 + 0.004 * std::sin(Tau * 5 * t);
            double env = std::min(1.0, t / 0.08) * std::exp(-t * 1.2) * std::min(1.0, (1.6 * Beat - t) / 0.1);
            return 0.28 * env * (0.8 * Osc(0, hz * vib * t) + 0.2 * Osc(3, 2 * hz * t));
        });
    }
    return w;
}

// Wind in the leaves, birds, and a light pentatonic tune: 16 beats at 96 bpm.
Wave ForestLoop() {
    const double Beat = 60.0 / 96;
    int n = Samples(16 * Beat);
    Wave w = LoopNoise(n, 41, 1, 0.9, [n](int i) { return 700 + 300 * std::sin(Tau * i / n); });
    for (size_t i = 0; i < w.size(); ++i) w[i] *= (float)(0.25 + 0.1 * std::sin(Tau * 2 * i / n));
    Rng rng(42);
    for (int b = 0; b < 7; ++b) {
        double at = rng.Range(0, 16 * Beat), base = rng.Range(2600, 3600);
        for (int k = 0; k < 3; ++k)
            AddVoice(w, Samples(at + 0.11 * k), Samples(0.09), true, [=](double t) {
                return 0.18 * std::sin(M_PI * t / 0.09) * std::sin(Tau * (base * t + 6000 * t * t));
            });
    }
    const int tune[16] = {72, 0, 76, 79, 81, 0, 79, 76, 74, 0, 76, 72, 69, 72, 74, 0};
    const int bass[4] = {48, 45, 53, 55};
    for (int i = 0; i < 16; ++i)
        if (tune[i]) Note(w, i * Beat, 1.0, MidiHz(tune[i]), 0.22, 3, 4.0, true, 0.004);
    for (int bar = 0; bar < 4; ++bar) Note(w, bar * 4 * Beat, 3.5 * Beat, MidiHz(bass[bar]), 0.25, 0, 1.2, true, 0.02);
    return w;
}

// A driving minor theme: bass ostinato, drums and stabs, 16 beats at 140 bpm.
Wave BossTheme() {
    const double Beat = 60.0 / 140;
    int n = Samples(16 * Beat);
    Wave w(n);
    const int bassLine[8] = {38, 38, 41, 38, 43, 38, 45, 44};
    for (int i = 0; i < 32; ++i) {
        int note = bassLine[i % 8] + (i >= 16 ? 2 : 0);
        Note(w, i * Beat / 2, Beat / 2, MidiHz(note), 0.35, 1, 3.0, true, 0.003);
    }
    Wave drums(n);
    for (int b = 0; b < 16; ++b) {
        Wave kick = Thump(0.25, 130, 48, 0.3, 50 + b);
        for (size_t i = 0; i < kick.size(); ++i) drums[(Samples(b * Beat) + i) % n] += kick[i] * 0.8f;
        if (b % 2) {
            Wave snare = Noise(Samples(0.18), 70 + b);
            Filter(snare, 1, 0.8, [](int) { return 1800.0; });
            Envelope(snare, [](double t) { return std::exp(-t * 22); });
            for (size_t i = 0; i < snare.size(); ++i) drums[(Samples(b * Beat) + i) % n] += snare[i] * 0.9f;
        }
    }
    Mix(w, drums, 1.0);
    const int stabs[4] = {62, 65, 67, 64};
    for (int bar = 0; bar < 4; ++bar)
        for (int k : {0, 3})
            for (int v : {0, 3, 7})
                Note(w, (bar * 4 + k) * Beat, 0.5, MidiHz(stabs[bar] + v), 0.08, 2, 5.0, true, 0.004);
    Filter(w, 0, 0.9, [](int) { return 4200.0; });
    return w;
}

struct SoundFile {
    const char* name;
    Wave (*make)();
    double peak;
    bool loop;
};

const SoundFile Files[] = {
    {"素振り1.wav", SwingOne, 0.8, false},
    {"素振り2.wav", SwingTwo, 0.8, false},
    {"bom10.wav", HeavyBlow, 0.9, false},
    {"open.wav", CanopyOpen, 0.7, false},
    {"効果（攻撃）.wav", Hit, 0.85, false},
    {"step01.wav", [] { return Step(260, 1); }, 0.5, false},
    {"step02.wav", [] { return Step(340, 2); }, 0.5, false},
    {"足踏み.wav", JumpStomp, 0.7, false},
    {"キラキラリン.wav", Chime, 0.7, false},
    {"syaki-n.wav", Blade, 0.7, false},
    {"hyupa.wav", ContinueWhoosh, 0.75, false},
    {"うなり声.wav", Growl, 0.85, false},
    {"太いものをブン回す.wav", HeavySwing, 0.85, false},
    {"ボスッ.wav", BossThud, 0.9, false},
    {"雨.wav", RainLoop, 0.35, true},
    {"sadsong-1.wav", SadSong, 0.6, true},
    {"forest.wav", ForestLoop, 0.55, true},
    {"Boss.wav", BossTheme, 0.65, true},
};

}  // namespace

bool MakeSounds(const std::string& root) {
    bool ok = true;
    for (const SoundFile& f : Files) {
        Wave w = f.make();
        Normalize(w, f.peak);
        if (!f.loop) FadeEdges(w);
        ok = WriteWav(root + "/Sound/" + f.name, w) && ok;
    }
    return ok;
}
