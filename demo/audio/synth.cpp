// The demo's sounds and music, made from code: ambient loops (lapping water,
// birdsong, wind in the trees, a crackling stove), a footstep and three short
// tunes, written as 16-bit mono WAV files that the build encodes to OGG.
//
//   demo_synth OUTDIR
//
// Everything is computed from fixed seeds, so a build makes the same files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using TSignal = std::vector<double>;

// A small linear congruential generator: the same noise on every machine.
class TNoise {
 public:
  explicit TNoise(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  uint32_t state_;
};

TSignal Silence(double seconds) { return TSignal(static_cast<size_t>(seconds * kRate), 0.0); }

// One-pole low-pass over a signal; `cutoff` in Hz.
void LowPass(TSignal& s, double cutoff) {
  const double a = 1 - std::exp(-2 * kPi * cutoff / kRate);
  double y = 0;
  for (double& x : s) x = y += a * (x - y);
}

// A loop fades its first and last 50 ms into each other so that it repeats
// without a click.
void MakeLoop(TSignal& s) {
  const size_t n = static_cast<size_t>(0.05 * kRate);
  if (s.size() < 2 * n) return;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    s[i] = s[i] * t + s[s.size() - n + i] * (1 - t);
  }
  s.resize(s.size() - n);
}

void Normalise(TSignal& s, double peak) {
  double m = 0;
  for (double x : s) m = std::max(m, std::abs(x));
  if (m > 0)
    for (double& x : s) x *= peak / m;
}

// Water lapping at a shore: low noise that swells in slow, uneven waves.
TSignal Water() {
  TSignal s = Silence(6);
  TNoise noise(7);
  for (double& x : s) x = noise.Next();
  LowPass(s, 500);
  LowPass(s, 900);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] *= 0.55 + 0.3 * std::sin(2 * kPi * t / 2.0) + 0.15 * std::sin(2 * kPi * t / 1.5 + 1);
  }
  Normalise(s, 0.5);
  MakeLoop(s);
  return s;
}

// Birdsong: short chirps that sweep up or down, scattered over the loop.
TSignal Birds() {
  TSignal s = Silence(8);
  TNoise noise(21);
  for (int chirp = 0; chirp < 26; ++chirp) {
    const double start = (noise.Next() + 1) / 2 * 7.6;
    const double base = 2600 + 900 * noise.Next(), sweep = 1200 * noise.Next();
    const double length = 0.06 + 0.05 * (noise.Next() + 1);
    double phase = 0;
    for (size_t i = 0; i < static_cast<size_t>(length * kRate); ++i) {
      const double t = static_cast<double>(i) / kRate;
      const size_t at = static_cast<size_t>(start * kRate) + i;
      if (at >= s.size()) break;
      phase += 2 * kPi * (base + sweep * t / length) / kRate;
      s[at] += std::sin(phase) * std::sin(kPi * t / length) * 0.4;
    }
  }
  Normalise(s, 0.45);
  MakeLoop(s);
  return s;
}

// Wind in the trees: high noise that rises and falls.
TSignal Wind() {
  TSignal s = Silence(7);
  TNoise noise(3);
  for (double& x : s) x = noise.Next();
  LowPass(s, 1400);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] *= 0.5 + 0.5 * std::sin(2 * kPi * t / 7.0) * std::sin(2 * kPi * t / 3.5 + 0.5);
  }
  Normalise(s, 0.35);
  MakeLoop(s);
  return s;
}

// A wood stove: soft rumble with sharp crackles.
TSignal Stove() {
  TSignal s = Silence(5);
  TNoise noise(11);
  for (double& x : s) x = 0.15 * noise.Next();
  LowPass(s, 200);
  for (int crack = 0; crack < 40; ++crack) {
    const size_t at = static_cast<size_t>((noise.Next() + 1) / 2 * 4.9 * kRate);
    for (size_t i = 0; i < 200 && at + i < s.size(); ++i) s[at + i] += noise.Next() * std::exp(-double(i) / 30) * 0.8;
  }
  Normalise(s, 0.4);
  MakeLoop(s);
  return s;
}

// A footstep on a path: a short, dull thud.
TSignal Step() {
  TSignal s = Silence(0.12);
  TNoise noise(5);
  for (size_t i = 0; i < s.size(); ++i) s[i] = noise.Next() * std::exp(-static_cast<double>(i) / (0.02 * kRate));
  LowPass(s, 600);
  Normalise(s, 0.6);
  return s;
}

// A plucked note: a few harmonics under a quick attack and a long decay.
void Pluck(TSignal& s, double start, double frequency, double length, double level) {
  const size_t from = static_cast<size_t>(start * kRate);
  for (size_t i = 0; i < static_cast<size_t>(length * kRate) && from + i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double envelope = std::min(1.0, t / 0.01) * std::exp(-3 * t / length);
    double v = 0;
    for (int h = 1; h <= 4; ++h) v += std::sin(2 * kPi * frequency * h * t) / (h * h);
    s[from + i] += level * envelope * v;
  }
}

double Note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

// A tune: a chord progression played as arpeggios over a bass note, one bar
// of four beats a chord.
TSignal Tune(const std::vector<std::vector<int>>& chords, double beat, int bars) {
  TSignal s = Silence(beat * 4 * bars + 2);
  for (int bar = 0; bar < bars; ++bar) {
    const std::vector<int>& chord = chords[static_cast<size_t>(bar) % chords.size()];
    const double at = bar * 4 * beat;
    Pluck(s, at, Note(chord[0] - 24), beat * 4, 0.5);
    for (int step = 0; step < 8; ++step) {
      const int pattern[8] = {0, 1, 2, 1, 2, 3, 2, 1};
      const size_t note = static_cast<size_t>(pattern[step]) % chord.size();
      Pluck(s, at + step * beat / 2, Note(chord[note]), beat * 1.5, 0.25);
    }
  }
  Normalise(s, 0.7);
  return s;
}

bool WriteWav(const std::string& path, const TSignal& s) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const auto word = [f](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
  };
  const uint32_t data = static_cast<uint32_t>(s.size() * 2);
  std::fputs("RIFF", f);
  word(36 + data, 4);
  std::fputs("WAVEfmt ", f);
  word(16, 4);
  word(1, 2);
  word(1, 2);
  word(kRate, 4);
  word(kRate * 2, 4);
  word(2, 2);
  word(16, 2);
  std::fputs("data", f);
  word(data, 4);
  for (double x : s) word(static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767))), 2);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: demo_synth OUTDIR\n", stderr);
    return 1;
  }
  const std::string out = argv[1];
  // Chords as semitones from A4: C major, A minor, F major, G major and so on.
  const std::vector<std::pair<std::string, std::function<TSignal()>>> files = {
      {"water", Water},
      {"birds", Birds},
      {"wind", Wind},
      {"stove", Stove},
      {"step", Step},
      {"music_lake", [] { return Tune({{-9, -5, -2, 3}, {-12, -9, -5, 0}, {-16, -12, -9, -4}, {-14, -10, -7, -2}}, 0.5, 8); }},
      {"music_forest", [] { return Tune({{-12, -9, -5, 0}, {-7, -4, 0, 5}, {-14, -10, -7, -2}, {-12, -8, -5, 0}}, 0.42, 8); }},
      {"music_menu", [] { return Tune({{-16, -12, -9, -4}, {-9, -5, -2, 3}, {-14, -10, -7, -2}, {-9, -5, -2, 3}}, 0.6, 6); }},
  };
  for (const auto& [name, make] : files) {
    if (!WriteWav(out + "/" + name + ".wav", make())) {
      std::fprintf(stderr, "demo_synth: cannot write %s/%s.wav\n", out.c_str(), name.c_str());
      return 1;
    }
  }
  return 0;
}
