#include "tools/pack/Sound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pack {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic generator, so that a recipe always sounds the same.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed * 2654435761u + 1u) {}
    double Next() {  // -1 .. 1
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state / 4294967295.0) * 2.0 - 1.0;
    }

private:
    std::uint32_t state;
};

struct Layer {
    std::string wave = "sine";
    std::vector<double> freqs;  // one per repeat when notes= is given
    double to = 0;              // sweep target (0: none)
    double start = 0, length = -1, gain = 0.5;
    double attack = 0.002, hold = 0, decay = 0, release = 0.005;
    double lowpass = 0, highpass = 0;
    double vibratoRate = 0, vibratoDepth = 0;  // Hz, semitones
    double duty = 0.5, pan = 0;
    int repeat = 1;
    double every = 0, jitter = 0, detune = 0;
    double shrink = 1, fade = 1;     // each gap and each sounding's gain, times this (bounces)
    double bandpass = 0, q = 1;      // a resonant band (a body's ring); 0: none
    std::uint32_t seed = 1;
};

double Frequency(const std::string& text, const Line& at) {
    int key = NoteNumber(text);
    if (key >= 0) return NoteFrequency(key);
    double value = ToNumber(text, at);
    if (value <= 0) throw SourceError(at.file, at.number, "a frequency must be above 0");
    return value;
}

Layer ParseLayer(const Line& line, std::uint32_t index) {
    static const char* const kKnown[] = {"wave", "freq", "to", "notes", "start", "length", "gain", "attack", "hold",
                                         "decay", "release", "lowpass", "highpass", "vibrato", "vibrato-depth",
                                         "duty", "pan", "repeat", "every", "jitter", "detune", "seed",
                                         "shrink", "fade", "bandpass", "q"};
    Params p = ParseParams(line, 1);
    for (const auto& [key, value] : p)
        if (std::find_if(std::begin(kKnown), std::end(kKnown), [&](const char* k) { return key == k; }) ==
            std::end(kKnown))
            throw SourceError(line.file, line.number, "unknown layer setting \"" + key + "\"");
    Layer layer;
    layer.wave = p.count("wave") ? p["wave"] : "sine";
    if (layer.wave != "sine" && layer.wave != "square" && layer.wave != "saw" && layer.wave != "triangle" &&
        layer.wave != "noise")
        throw SourceError(line.file, line.number, "wave must be sine, square, saw, triangle or noise");
    if (p.count("notes")) {
        std::string list = p["notes"];
        std::size_t s = 0;
        while (s <= list.size()) {
            std::size_t c = list.find(',', s);
            layer.freqs.push_back(Frequency(list.substr(s, c == std::string::npos ? std::string::npos : c - s), line));
            if (c == std::string::npos) break;
            s = c + 1;
        }
    } else {
        layer.freqs.push_back(p.count("freq") ? Frequency(p["freq"], line) : 440.0);
    }
    if (p.count("to")) layer.to = Frequency(p["to"], line);
    layer.start = NumberParam(p, "start", 0, line);
    layer.length = NumberParam(p, "length", -1, line);
    layer.gain = NumberParam(p, "gain", 0.5, line);
    layer.attack = NumberParam(p, "attack", 0.002, line);
    layer.hold = NumberParam(p, "hold", 0, line);
    layer.decay = NumberParam(p, "decay", 0, line);
    layer.release = NumberParam(p, "release", 0.005, line);
    layer.lowpass = NumberParam(p, "lowpass", 0, line);
    layer.highpass = NumberParam(p, "highpass", 0, line);
    layer.vibratoRate = NumberParam(p, "vibrato", 0, line);
    layer.vibratoDepth = NumberParam(p, "vibrato-depth", 0.3, line);
    layer.duty = NumberParam(p, "duty", 0.5, line);
    layer.pan = NumberParam(p, "pan", 0, line);
    layer.repeat = static_cast<int>(NumberParam(p, "repeat", static_cast<double>(layer.freqs.size()), line));
    layer.every = NumberParam(p, "every", 0, line);
    layer.jitter = NumberParam(p, "jitter", 0, line);
    layer.detune = NumberParam(p, "detune", 0, line);
    layer.seed = static_cast<std::uint32_t>(NumberParam(p, "seed", index + 1, line));
    layer.shrink = NumberParam(p, "shrink", 1, line);
    layer.fade = NumberParam(p, "fade", 1, line);
    layer.bandpass = NumberParam(p, "bandpass", 0, line);
    layer.q = NumberParam(p, "q", 1, line);
    if (layer.shrink <= 0 || layer.fade < 0 || layer.q <= 0 || layer.bandpass < 0)
        throw SourceError(line.file, line.number, "shrink and q must be above 0; fade and bandpass not negative");
    if (layer.repeat < 1 || layer.repeat > 1000) throw SourceError(line.file, line.number, "repeat out of 1..1000");
    if (layer.start < 0 || layer.attack < 0 || layer.hold < 0 || layer.decay < 0 || layer.release < 0 ||
        layer.every < 0 || layer.jitter < 0)
        throw SourceError(line.file, line.number, "times must not be negative");
    return layer;
}

// One sounding of a layer into the mix, starting at sample offset.
void RenderOnce(const Layer& layer, double freq, double length, long offset, double gain, Noise& random, int rate,
                int channels, std::vector<double>& mix) {
    // The band: a biquad band-pass of 0 dB peak (the usual cookbook form).
    double b0 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    if (layer.bandpass > 0) {
        const double w = 2 * kPi * std::min(layer.bandpass, rate * 0.45) / rate;
        const double alpha = std::sin(w) / (2 * layer.q), a0 = 1 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2 * std::cos(w) / a0;
        a2 = (1 - alpha) / a0;
    }
    const long count = static_cast<long>(length * rate);
    const long frames = static_cast<long>(mix.size() / channels);
    double phase = 0, low1 = 0, low2 = 0, highIn = 0, highOut = 0;
    const double lowA = layer.lowpass > 0 ? 1.0 - std::exp(-2 * kPi * layer.lowpass / rate) : 1.0;
    const double highRc = layer.highpass > 0 ? 1.0 / (2 * kPi * layer.highpass) : 0;
    const double highA = layer.highpass > 0 ? highRc / (highRc + 1.0 / rate) : 0;
    const double left = channels == 2 ? std::min(1.0, 1.0 - layer.pan) : 1.0;
    const double right = channels == 2 ? std::min(1.0, 1.0 + layer.pan) : 1.0;
    for (long i = 0; i < count; ++i) {
        const long at = offset + i;
        if (at < 0) continue;
        if (at >= frames) break;
        const double t = static_cast<double>(i) / rate;
        double f = freq;
        if (layer.to > 0 && length > 0) f = freq * std::pow(layer.to / freq, t / length);
        if (layer.vibratoRate > 0) f *= std::pow(2.0, layer.vibratoDepth / 12 * std::sin(2 * kPi * layer.vibratoRate * t));
        phase += f / rate;
        phase -= std::floor(phase);
        double v = 0;
        if (layer.wave == "sine") v = std::sin(2 * kPi * phase);
        else if (layer.wave == "square") v = phase < layer.duty ? 1.0 : -1.0;
        else if (layer.wave == "saw") v = 2 * phase - 1;
        else if (layer.wave == "triangle") v = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
        else v = random.Next();
        if (layer.lowpass > 0) {  // two one-pole stages: 12 dB per octave
            low1 += lowA * (v - low1);
            low2 += lowA * (low1 - low2);
            v = low2;
        }
        if (layer.bandpass > 0) {
            const double out = b0 * v + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = out;
            v = out;
        }
        if (layer.highpass > 0) {
            double out = highA * (highOut + v - highIn);
            highIn = v;
            highOut = out;
            v = out;
        }
        double env = 1;
        if (t < layer.attack) env = t / layer.attack;
        else if (layer.decay > 0 && t > layer.attack + layer.hold) env = std::exp(-(t - layer.attack - layer.hold) / layer.decay);
        const double tail = length - t;
        if (layer.release > 0 && tail < layer.release) env *= std::max(0.0, tail / layer.release);
        v *= env * gain;
        if (channels == 2) {
            mix[at * 2] += v * left;
            mix[at * 2 + 1] += v * right;
        } else {
            mix[at] += v;
        }
    }
}

}  // namespace

double SoundingRms(const std::vector<double>& samples, int channels, int rate) {
    const std::size_t window = static_cast<std::size_t>(std::max(1, rate / 100)) * static_cast<std::size_t>(channels);
    std::vector<double> energy;
    for (std::size_t at = 0; at < samples.size(); at += window) {
        double sum = 0;
        const std::size_t end = std::min(samples.size(), at + window);
        for (std::size_t i = at; i < end; ++i) sum += samples[i] * samples[i];
        energy.push_back(sum / static_cast<double>(end - at));
    }
    double loudest = 0;
    for (double e : energy) loudest = std::max(loudest, e);
    double sum = 0;
    int counted = 0;
    for (double e : energy)
        if (e >= loudest * 0.001) sum += e, ++counted;  // within 30 dB of the loudest window
    return counted ? std::sqrt(sum / counted) : 0;
}

int NoteNumber(const std::string& name) {
    if (name.size() < 2) return -1;
    static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G') return -1;
    int key = kSemitones[letter - 'A'];
    std::size_t i = 1;
    if (name[i] == '#') ++key, ++i;
    else if (name[i] == 'b') --key, ++i;
    if (i >= name.size()) return -1;
    char* end = nullptr;
    long octave = std::strtol(name.c_str() + i, &end, 10);
    if (*end != '\0' || octave < -1 || octave > 9) return -1;
    int number = static_cast<int>(12 * (octave + 1)) + key;
    return number >= 0 && number <= 127 ? number : -1;
}

double NoteFrequency(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

SoundData SynthesiseRecipe(const std::vector<Line>& recipe) {
    SoundData sound;
    double length = -1, normalise = 0, master = 1, loudness = 0, ceiling = 0.89;
    bool byLoudness = false;
    std::vector<Layer> layers;
    for (const Line& line : recipe) {
        if (line.words[0] == "format") {
            Params p = ParseParams(line, 1);
            sound.rate = static_cast<int>(NumberParam(p, "rate", sound.rate, line));
            sound.channels = static_cast<int>(NumberParam(p, "channels", sound.channels, line));
            length = NumberParam(p, "length", length, line);
            normalise = NumberParam(p, "normalise", normalise, line);
            master = NumberParam(p, "gain", master, line);
            if (p.count("loudness")) {
                byLoudness = true;
                loudness = NumberParam(p, "loudness", -18, line);
            }
            ceiling = NumberParam(p, "ceiling", ceiling, line);
            if (ceiling <= 0 || ceiling > 1) throw SourceError(line.file, line.number, "ceiling out of 0..1");
            if (sound.rate < 4000 || sound.rate > 96000) throw SourceError(line.file, line.number, "rate out of 4000..96000");
            if (sound.channels != 1 && sound.channels != 2) throw SourceError(line.file, line.number, "channels must be 1 or 2");
        } else if (line.words[0] == "layer") {
            layers.push_back(ParseLayer(line, static_cast<std::uint32_t>(layers.size())));
        } else {
            throw SourceError(line.file, line.number, "expected \"format\" or \"layer\"");
        }
    }
    if (layers.empty()) throw SourceError(recipe.empty() ? "" : recipe[0].file, recipe.empty() ? 0 : recipe[0].number, "a sound needs a layer");
    if (length <= 0) {
        length = 0;
        for (const Layer& l : layers) {
            double each = l.length > 0 ? l.length : 0.2;
            double span = 0, gap = l.every;
            for (int r = 1; r < l.repeat; ++r, gap *= l.shrink) span += gap;
            length = std::max(length, l.start + span + l.jitter + each);
        }
    }
    if (length > 60) throw SourceError(recipe[0].file, recipe[0].number, "a sound may last at most 60 s");
    const long frames = std::max(1L, static_cast<long>(std::lround(length * sound.rate)));
    std::vector<double> mix(static_cast<std::size_t>(frames) * sound.channels, 0.0);
    for (const Layer& layer : layers) {
        Noise random(layer.seed);
        double at = layer.start, gap = layer.every, gain = layer.gain;
        for (int r = 0; r < layer.repeat; ++r, at += gap, gap *= layer.shrink, gain *= layer.fade) {
            double start = at + (layer.jitter > 0 ? (random.Next() + 1) / 2 * layer.jitter : 0);
            double each = layer.length > 0 ? layer.length : length - start;
            double freq = layer.freqs[static_cast<std::size_t>(r) % layer.freqs.size()];
            if (layer.detune > 0) freq *= std::pow(2.0, layer.detune * random.Next() / 12);
            RenderOnce(layer, freq, each, std::lround(start * sound.rate), gain, random, sound.rate, sound.channels, mix);
        }
    }
    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    double scale = master;
    if (normalise > 0 && peak > 0) scale = normalise / peak;
    if (byLoudness && peak > 0) {
        // The level of the sounding part, then as near the wanted level as the ceiling allows.
        const double level = SoundingRms(mix, sound.channels, sound.rate);
        if (level > 0) scale = std::min(std::pow(10.0, loudness / 20) / level, ceiling / peak);
    }
    sound.samples.resize(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        double v = std::clamp(mix[i] * scale, -1.0, 1.0);
        sound.samples[i] = static_cast<std::int16_t>(std::lround(v * 32767));
    }
    return sound;
}

std::vector<std::uint8_t> EncodeWave(const SoundData& sound) {
    std::vector<std::uint8_t> out;
    out.reserve(44 + sound.samples.size() * 2);  // the whole file at once (and no false overflow warning)
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(s[i]));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(sound.channels * 2);
    text("RIFF");
    u32(4 + 8 + 16 + 8 + dataBytes);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(static_cast<std::uint16_t>(sound.channels));
    u32(static_cast<std::uint32_t>(sound.rate));
    u32(static_cast<std::uint32_t>(sound.rate) * blockAlign);
    u16(blockAlign);
    u16(16);
    text("data");
    u32(dataBytes);
    for (std::int16_t s : sound.samples) u16(static_cast<std::uint16_t>(s));
    return out;  // the data size is even, so no pad byte is needed
}

}  // namespace pack
