// Measures raw 16-bit unsigned little-endian sound, as Allegro's ALSA driver
// writes it into an ALSA file device.
// Usage: pcm_probe FILE [from_byte [to_byte]]
// Prints: "samples N rms R peak P" with R and P in dB below full scale
// (-inf for silence), over the bytes from..to (default: the whole file).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pcm_probe FILE [from_byte [to_byte]]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t from = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;
  size_t to = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : b.size();
  if (to > b.size()) to = b.size();
  from &= ~size_t(1);
  double sum = 0, peak = 0;
  long n = 0;
  for (size_t i = from; i + 1 < to; i += 2, ++n) {
    double v = (double((b[i] | (b[i + 1] << 8))) - 32768.0) / 32768.0;
    sum += v * v;
    peak = std::fmax(peak, std::fabs(v));
  }
  double rms = n ? std::sqrt(sum / n) : 0;
  auto db = [](double v) { return v > 0 ? 20 * std::log10(v) : -INFINITY; };
  std::printf("samples %ld rms %.1f peak %.1f\n", n, db(rms), db(peak));
  return 0;
}
