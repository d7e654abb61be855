#include "screen/photo_tiles_jpeg.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace screen {

namespace {

constexpr int kLookBits = 12;

// One Huffman table, canonical limits for any code plus, for the AC tables, a
// table of runs indexed by the next kLookBits bits of the stream. Nothing of an
// AC value is kept at one eighth, so a run entry stands for as many whole codes
// (each with its extra bits) as fit in those bits: how many bits they take, how
// far they move through the block and whether they end it. It also says the
// same of the first code alone, for a run that would cross the block's end.
struct HuffmanTable {
  bool defined = false;
  std::array<int, 18> maxCode{};  // largest code of each length, −1 for none
  std::array<int, 17> valueOffset{};
  std::array<std::uint8_t, 256> symbols{};
  std::array<std::uint8_t, 1 << kLookBits> firstLength{};  // 0: the first code is longer than kLookBits
  std::array<std::uint8_t, 1 << kLookBits> firstSymbol{};
  // bits 0-4 bits taken, 5-11 distance moved, 12 block ended; bits 16-31 the same
  // for the first code alone. 0: the first code and its extra bits do not fit.
  std::array<std::uint32_t, 1 << kLookBits> runs{};
};

// A symbol's move through the block: its zeros and itself; 0 for the end of
// block, 16 for sixteen zeros.
int moveOf(int symbol) {
  if ((symbol & 15) != 0) return (symbol >> 4) + 1;
  return symbol == 0xF0 ? 16 : 0;
}

bool buildTable(HuffmanTable& table, const std::uint8_t* counts, const std::uint8_t* symbols, int total) {
  table = HuffmanTable{};
  std::copy(symbols, symbols + total, table.symbols.begin());
  int code = 0, index = 0;
  for (int length = 1; length <= 16; ++length) {
    const int n = counts[length - 1];
    table.valueOffset[static_cast<std::size_t>(length)] = index - code;
    if (n == 0) {
      table.maxCode[static_cast<std::size_t>(length)] = -1;
    } else {
      for (int i = 0; i < n; ++i, ++code, ++index) {
        if (length <= kLookBits) {
          const int shift = kLookBits - length;
          for (int fill = 0; fill < (1 << shift); ++fill) {
            const std::size_t slot = static_cast<std::size_t>((code << shift) | fill);
            table.firstLength[slot] = static_cast<std::uint8_t>(length);
            table.firstSymbol[slot] = table.symbols[static_cast<std::size_t>(index)];
          }
        }
      }
      table.maxCode[static_cast<std::size_t>(length)] = code - 1;
    }
    if (code > (1 << length)) return false;  // more codes than the length allows
    code <<= 1;
  }
  table.maxCode[17] = 0x7FFFFFFF;
  // The runs: whole codes with their extra bits, read from each look.
  for (std::uint32_t look = 0; look < (1u << kLookBits); ++look) {
    std::uint32_t first = 0;
    int used = 0, moved = 0;
    bool ended = false;
    while (!ended) {
      const std::uint32_t rest = (look << used) & ((1u << kLookBits) - 1);
      const int length = table.firstLength[rest];
      if (length == 0) break;
      const int symbol = table.firstSymbol[rest];
      const int taken = length + (symbol & 15);
      if (used + taken > kLookBits) break;
      used += taken;
      const int move = moveOf(symbol);
      if (move == 0) {
        ended = true;
      } else {
        moved += move;
      }
      const std::uint32_t entry = static_cast<std::uint32_t>(used | moved << 5 | (ended ? 1 << 12 : 0));
      if (first == 0) first = entry;
      table.runs[look] = entry | first << 16;
      if (moved >= 64) break;
    }
  }
  table.defined = true;
  return true;
}

// The entropy-coded data with its stuffed zero bytes taken out, ending at the
// first marker that is not a restart marker; the byte offsets where restart
// intervals begin; and zero padding, so that 8 bytes can be loaded at any bit
// position of the data.
struct ScanData {
  std::vector<std::uint8_t> bytes;
  std::size_t length = 0;  // without the padding
  std::vector<std::size_t> restarts;
  std::vector<int> restartNumbers;
};

void unstuff(const std::uint8_t* p, const std::uint8_t* end, ScanData& scan) {
  scan.bytes.resize(static_cast<std::size_t>(end - p) + 16);
  std::uint8_t* out = scan.bytes.data();
  while (p < end) {
    const std::uint8_t* ff = static_cast<const std::uint8_t*>(std::memchr(p, 0xFF, static_cast<std::size_t>(end - p)));
    const std::uint8_t* stop = ff ? ff : end;
    std::memcpy(out, p, static_cast<std::size_t>(stop - p));
    out += stop - p;
    if (!ff) break;
    p = ff + 1;
    while (p < end && *p == 0xFF) ++p;  // fill bytes before a marker
    if (p >= end) break;
    if (*p == 0x00) {
      *out++ = 0xFF;
      ++p;
    } else if (*p >= 0xD0 && *p <= 0xD7) {
      scan.restarts.push_back(static_cast<std::size_t>(out - scan.bytes.data()));
      scan.restartNumbers.push_back(*p - 0xD0);
      ++p;
    } else {
      break;
    }
  }
  scan.length = static_cast<std::size_t>(out - scan.bytes.data());
  std::fill(out, scan.bytes.data() + scan.bytes.size(), 0);
}

// Bits taken from the top of a 64-bit word that is refilled from wherever the
// next unread byte is: a refill loads eight bytes and keeps what fits, so it
// never branches and leaves at least 56 bits to read.
class BitReader {
 public:
  explicit BitReader(const ScanData& scan)
      : start_(scan.bytes.data()), next_(start_), guard_(start_ + scan.length + 8), limit_(scan.length * 8) {}

  void refill() {
    // A damaged file can take the reads past the padding; they stay on its last bytes.
    if (__builtin_expect(next_ > guard_, 0)) {
      next_ = guard_;
      beyond_ = true;
    }
    std::uint64_t word;
    std::memcpy(&word, next_, 8);
    bits_ |= __builtin_bswap64(word) >> count_;
    next_ += (63 - count_) >> 3;
    count_ |= 56;
  }
  std::uint64_t bits() const { return bits_; }
  void drop(int n) {
    bits_ <<= n;
    count_ -= n;
  }
  void seekByte(std::size_t offset) {
    next_ = start_ + offset;
    beyond_ = false;
    bits_ = 0;
    count_ = 0;
  }
  std::size_t position() const { return static_cast<std::size_t>(next_ - start_) * 8 - static_cast<std::size_t>(count_); }
  // Bits past the data's end were read (a damaged file: the library reads zeros there).
  bool overran() const { return beyond_ || position() > limit_; }

 private:
  const std::uint8_t* start_;
  const std::uint8_t* next_;
  const std::uint8_t* guard_;  // the last place an 8-byte load stays inside the padding
  std::size_t limit_;
  bool beyond_ = false;
  std::uint64_t bits_ = 0;
  int count_ = 0;
};

// The next symbol of `table` from `bits` (the reader's look); −1 for a code that
// is not in the table. `length` is set to the code's length.
inline int decodeSymbol(std::uint64_t bits, const HuffmanTable& table, int& length) {
  const std::size_t slot = static_cast<std::size_t>(bits >> (64 - kLookBits));
  if (table.firstLength[slot] != 0) {
    length = table.firstLength[slot];
    return table.firstSymbol[slot];
  }
  for (int n = kLookBits + 1; n <= 16; ++n) {
    const int code = static_cast<int>(bits >> (64 - n));
    if (code <= table.maxCode[static_cast<std::size_t>(n)]) {
      length = n;
      const int index = code + table.valueOffset[static_cast<std::size_t>(n)];
      return index >= 0 && index < 256 ? table.symbols[static_cast<std::size_t>(index)] : -1;
    }
  }
  return -1;
}

inline int extend(int value, int bits) { return value < (1 << (bits - 1)) ? value - (1 << bits) + 1 : value; }

struct Component {
  int id = 0, h = 1, v = 1, quant = 0;
  int dcTable = 0, acTable = 0;
  int blocksWide = 0, blocksHigh = 0;  // of the DC plane, whole MCUs
  std::vector<std::uint8_t> plane;     // one sample per block
};

// One block: its DC difference added to `predictor` and its AC codes skipped.
// False for a code that is not in the tables.
inline bool decodeBlock(BitReader& in, const HuffmanTable& dc, const HuffmanTable& ac, int& predictor) {
  in.refill();
  int length = 0;
  const int s = decodeSymbol(in.bits(), dc, length);
  if (s < 0 || s > 11) return false;
  if (s != 0) predictor += extend(static_cast<int>((in.bits() << length) >> (64 - s)), s);
  in.drop(length + s);
  int k = 1;
  for (;;) {
    // After a refill four looks of kLookBits bits each can be taken.
    in.refill();
    for (int look = 0; look < 4; ++look) {
      const std::uint32_t run = ac.runs[static_cast<std::size_t>(in.bits() >> (64 - kLookBits))];
      if (run == 0) goto longCode;
      {
        // The whole run when it stays inside the block, else its first code (a
        // block whose last coefficient is set has no end code).
        std::uint32_t use = run & 0xFFFF;
        if (__builtin_expect(k + static_cast<int>((use >> 5) & 127) >= 64, 0)) use = run >> 16;
        in.drop(static_cast<int>(use & 31));
        if (use & (1u << 12)) return true;
        k += static_cast<int>((use >> 5) & 127);
        if (k >= 64) return true;
      }
    }
    continue;
  longCode:
    in.refill();
    const int rs = decodeSymbol(in.bits(), ac, length);
    if (rs < 0) return false;
    in.drop(length + (rs & 15));
    const int move = moveOf(rs);
    if (move == 0) return true;
    k += move;
    if (k >= 64) return true;
  }
}

// The 1 × 1 inverse transform: the dequantised DC value descaled by 3 and
// taken through the library's post-transform range table.
inline std::uint8_t dcSample(int dc, int quant) {
  const int value = (dc * quant + 4) >> 3;
  const int index = value & 1023;
  if (index < 128) return static_cast<std::uint8_t>(index + 128);
  if (index < 512) return 255;
  if (index < 896) return 0;
  return static_cast<std::uint8_t>(index - 896);
}

struct ColourTables {
  std::array<int, 256> crR{}, cbB{}, crG{}, cbG{};
  ColourTables() {
    constexpr int kScale = 16;
    constexpr long long kHalf = 1LL << (kScale - 1);
    auto fix = [](double x) { return static_cast<long long>(x * (1LL << kScale) + 0.5); };
    for (int i = 0; i < 256; ++i) {
      const long long x = i - 128;
      crR[static_cast<std::size_t>(i)] = static_cast<int>((fix(1.40200) * x + kHalf) >> kScale);
      cbB[static_cast<std::size_t>(i)] = static_cast<int>((fix(1.77200) * x + kHalf) >> kScale);
      crG[static_cast<std::size_t>(i)] = static_cast<int>(-fix(0.71414) * x);
      cbG[static_cast<std::size_t>(i)] = static_cast<int>(-fix(0.34414) * x + kHalf);
    }
  }
};

inline std::uint8_t clampSample(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

}  // namespace

bool decodeJpegEighth(const std::uint8_t* data, std::size_t size, EighthImage& out) {
  const std::uint8_t* p = data;
  const std::uint8_t* const end = data + size;
  if (size < 4 || p[0] != 0xFF || p[1] != 0xD8) return false;
  p += 2;

  std::array<int, 4> quantDc{};
  std::array<bool, 4> quantDefined{};
  std::array<HuffmanTable, 4> dcTables, acTables;
  std::vector<Component> components;
  int width = 0, height = 0, restartInterval = 0;
  bool frameSeen = false, sawJfif = false, sawAdobe = false;
  int adobeTransform = -1;

  for (;;) {
    // The next marker, after any fill bytes.
    if (p >= end || *p != 0xFF) return false;
    while (p < end && *p == 0xFF) ++p;
    if (p >= end) return false;
    const int marker = *p++;
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;
    if (marker == 0xD9) return false;  // the image ended before its scan
    if (end - p < 2) return false;
    const int length = read16(p);
    if (length < 2 || end - p < length) return false;
    const std::uint8_t* segment = p + 2;
    const int segmentLength = length - 2;
    p += length;

    switch (marker) {
      case 0xC0:
      case 0xC1: {
        if (frameSeen || segmentLength < 6 || segment[0] != 8) return false;
        height = read16(segment + 1);
        width = read16(segment + 3);
        const int count = segment[5];
        if (width == 0 || height == 0 || (count != 1 && count != 3) || segmentLength < 6 + 3 * count) return false;
        for (int c = 0; c < count; ++c) {
          Component component;
          component.id = segment[6 + 3 * c];
          component.h = segment[7 + 3 * c] >> 4;
          component.v = segment[7 + 3 * c] & 15;
          component.quant = segment[8 + 3 * c];
          if (component.quant > 3) return false;
          components.push_back(component);
        }
        if (count == 3) {
          if (components[0].h < 1 || components[0].h > 2 || components[0].v < 1 || components[0].v > 2) return false;
          for (int c = 1; c < 3; ++c)
            if (components[static_cast<std::size_t>(c)].h != 1 || components[static_cast<std::size_t>(c)].v != 1)
              return false;
        }
        frameSeen = true;
        break;
      }
      case 0xC4: {
        const std::uint8_t* q = segment;
        const std::uint8_t* const qEnd = segment + segmentLength;
        while (q < qEnd) {
          if (qEnd - q < 17) return false;
          const int tableClass = *q >> 4, id = *q & 15;
          if (tableClass > 1 || id > 3) return false;
          int total = 0;
          for (int i = 1; i <= 16; ++i) total += q[i];
          if (total > 256 || qEnd - q < 17 + total) return false;
          HuffmanTable& table = (tableClass == 0 ? dcTables : acTables)[static_cast<std::size_t>(id)];
          if (!buildTable(table, q + 1, q + 17, total)) return false;
          q += 17 + total;
        }
        break;
      }
      case 0xDB: {
        const std::uint8_t* q = segment;
        const std::uint8_t* const qEnd = segment + segmentLength;
        while (q < qEnd) {
          const int precision = *q >> 4, id = *q & 15;
          if (precision > 1 || id > 3) return false;
          const int bytes = precision == 0 ? 64 : 128;
          if (qEnd - q < 1 + bytes) return false;
          quantDc[static_cast<std::size_t>(id)] = precision == 0 ? q[1] : read16(q + 1);
          quantDefined[static_cast<std::size_t>(id)] = true;
          q += 1 + bytes;
        }
        break;
      }
      case 0xDD:
        if (segmentLength < 2) return false;
        restartInterval = read16(segment);
        break;
      case 0xE0:
        if (segmentLength >= 5 && std::memcmp(segment, "JFIF\0", 5) == 0) sawJfif = true;
        break;
      case 0xEE:
        if (segmentLength >= 12 && std::memcmp(segment, "Adobe", 5) == 0) {
          sawAdobe = true;
          adobeTransform = segment[11];
        }
        break;
      case 0xDA: {
        if (!frameSeen || segmentLength < 1) return false;
        const int count = segment[0];
        if (count != static_cast<int>(components.size()) || segmentLength < 4 + 2 * count) return false;
        for (int c = 0; c < count; ++c) {
          Component& component = components[static_cast<std::size_t>(c)];
          if (segment[1 + 2 * c] != component.id) return false;
          component.dcTable = segment[2 + 2 * c] >> 4;
          component.acTable = segment[2 + 2 * c] & 15;
          if (component.dcTable > 3 || component.acTable > 3 ||
              !dcTables[static_cast<std::size_t>(component.dcTable)].defined ||
              !acTables[static_cast<std::size_t>(component.acTable)].defined ||
              !quantDefined[static_cast<std::size_t>(component.quant)])
            return false;
        }
        // Spectral selection 0 … 63 and no successive approximation: a baseline scan.
        if (segment[1 + 2 * count] != 0 || segment[2 + 2 * count] != 63 || segment[3 + 2 * count] != 0) return false;
        // Three components are YCbCr unless the file says RGB, as the library reads them.
        if (count == 3) {
          bool rgb = false;
          if (!sawJfif && sawAdobe)
            rgb = adobeTransform == 0;
          else if (!sawJfif && !sawAdobe)
            rgb = components[0].id == 'R' && components[1].id == 'G' && components[2].id == 'B';
          if (rgb) return false;
        }
        goto scan;
      }
      default:
        if (marker >= 0xC2 && marker <= 0xCF) return false;  // progressive, lossless, arithmetic
        break;
    }
  }

scan:
  const int hMax = components.size() == 3 ? components[0].h : 1;
  const int vMax = components.size() == 3 ? components[0].v : 1;
  if (components.size() == 1) components[0].h = components[0].v = 1;
  const int mcusWide = (width + 8 * hMax - 1) / (8 * hMax);
  const int mcusHigh = (height + 8 * vMax - 1) / (8 * vMax);
  for (Component& component : components) {
    component.blocksWide = mcusWide * component.h;
    component.blocksHigh = mcusHigh * component.v;
    component.plane.assign(static_cast<std::size_t>(component.blocksWide) * component.blocksHigh, 0);
  }

  ScanData scanData;
  unstuff(p, end, scanData);
  BitReader in(scanData);
  std::array<int, 3> predictors{};
  int restartsLeft = restartInterval;
  std::size_t restartIndex = 0;
  for (int my = 0; my < mcusHigh; ++my) {
    for (int mx = 0; mx < mcusWide; ++mx) {
      if (restartInterval != 0) {
        if (restartsLeft == 0) {
          // The interval's data must have ended where its marker stands.
          if (restartIndex >= scanData.restarts.size() ||
              scanData.restartNumbers[restartIndex] != static_cast<int>(restartIndex & 7) || in.overran())
            return false;
          in.seekByte(scanData.restarts[restartIndex++]);
          restartsLeft = restartInterval;
          predictors = {};
        }
        --restartsLeft;
      }
      for (std::size_t c = 0; c < components.size(); ++c) {
        Component& component = components[c];
        const HuffmanTable& dc = dcTables[static_cast<std::size_t>(component.dcTable)];
        const HuffmanTable& ac = acTables[static_cast<std::size_t>(component.acTable)];
        const int quant = quantDc[static_cast<std::size_t>(component.quant)];
        for (int by = 0; by < component.v; ++by) {
          std::uint8_t* row = component.plane.data() +
                              static_cast<std::size_t>(my * component.v + by) * component.blocksWide +
                              static_cast<std::size_t>(mx * component.h);
          for (int bx = 0; bx < component.h; ++bx) {
            if (!decodeBlock(in, dc, ac, predictors[c])) return false;
            // The library keeps a coefficient in 16 bits.
            row[bx] = dcSample(static_cast<std::int16_t>(predictors[c]), quant);
          }
        }
      }
    }
  }
  if (in.overran()) return false;

  out.width = (width + 7) / 8;
  out.height = (height + 7) / 8;
  out.channels = components.size() == 3 ? 3 : 1;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * out.channels);
  if (out.channels == 1) {
    for (int y = 0; y < out.height; ++y)
      std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * out.width,
                  components[0].plane.data() + static_cast<std::size_t>(y) * components[0].blocksWide,
                  static_cast<std::size_t>(out.width));
    return true;
  }
  static const ColourTables tables;
  const Component &luma = components[0], &cb = components[1], &cr = components[2];
  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* yRow = luma.plane.data() + static_cast<std::size_t>(y) * luma.blocksWide;
    const std::uint8_t* cbRow = cb.plane.data() + static_cast<std::size_t>(y / vMax) * cb.blocksWide;
    const std::uint8_t* crRow = cr.plane.data() + static_cast<std::size_t>(y / vMax) * cr.blocksWide;
    std::uint8_t* o = out.pixels.data() + static_cast<std::size_t>(y) * out.width * 3;
    for (int x = 0; x < out.width; ++x, o += 3) {
      const int yy = yRow[x];
      const std::size_t cbv = cbRow[x / hMax], crv = crRow[x / hMax];
      o[0] = clampSample(yy + tables.crR[crv]);
      o[1] = clampSample(yy + ((tables.cbG[cbv] + tables.crG[crv]) >> 16));
      o[2] = clampSample(yy + tables.cbB[cbv]);
    }
  }
  return true;
}

}  // namespace screen
