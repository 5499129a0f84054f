#include "crypto/des.h"

#include <bit>
#include <cstddef>

// The published tables are kept as data. The block function does not walk them bit by bit:
// it works on two 32-bit halves, does the initial and final permutations with the usual
// masked bit swaps, and merges each S-box with the permutation P into one lookup table.
// Compile-time checks below prove these fast forms equal the tables.

namespace crypto {
namespace {

using Table64 = std::array<std::uint8_t, 64>;

constexpr Table64 kInitialPermutation = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                         62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                         57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                         61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr Table64 kFinalPermutation = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                                       38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                                       36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                                       34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr std::array<std::uint8_t, 48> kExpansion = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                                                     12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                                                     22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

constexpr std::array<std::uint8_t, 32> kPermutation = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                                       2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::array<std::uint8_t, 56> kPermutedChoice1 = {
    57, 49, 41, 33, 25, 17, 9,  1, 58, 50, 42, 34, 26, 18, 10, 2, 59, 51, 43, 35, 27, 19, 11, 3, 60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7, 62, 54, 46, 38, 30, 22, 14, 6, 61, 53, 45, 37, 29, 21, 13, 5, 28, 20, 12, 4};

constexpr std::array<std::uint8_t, 48> kPermutedChoice2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::array<std::uint8_t, 16> kLeftShifts = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// kSBoxes[box][row][column]
constexpr std::uint8_t kSBoxes[8][4][16] = {{{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
                                             {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
                                             {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
                                             {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
                                            {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
                                             {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
                                             {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
                                             {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
                                            {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
                                             {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
                                             {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
                                             {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
                                            {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
                                             {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
                                             {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
                                             {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
                                            {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
                                             {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
                                             {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
                                             {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
                                            {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
                                             {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
                                             {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
                                             {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
                                            {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
                                             {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
                                             {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
                                             {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
                                            {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
                                             {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
                                             {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
                                             {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

// Bit n (1 = most significant) of a word of `width` bits.
constexpr std::uint64_t Bit(std::uint64_t word, unsigned width, unsigned n) { return (word >> (width - n)) & 1U; }

// Output bit i of the result is input bit table[i-1].
template <std::size_t N>
constexpr std::uint64_t Permute(std::uint64_t input, unsigned inputWidth, const std::array<std::uint8_t, N>& table) {
  std::uint64_t out = 0;
  for (std::uint8_t source : table) out = (out << 1) | Bit(input, inputWidth, source);
  return out;
}

// The two halves while the rounds run. Both are kept rotated left by one bit, so that every
// 6-bit group of the expansion E is a plain shift away (see RoundFunction).
struct Halves {
  std::uint32_t left;
  std::uint32_t right;
};

// Swaps the bits of a selected by mask m, shifted right by n, with the bits of b under m.
constexpr void SwapBits(std::uint32_t& a, std::uint32_t& b, unsigned n, std::uint32_t m) {
  const std::uint32_t t = ((a >> n) ^ b) & m;
  b ^= t;
  a ^= t << n;
}

constexpr Halves InitialPermutation(std::uint32_t left, std::uint32_t right) {
  SwapBits(left, right, 4, 0x0f0f0f0fU);
  SwapBits(left, right, 16, 0x0000ffffU);
  SwapBits(right, left, 2, 0x33333333U);
  SwapBits(right, left, 8, 0x00ff00ffU);
  right = std::rotl(right, 1);
  const std::uint32_t t = (left ^ right) & 0xaaaaaaaaU;
  left ^= t;
  right ^= t;
  left = std::rotl(left, 1);
  return {left, right};
}

// Takes the rotated halves before the output swap (left: L16, right: R16) and gives the
// output words, R16 L16 through the final permutation.
constexpr Halves FinalPermutation(Halves h) {
  std::uint32_t high = std::rotr(h.right, 1);
  std::uint32_t low = h.left;
  const std::uint32_t t = (low ^ high) & 0xaaaaaaaaU;
  low ^= t;
  high ^= t;
  low = std::rotr(low, 1);
  SwapBits(low, high, 8, 0x00ff00ffU);
  SwapBits(low, high, 2, 0x33333333U);
  SwapBits(high, low, 16, 0x0000ffffU);
  SwapBits(high, low, 4, 0x0f0f0f0fU);
  return {high, low};
}

// The rotated half's group g (1..8) of the expansion E, as the round function extracts it:
// odd groups from the half rotated right by four more bits, even groups straight.
constexpr unsigned ExpansionGroup(std::uint32_t rotatedHalf, unsigned g) {
  const unsigned shift = 8 * (3 - (g - 1) / 2);
  const std::uint32_t word = (g % 2 == 1) ? std::rotr(rotatedHalf, 4) : rotatedHalf;
  return (word >> shift) & 0x3fU;
}

using SpTables = std::array<std::array<std::uint32_t, 64>, 8>;

// S-box b and P merged, indexed by the box's 6-bit input; the output is rotated like the halves.
constexpr SpTables MakeSpTables() {
  SpTables sp{};
  for (unsigned box = 0; box < 8; ++box) {
    for (unsigned input = 0; input < 64; ++input) {
      const unsigned row = ((input >> 4) & 2U) | (input & 1U);
      const unsigned column = (input >> 1) & 0xfU;
      const std::uint32_t sOut = std::uint32_t{kSBoxes[box][row][column]} << (28 - 4 * box);
      const auto p = static_cast<std::uint32_t>(Permute(sOut, 32, kPermutation));
      sp[box][input] = std::rotl(p, 1);
    }
  }
  return sp;
}

constexpr SpTables kSp = MakeSpTables();

inline std::uint32_t RoundFunction(std::uint32_t rotatedHalf, std::uint64_t subkey) {
  const std::uint32_t odd = std::rotr(rotatedHalf, 4) ^ static_cast<std::uint32_t>(subkey >> 32);
  const std::uint32_t even = rotatedHalf ^ static_cast<std::uint32_t>(subkey);
  return kSp[0][(odd >> 24) & 0x3f] | kSp[2][(odd >> 16) & 0x3f] | kSp[4][(odd >> 8) & 0x3f] | kSp[6][odd & 0x3f] |
         kSp[1][(even >> 24) & 0x3f] | kSp[3][(even >> 16) & 0x3f] | kSp[5][(even >> 8) & 0x3f] | kSp[7][even & 0x3f];
}

// --- Compile-time proofs that the fast forms are the published tables ---

constexpr bool SBoxRowsArePermutations() {
  for (const auto& box : kSBoxes) {
    for (const auto& row : box) {
      unsigned seen = 0;
      for (std::uint8_t v : row) seen |= 1U << v;
      if (seen != 0xffffU) return false;
    }
  }
  return true;
}

constexpr std::uint64_t Join(std::uint32_t high, std::uint32_t low) { return (std::uint64_t{high} << 32) | low; }

constexpr bool SwapsMatchInitialPermutation() {
  for (unsigned n = 1; n <= 64; ++n) {
    const std::uint64_t in = std::uint64_t{1} << (64 - n);
    const Halves h = InitialPermutation(static_cast<std::uint32_t>(in >> 32), static_cast<std::uint32_t>(in));
    if (Join(std::rotr(h.left, 1), std::rotr(h.right, 1)) != Permute(in, 64, kInitialPermutation)) return false;
  }
  return true;
}

constexpr bool SwapsMatchFinalPermutation() {
  for (unsigned n = 1; n <= 64; ++n) {
    const std::uint64_t in = std::uint64_t{1} << (64 - n);  // the preoutput R16 L16
    const auto r16 = static_cast<std::uint32_t>(in >> 32);
    const auto l16 = static_cast<std::uint32_t>(in);
    const Halves out = FinalPermutation({std::rotl(l16, 1), std::rotl(r16, 1)});
    if (Join(out.left, out.right) != Permute(in, 64, kFinalPermutation)) return false;
  }
  return true;
}

constexpr bool GroupsMatchExpansion() {
  for (unsigned n = 1; n <= 32; ++n) {
    const std::uint32_t half = std::uint32_t{1} << (32 - n);
    const std::uint64_t expanded = Permute(half, 32, kExpansion);
    for (unsigned g = 1; g <= 8; ++g) {
      if (ExpansionGroup(std::rotl(half, 1), g) != ((expanded >> (48 - 6 * g)) & 0x3fU)) return false;
    }
  }
  return true;
}

static_assert(SBoxRowsArePermutations());
static_assert(SwapsMatchInitialPermutation());
static_assert(SwapsMatchFinalPermutation());
static_assert(GroupsMatchExpansion());

constexpr std::uint32_t Rotate28(std::uint32_t half, unsigned n) {
  return ((half << n) | (half >> (28 - n))) & 0x0fffffffU;
}

// A 48-bit subkey packed the way RoundFunction applies it: high word groups 1,3,5,7,
// low word groups 2,4,6,8, one group in the low six bits of each byte.
constexpr std::uint64_t PackSubkey(std::uint64_t k48) {
  std::uint32_t odd = 0;
  std::uint32_t even = 0;
  for (unsigned g = 1; g <= 8; ++g) {
    const auto group = static_cast<std::uint32_t>((k48 >> (48 - 6 * g)) & 0x3fU);
    const unsigned shift = 8 * (3 - (g - 1) / 2);
    (g % 2 == 1 ? odd : even) |= group << shift;
  }
  return Join(odd, even);
}

// PC2 followed by PackSubkey, one table per byte of the 56-bit C||D word (byte 0 holds its
// top 8 bits): both only move bits, so the subkey is the OR of the seven lookups.
using SubkeyTables = std::array<std::array<std::uint64_t, 256>, 7>;

constexpr SubkeyTables MakeSubkeyTables() {
  SubkeyTables tables{};
  for (unsigned byte = 0; byte < 7; ++byte) {
    for (unsigned value = 0; value < 256; ++value) {
      const std::uint64_t cd = std::uint64_t{value} << (48 - 8 * byte);
      tables[byte][value] = PackSubkey(Permute(cd, 56, kPermutedChoice2));
    }
  }
  return tables;
}

constexpr SubkeyTables kSubkeyTables = MakeSubkeyTables();

}  // namespace

Subkeys MakeSubkeys(const KeyBlock& key, bool encrypt) {
  std::uint64_t keyWord = 0;
  for (std::uint8_t byte : key) keyWord = (keyWord << 8) | byte;
  const std::uint64_t cd = Permute(keyWord, 64, kPermutedChoice1);
  auto c = static_cast<std::uint32_t>(cd >> 28);
  auto d = static_cast<std::uint32_t>(cd & 0x0fffffffU);

  Subkeys subkeys;
  for (std::size_t r = 0; r < 16; ++r) {
    c = Rotate28(c, kLeftShifts[r]);
    d = Rotate28(d, kLeftShifts[r]);
    const std::uint64_t cdWord = (std::uint64_t{c} << 28) | d;
    std::uint64_t packed = 0;
    for (unsigned byte = 0; byte < 7; ++byte) packed |= kSubkeyTables[byte][(cdWord >> (48 - 8 * byte)) & 0xff];
    subkeys.round[encrypt ? r : 15 - r] = packed;
  }
  return subkeys;
}

Block CryptBlock(const Subkeys& subkeys, const Block& block) {
  auto load = [&](std::size_t at) {
    return (std::uint32_t{block[at]} << 24) | (std::uint32_t{block[at + 1]} << 16) |
           (std::uint32_t{block[at + 2]} << 8) | std::uint32_t{block[at + 3]};
  };
  Halves h = InitialPermutation(load(0), load(4));
  for (std::size_t r = 0; r < 16; r += 2) {
    h.left ^= RoundFunction(h.right, subkeys.round[r]);
    h.right ^= RoundFunction(h.left, subkeys.round[r + 1]);
  }
  // After an even number of in-place rounds `left` holds L16 and `right` holds R16.
  const Halves out = FinalPermutation(h);

  Block result;
  for (std::size_t i = 0; i < 4; ++i) {
    result[i] = static_cast<std::uint8_t>(out.left >> (24 - 8 * i));
    result[4 + i] = static_cast<std::uint8_t>(out.right >> (24 - 8 * i));
  }
  return result;
}

}  // namespace crypto
