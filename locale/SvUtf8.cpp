#include "locale/SvUtf8.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define SV_UTF8_X86 1
#include <immintrin.h>
#endif

namespace sv {

namespace {

// Units converted into one stack block before it is appended to the caller's string:
// at most three bytes a unit, plus a pair that ends past the block and the 16 bytes
// a vector store may write beyond its valid bytes.
constexpr std::size_t kBlockUnits = 2048;
constexpr std::size_t kBlockBytes = 3 * kBlockUnits + 4 + 32;

bool IsSurrogate(char16_t c) {
  return (c & 0xF800) == 0xD800;
}

// Converts s[i] to s[stop] (and the low half of a pair that starts at stop - 1, up to
// n) to out[o...]; answers the next unit. With WithStops, ends early at a stop and
// answers its index.
template <bool WithStops>
inline __attribute__((always_inline)) std::size_t
ConvertScalarUntil(const char16_t* s, std::size_t i, std::size_t stop, std::size_t n,
                   std::uint8_t* out, std::size_t& o, const TSvUtf8Stops& stops) {
  while (i < stop) {
    const unsigned c = s[i];
    if (c < 0x80) {
      if (WithStops && stops.IsAsciiStop(static_cast<char16_t>(c)))
        return i;
      out[o++] = static_cast<std::uint8_t>(c);
      ++i;
    } else if (c < 0x800) {
      out[o++] = static_cast<std::uint8_t>(0xC0 | (c >> 6));
      out[o++] = static_cast<std::uint8_t>(0x80 | (c & 0x3F));
      ++i;
    } else if (!IsSurrogate(static_cast<char16_t>(c))) {
      if (WithStops && c >= 0xFFFE)
        return i;
      out[o++] = static_cast<std::uint8_t>(0xE0 | (c >> 12));
      out[o++] = static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F));
      out[o++] = static_cast<std::uint8_t>(0x80 | (c & 0x3F));
      ++i;
    } else if (c <= 0xDBFF && i + 1 < n && (s[i + 1] & 0xFC00) == 0xDC00) {
      const unsigned cp = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
      out[o++] = static_cast<std::uint8_t>(0xF0 | (cp >> 18));
      out[o++] = static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F));
      out[o++] = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
      out[o++] = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
      i += 2;
    } else {
      // Half of no pair: U+FFFD.
      if (WithStops)
        return i;
      out[o++] = 0xEF;
      out[o++] = 0xBF;
      out[o++] = 0xBD;
      ++i;
    }
  }
  return i;
}

constexpr TSvUtf8Stops kNoStops;

inline __attribute__((always_inline)) std::size_t ConvertScalar(const char16_t* s, std::size_t i,
                                                                std::size_t stop, std::size_t n,
                                                                std::uint8_t* out, std::size_t& o) {
  return ConvertScalarUntil<false>(s, i, stop, n, out, o, kNoStops);
}

using TBlockKernel = std::size_t (*)(const char16_t* s, std::size_t i, std::size_t stop,
                                     std::size_t n, std::uint8_t* out, std::size_t& o);

// WriteUtf8Until for the n units at s.
using TStopKernel = char* (*)(const char16_t* s, std::size_t n, const TSvUtf8Stops& stops,
                              char* out, std::size_t& consumed);

// Without AVX2: the scalar loop, which looks at each unit.
char* ConvertScalarStopping(const char16_t* s, std::size_t n, const TSvUtf8Stops& stops,
                            char* out, std::size_t& consumed) {
  std::size_t o = 0;
  consumed = ConvertScalarUntil<true>(s, 0, n, n, reinterpret_cast<std::uint8_t*>(out), o, stops);
  return out + o;
}

#ifdef SV_UTF8_X86

// SSE2: sixteen ASCII units at a time; a block of sixteen with another unit goes
// through the scalar loop.
std::size_t ConvertSse2(const char16_t* s, std::size_t i, std::size_t stop, std::size_t n,
                        std::uint8_t* out, std::size_t& o) {
  const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (i + 16 <= stop) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
    const __m128i high = _mm_and_si128(_mm_or_si128(a, b), notAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), _mm_packus_epi16(a, b));
      o += 16;
      i += 16;
    } else {
      i = ConvertScalar(s, i, i + 16, n, out, o);
    }
  }
  if (i + 8 <= stop) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(a, notAscii), _mm_setzero_si128())) ==
        0xFFFF) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o), _mm_packus_epi16(a, a));
      o += 8;
      i += 8;
    }
  }
  return ConvertScalar(s, i, stop, n, out, o);
}

// The shuffles of the AVX2 path: which bytes of the spread units are kept, and how
// many. Two-byte table: eight 16-bit units, bit k of the index set when unit k is
// ASCII (one byte) rather than two bytes. Three-byte table: four 32-bit units, bit k
// set when unit k is ASCII, bit 4 + k when it is below U+0800.
struct TShuffle {
  alignas(16) std::uint8_t Bytes[16];
  std::uint8_t Length;
};

constexpr std::array<TShuffle, 256> MakeTwoByteTable() {
  std::array<TShuffle, 256> table{};
  for (unsigned mask = 0; mask < 256; ++mask) {
    TShuffle& entry = table[mask];
    std::uint8_t length = 0;
    for (unsigned k = 0; k < 8; ++k) {
      entry.Bytes[length++] = static_cast<std::uint8_t>(2 * k);
      if (!(mask & (1u << k)))
        entry.Bytes[length++] = static_cast<std::uint8_t>(2 * k + 1);
    }
    for (unsigned k = length; k < 16; ++k)
      entry.Bytes[k] = 0x80;
    entry.Length = length;
  }
  return table;
}

constexpr std::array<TShuffle, 256> MakeThreeByteTable() {
  std::array<TShuffle, 256> table{};
  for (unsigned mask = 0; mask < 256; ++mask) {
    TShuffle& entry = table[mask];
    std::uint8_t length = 0;
    for (unsigned k = 0; k < 4; ++k) {
      const bool ascii = mask & (1u << k);
      const bool belowTwoByteEnd = mask & (1u << (4 + k));
      const unsigned bytes = ascii ? 1 : belowTwoByteEnd ? 2 : 3;
      for (unsigned b = 0; b < bytes; ++b)
        entry.Bytes[length++] = static_cast<std::uint8_t>(4 * k + b);
    }
    for (unsigned k = length; k < 16; ++k)
      entry.Bytes[k] = 0x80;
    entry.Length = length;
  }
  return table;
}

constexpr std::array<TShuffle, 256> kTwoByteTable = MakeTwoByteTable();
constexpr std::array<TShuffle, 256> kThreeByteTable = MakeThreeByteTable();

// Four units below U+D800 or above U+DFFF, each in a 32-bit lane, as UTF-8.
__attribute__((target("avx2"), always_inline)) inline void
FourUnitsAvx2(__m128i u, std::uint8_t* out, std::size_t& o) {
  const __m128i mask3F = _mm_set1_epi32(0x3F);
  const __m128i trail = _mm_set1_epi32(0x80);
  const __m128i low6 = _mm_or_si128(_mm_and_si128(u, mask3F), trail);
  const __m128i mid6 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(u, 6), mask3F), trail);
  const __m128i three =
      _mm_or_si128(_mm_or_si128(_mm_set1_epi32(0xE0), _mm_srli_epi32(u, 12)),
                   _mm_or_si128(_mm_slli_epi32(mid6, 8), _mm_slli_epi32(low6, 16)));
  const __m128i two = _mm_or_si128(_mm_or_si128(_mm_set1_epi32(0xC0), _mm_srli_epi32(u, 6)),
                                   _mm_slli_epi32(low6, 8));
  const __m128i ascii = _mm_cmpeq_epi32(_mm_and_si128(u, _mm_set1_epi32(0xFF80)),
                                        _mm_setzero_si128());
  const __m128i belowTwoByteEnd = _mm_cmpeq_epi32(_mm_and_si128(u, _mm_set1_epi32(0xF800)),
                                                  _mm_setzero_si128());
  const __m128i spread =
      _mm_blendv_epi8(_mm_blendv_epi8(three, two, belowTwoByteEnd), u, ascii);
  const unsigned index =
      static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(ascii))) |
      static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(belowTwoByteEnd))) << 4;
  const TShuffle& entry = kThreeByteTable[index];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o),
                   _mm_shuffle_epi8(spread, _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                entry.Bytes))));
  o += entry.Length;
}

// Eight units as four surrogate pairs, each high half at an even unit, as UTF-8;
// false, with nothing written, when they are not.
__attribute__((target("avx2"), always_inline)) inline bool
FourPairsAvx2(__m128i x, std::uint8_t* out, std::size_t& o) {
  // Each 32-bit lane: the high half below, the low half above.
  const __m128i halves = _mm_and_si128(x, _mm_set1_epi16(static_cast<short>(0xFC00)));
  const __m128i expected = _mm_set1_epi32(static_cast<int>(0xDC00D800u));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(halves, expected)) != 0xFFFF)
    return false;
  const __m128i high = _mm_and_si128(x, _mm_set1_epi32(0x3FF));
  const __m128i low = _mm_and_si128(_mm_srli_epi32(x, 16), _mm_set1_epi32(0x3FF));
  const __m128i cp =
      _mm_add_epi32(_mm_or_si128(_mm_slli_epi32(high, 10), low), _mm_set1_epi32(0x10000));
  const __m128i mask3F = _mm_set1_epi32(0x3F);
  const __m128i lead =
      _mm_or_si128(_mm_srli_epi32(cp, 18), _mm_set1_epi32(static_cast<int>(0x808080F0u)));
  const __m128i bytes = _mm_or_si128(
      _mm_or_si128(lead, _mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(cp, 12), mask3F), 8)),
      _mm_or_si128(_mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(cp, 6), mask3F), 16),
                   _mm_slli_epi32(_mm_and_si128(cp, mask3F), 24)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), bytes);
  o += 16;
  return true;
}

// Eight units without surrogates as UTF-8.
__attribute__((target("avx2"), always_inline)) inline void
EightUnitsAvx2(__m128i x, std::uint8_t* out, std::size_t& o) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i over2 = _mm_and_si128(x, _mm_set1_epi16(static_cast<short>(0xF800)));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(over2, zero)) == 0xFFFF) {
    // One or two bytes each: lead byte low, trail byte high in the unit's lane.
    const __m128i ascii =
        _mm_cmpeq_epi16(_mm_and_si128(x, _mm_set1_epi16(static_cast<short>(0xFF80))), zero);
    const __m128i lead = _mm_or_si128(_mm_srli_epi16(x, 6), _mm_set1_epi16(0xC0));
    const __m128i trail =
        _mm_slli_epi16(_mm_or_si128(_mm_and_si128(x, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80)),
                       8);
    const __m128i spread = _mm_blendv_epi8(_mm_or_si128(lead, trail), x, ascii);
    const unsigned index =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(ascii, zero))) & 0xFF;
    const TShuffle& entry = kTwoByteTable[index];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o),
                     _mm_shuffle_epi8(spread, _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                  entry.Bytes))));
    o += entry.Length;
    return;
  }
  FourUnitsAvx2(_mm_cvtepu16_epi32(x), out, o);
  FourUnitsAvx2(_mm_cvtepu16_epi32(_mm_srli_si128(x, 8)), out, o);
}

// Bit k set when byte k of bytes is an ASCII stop: the low nibble picks the row of
// stops.LowNibbles(), the high one the bit (none for bytes from 0x80 on).
__attribute__((target("avx2"), always_inline)) inline unsigned AsciiStopMask(__m128i bytes,
                                                                             __m128i lowNibbles) {
  const __m128i highBits = _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i low = _mm_shuffle_epi8(lowNibbles, _mm_and_si128(bytes, nibble));
  const __m128i high = _mm_shuffle_epi8(highBits, _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble));
  const __m128i none = _mm_cmpeq_epi8(_mm_and_si128(low, high), _mm_setzero_si128());
  return ~static_cast<unsigned>(_mm_movemask_epi8(none)) & 0xFFFF;
}

// Whether a unit of v is an ASCII stop (looked up as in AsciiStopMask, in both lanes of
// lowNibbles), a surrogate, U+FFFE or U+FFFF.
__attribute__((target("avx2"), always_inline)) inline bool HasStop(__m256i v, __m256i lowNibbles) {
  const __m256i highBits = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0, 1,
                                            2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  const __m256i low = _mm256_shuffle_epi8(lowNibbles, _mm256_and_si256(v, nibble));
  const __m256i high =
      _mm256_shuffle_epi8(highBits, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
  // The lookup holds for the low byte of an ASCII unit only.
  const __m256i ascii = _mm256_cmpeq_epi16(
      _mm256_and_si256(v, _mm256_set1_epi16(static_cast<short>(0xFF80))), _mm256_setzero_si256());
  const __m256i asciiStop =
      _mm256_and_si256(_mm256_and_si256(low, high), _mm256_srli_epi16(ascii, 8));
  // Surrogates, and U+FFFE and U+FFFF, which are all ones once the low bit is set.
  const __m256i surrogate =
      _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(static_cast<short>(0xF800))),
                         _mm256_set1_epi16(static_cast<short>(0xD800)));
  const __m256i last =
      _mm256_cmpeq_epi16(_mm256_or_si256(v, _mm256_set1_epi16(1)), _mm256_set1_epi16(-1));
  const __m256i any = _mm256_or_si256(asciiStop, _mm256_or_si256(surrogate, last));
  return !_mm256_testz_si256(any, any);
}

// HasStop for the r units at s (r below 16): two loads that overlap, of eight units or
// of four, neither past s[r - 1]; below four units one at a time.
__attribute__((target("avx2"), always_inline)) inline bool
TailHasStop(const char16_t* s, std::size_t r, const TSvUtf8Stops& stops, __m256i lowNibbles) {
  if (r >= 8)
    return HasStop(_mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(s + r - 8),
                                       reinterpret_cast<const __m128i*>(s)),
                   lowNibbles);
  if (r >= 4) {
    const __m128i x =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + r - 4)));
    return HasStop(_mm256_set_m128i(x, x), lowNibbles);
  }
  for (std::size_t k = 0; k < r; ++k)
    if (s[k] < 0x80 ? stops.IsAsciiStop(s[k]) : IsSurrogate(s[k]) || s[k] >= 0xFFFE)
      return true;
  return false;
}

// AVX2: sixteen units at a time; ASCII packed, other blocks spread and shuffled eight
// (or four) units at a time; a block with a surrogate goes through the scalar loop,
// which also finishes a pair that the block's end splits.
//
// With WithStops, each block is first looked up in stops: a block with a stop or a
// surrogate goes, but for four pairs, through the scalar loop, which ends at the stop
// (stops are rare).
template <bool WithStops>
__attribute__((target("avx2"))) std::size_t
ConvertAvx2Until(const char16_t* s, std::size_t i, std::size_t stop, std::size_t n,
                 std::uint8_t* out, std::size_t& o, const TSvUtf8Stops& stops) {
  const __m128i lowNibbles = _mm_load_si128(reinterpret_cast<const __m128i*>(stops.LowNibbles()));
  const __m256i lowNibbles2 = _mm256_broadcastsi128_si256(lowNibbles);
  const __m256i notAscii = _mm256_set1_epi16(static_cast<short>(0xFF80));
  const __m256i surrogateBits = _mm256_set1_epi16(static_cast<short>(0xF800));
  const __m256i surrogate = _mm256_set1_epi16(static_cast<short>(0xD800));
  while (i + 16 <= stop) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m128i a = _mm256_castsi256_si128(v);
    const __m128i b = _mm256_extracti128_si256(v, 1);
    if (_mm256_testz_si256(v, notAscii)) {
      const __m128i bytes = _mm_packus_epi16(a, b);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), bytes);
      if constexpr (WithStops) {
        if (const unsigned mask = AsciiStopMask(bytes, lowNibbles)) {
          const unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
          o += k;
          return i + k;
        }
      }
      o += 16;
      i += 16;
      continue;
    }
    if constexpr (WithStops) {
      if (HasStop(v, lowNibbles2)) {
        if (FourPairsAvx2(a, out, o)) {
          i += 8;
          continue;
        }
        const std::size_t end = i + 8;
        i = ConvertScalarUntil<true>(s, i, end, n, out, o, stops);
        if (i < end)
          return i;
        continue;
      }
    } else {
      const __m256i isSurrogate = _mm256_cmpeq_epi16(_mm256_and_si256(v, surrogateBits), surrogate);
      if (!_mm256_testz_si256(isSurrogate, isSurrogate)) {
        // Runs of pairs (emoji) in vectors, anything else with a surrogate in the loop.
        if (FourPairsAvx2(a, out, o)) {
          i += 8;
          if (FourPairsAvx2(b, out, o))
            i += 8;
        } else {
          i = ConvertScalar(s, i, i + 8, n, out, o);
        }
        continue;
      }
    }
    EightUnitsAvx2(a, out, o);
    EightUnitsAvx2(b, out, o);
    i += 16;
  }
  if constexpr (WithStops) {
    // The tail is looked up at once: without a stop or a surrogate it is converted
    // as usual, else by the scalar loop.
    if (TailHasStop(s + i, stop - i, stops, lowNibbles2))
      return ConvertScalarUntil<true>(s, i, stop, n, out, o, stops);
  }
  // The tail of a short text: eight units, then four, then the scalar loop; no load
  // reaches past stop.
  const __m128i surrogateBits8 = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i surrogate8 = _mm_set1_epi16(static_cast<short>(0xD800));
  if (i + 8 <= stop) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i isSurrogate = _mm_cmpeq_epi16(_mm_and_si128(x, surrogateBits8), surrogate8);
    if (_mm_testz_si128(isSurrogate, isSurrogate)) {
      EightUnitsAvx2(x, out, o);
      i += 8;
    } else if (FourPairsAvx2(x, out, o)) {
      i += 8;
    } else {
      i = ConvertScalar(s, i, i + 8, n, out, o);
    }
  }
  if (i + 4 <= stop) {
    const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i));
    const __m128i isSurrogate = _mm_cmpeq_epi16(_mm_and_si128(x, surrogateBits8), surrogate8);
    if (_mm_testz_si128(isSurrogate, _mm_set_epi64x(0, -1))) {
      FourUnitsAvx2(_mm_cvtepu16_epi32(x), out, o);
      i += 4;
    }
  }
  return ConvertScalar(s, i, stop, n, out, o);
}

__attribute__((target("avx2"))) std::size_t ConvertAvx2(const char16_t* s, std::size_t i,
                                                        std::size_t stop, std::size_t n,
                                                        std::uint8_t* out, std::size_t& o) {
  return ConvertAvx2Until<false>(s, i, stop, n, out, o, kNoStops);
}

__attribute__((target("avx2"))) char* ConvertAvx2Stopping(const char16_t* s, std::size_t n,
                                                          const TSvUtf8Stops& stops, char* out,
                                                          std::size_t& consumed) {
  std::size_t o = 0;
  consumed = ConvertAvx2Until<true>(s, 0, n, n, reinterpret_cast<std::uint8_t*>(out), o, stops);
  return out + o;
}

bool HasAvx2() {
  return __builtin_cpu_supports("avx2");
}

#endif // SV_UTF8_X86

TBlockKernel KernelOf(TSvUtf8Path path) {
#ifdef SV_UTF8_X86
  if (path == TSvUtf8Path::Avx2)
    return ConvertAvx2;
  if (path == TSvUtf8Path::Sse2)
    return ConvertSse2;
#endif
  (void)path;
  return ConvertScalar;
}

TStopKernel StopKernelOf(TSvUtf8Path path) {
#ifdef SV_UTF8_X86
  if (path == TSvUtf8Path::Avx2)
    return ConvertAvx2Stopping;
#endif
  (void)path;
  return ConvertScalarStopping;
}

void AppendWith(TBlockKernel kernel, std::u16string_view text, std::string& out) {
  const char16_t* s = text.data();
  const std::size_t n = text.size();
  std::uint8_t block[kBlockBytes];
  std::size_t i = 0;
  while (i < n) {
    const std::size_t stop = n - i > kBlockUnits ? i + kBlockUnits : n;
    std::size_t o = 0;
    i = kernel(s, i, stop, n, block, o);
    out.append(reinterpret_cast<const char*>(block), o);
  }
}

} // namespace

bool IsUtf8PathAvailable(TSvUtf8Path path) {
  switch (path) {
  case TSvUtf8Path::Scalar:
    return true;
#ifdef SV_UTF8_X86
  case TSvUtf8Path::Sse2:
    return true;
  case TSvUtf8Path::Avx2:
    return HasAvx2();
#endif
  default:
    return false;
  }
}

TSvUtf8Path BestUtf8Path() {
  static const TSvUtf8Path best = IsUtf8PathAvailable(TSvUtf8Path::Avx2)   ? TSvUtf8Path::Avx2
                                  : IsUtf8PathAvailable(TSvUtf8Path::Sse2) ? TSvUtf8Path::Sse2
                                                                           : TSvUtf8Path::Scalar;
  return best;
}

void AppendUtf8(std::u16string_view text, std::string& out, TSvUtf8Path path) {
  AppendWith(KernelOf(path), text, out);
}

namespace {

TBlockKernel BestKernel() {
  static const TBlockKernel kernel = KernelOf(BestUtf8Path());
  return kernel;
}

} // namespace

void AppendUtf8(std::u16string_view text, std::string& out) {
  AppendWith(BestKernel(), text, out);
}

char* WriteUtf8(std::u16string_view text, char* out) {
  std::size_t o = 0;
  BestKernel()(text.data(), 0, text.size(), text.size(), reinterpret_cast<std::uint8_t*>(out), o);
  return out + o;
}

char* WriteUtf8Until(std::u16string_view text, const TSvUtf8Stops& stops, char* out,
                     std::size_t& consumed, TSvUtf8Path path) {
  return StopKernelOf(path)(text.data(), text.size(), stops, out, consumed);
}

namespace {

// The best stop kernel, found at the first call: a plain load and jump after it, as
// this runs once for every text exported.
char* FirstStopKernel(const char16_t* s, std::size_t n, const TSvUtf8Stops& stops, char* out,
                      std::size_t& consumed);
std::atomic<TStopKernel> gStopKernel{FirstStopKernel};

char* FirstStopKernel(const char16_t* s, std::size_t n, const TSvUtf8Stops& stops, char* out,
                      std::size_t& consumed) {
  const TStopKernel kernel = StopKernelOf(BestUtf8Path());
  gStopKernel.store(kernel, std::memory_order_relaxed);
  return kernel(s, n, stops, out, consumed);
}

} // namespace

char* WriteUtf8Until(std::u16string_view text, const TSvUtf8Stops& stops, char* out,
                     std::size_t& consumed) {
  return gStopKernel.load(std::memory_order_relaxed)(text.data(), text.size(), stops, out,
                                                     consumed);
}

bool HasLoneSurrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (!IsSurrogate(c))
      continue;
    if (c <= 0xDBFF && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00)
      ++i;
    else
      return true;
  }
  return false;
}

} // namespace sv
