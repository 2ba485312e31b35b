// The inner loops of the reader and the formatter: finding where a run of
// UTF-16 text ends. Eight units at a time where the processor has SSE2 (every
// x86-64 one, and 32-bit builds that ask for it), one at a time elsewhere and
// for the last few units; both ways give the same answer. KAVRELO_SCALAR_SCANS
// turns the blocks off, so that the tests can hold the two ways together.
#pragma once

#include <cstddef>

#if defined(__SSE2__) && !defined(KAVRELO_SCALAR_SCANS)
#define KAVRELO_SSE2_SCANS 1
#include <emmintrin.h>
#endif

namespace textscan {

#if defined(KAVRELO_SSE2_SCANS)
inline __m128i Load8(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
// The index of the first unit whose two mask bits are set.
inline std::ptrdiff_t FirstUnit(int mask) { return __builtin_ctz(static_cast<unsigned>(mask)) >> 1; }
#endif

// The first a or b in [p, end), else end.
inline const char16_t* FindEither(const char16_t* p, const char16_t* end, char16_t a, char16_t b) {
#if defined(KAVRELO_SSE2_SCANS)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  for (; end - p >= 8; p += 8) {
    const __m128i v = Load8(p);
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)));
    if (mask) return p + FirstUnit(mask);
  }
#endif
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

// Copies a run of text from [p, end) to d as collapsing whitespace leaves
// it: up to the first whitespace or control unit (all at or below U+0020),
// taking along each single U+0020 that stands between two units above it.
// p must point at a unit above U+0020. Returns where it stopped, d moved
// past the copy. d may point into the same buffer at or before p, or into
// one with end - p units of room: whole blocks of eight are stored before
// they are looked at, never past d + (end - p).
inline const char16_t* CopyUntilCollapsible(const char16_t* p, const char16_t* end, char16_t*& d) {
#if defined(KAVRELO_SSE2_SCANS)
  const __m128i space = _mm_set1_epi16(0x20);
  const __m128i zero = _mm_setzero_si128();
  for (; end - p >= 8; p += 8, d += 8) {
    const __m128i v = Load8(p);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
    // Two mask bits per unit. Unsigned: a unit at or below U+0020
    // saturates to zero.
    const int low = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(v, space), zero));
    if (!low) continue;
    const int spaces = _mm_movemask_epi8(_mm_cmpeq_epi16(v, space));
    // The unit before the block was copied, so it is above U+0020; past
    // the block's end a space's neighbour is read from the input, and the
    // end of the input counts as whitespace.
    const int lowBefore = (low << 2) & 0xFFFF;
    const int lowAfter = (low >> 2) | (end - p > 8 && p[8] > u' ' ? 0 : 0xC000);
    const int stops = low & ~(spaces & ~lowBefore & ~lowAfter);
    if (stops) {
      const std::ptrdiff_t k = FirstUnit(stops);
      d += k;
      return p + k;
    }
  }
#endif
  while (p < end) {
    if (*p > u' ') {
      *d++ = *p++;
    } else if (*p == u' ' && end - p >= 2 && p[1] > u' ') {
      *d++ = u' ';
      *d++ = p[1];
      p += 2;
    } else {
      break;
    }
  }
  return p;
}

}  // namespace textscan
