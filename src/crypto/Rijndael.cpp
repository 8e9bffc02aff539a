#include "crypto/Rijndael.h"

namespace veilbox {
namespace {

std::uint8_t Xtime(std::uint8_t p) {
  return static_cast<std::uint8_t>((p << 1) ^ ((p & 0x80) ? 0x1B : 0x00));
}

std::uint32_t Word(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  return a | (std::uint32_t{b} << 8) | (std::uint32_t{c} << 16) | (std::uint32_t{d} << 24);
}

std::uint32_t Load(const std::uint8_t* p) {
  return Word(p[0], p[1], p[2], p[3]);
}

void Store(std::uint32_t w, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(w);
  p[1] = static_cast<std::uint8_t>(w >> 8);
  p[2] = static_cast<std::uint8_t>(w >> 16);
  p[3] = static_cast<std::uint8_t>(w >> 24);
}

std::uint8_t Byte(std::uint32_t w, int n) {
  return static_cast<std::uint8_t>(w >> (8 * n));
}

}  // namespace

Rijndael::Rijndael() {
  // Powers of the generator 03h and their logarithms; only needed here.
  std::array<std::uint8_t, 256> ptab{};
  std::array<std::uint8_t, 256> ltab{};
  ptab[0] = 0x01;
  ptab[1] = 0x03;
  ltab[3] = 1;
  for (int i = 2; i < 256; ++i) {
    std::uint8_t p = ptab[i - 1];
    ptab[i] = p ^ Xtime(p);
    ltab[ptab[i]] = static_cast<std::uint8_t>(i);
  }

  // S-box: multiplicative inverse followed by the affine transform.
  Te4_[0] = 0x63636363;
  Td4_[0x63] = 0;
  for (int x = 1; x < 256; ++x) {
    std::uint8_t y = ptab[255 - ltab[x]];
    std::uint8_t b = y;
    for (int i = 0; i < 4; ++i) {
      b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
      y ^= b;
    }
    y ^= 0x63;
    Te4_[x] = y * 0x01010101u;
    Td4_[y] = x * 0x01010101u;
  }

  std::uint8_t r = 0x01;
  for (auto& c : rco_) {
    c = r;
    r = Xtime(r);
  }

  auto mul = [&](std::uint8_t c, std::uint8_t z) -> std::uint8_t {
    return z == 0 ? 0 : ptab[(ltab[c] + ltab[z]) % 255];
  };
  for (int x = 0; x < 256; ++x) {
    std::uint8_t y = Byte(Te4_[x], 0);
    std::uint8_t y2 = Xtime(y);
    std::uint8_t y3 = y2 ^ y;
    Te0_[x] = Word(y2, y, y, y3);
    Te1_[x] = Word(y3, y2, y, y);
    Te2_[x] = Word(y, y3, y2, y);
    Te3_[x] = Word(y, y, y3, y2);

    std::uint8_t z = Byte(Td4_[x], 0);
    std::uint8_t e = mul(0x0E, z), n = mul(0x09, z), d = mul(0x0D, z), b = mul(0x0B, z);
    Td0_[x] = Word(e, n, d, b);
    Td1_[x] = Word(b, e, n, d);
    Td2_[x] = Word(d, b, e, n);
    Td3_[x] = Word(n, d, b, e);
  }
}

void Rijndael::SetKey(const std::uint8_t* key, int key_words) {
  const int k = key_words;
  Nr_ = k + 6;
  for (int i = 0; i < k; ++i) fkey_[i] = Load(key + 4 * i);
  for (int i = k; i < 4 * (Nr_ + 1); ++i) {
    std::uint32_t t = fkey_[i - 1];
    if (i % k == 0) {
      // SubWord(RotWord(t)) XOR the round constant, which lands in the low byte.
      t = (Te4_[Byte(t, 1)] & 0x000000FF) ^ (Te4_[Byte(t, 2)] & 0x0000FF00) ^
          (Te4_[Byte(t, 3)] & 0x00FF0000) ^ (Te4_[Byte(t, 0)] & 0xFF000000) ^ rco_[i / k - 1];
    } else if (k == 8 && i % 8 == 4) {
      t = (Te4_[Byte(t, 0)] & 0x000000FF) ^ (Te4_[Byte(t, 1)] & 0x0000FF00) ^
          (Te4_[Byte(t, 2)] & 0x00FF0000) ^ (Te4_[Byte(t, 3)] & 0xFF000000);
    }
    fkey_[i] = fkey_[i - k] ^ t;
  }
  CreateDecryptionKeys();
}

// The equivalent inverse cipher: the round keys in reverse order, with
// InvMixColumns applied to all but the first and last round.
void Rijndael::CreateDecryptionKeys() {
  for (int r = 0; r <= Nr_; ++r) {
    for (int j = 0; j < 4; ++j) rkey_[4 * r + j] = fkey_[4 * (Nr_ - r) + j];
  }
  for (int w = 4; w < 4 * Nr_; ++w) {
    std::uint32_t v = rkey_[w];
    // Td[S[b]] is InvMixColumns of b alone, because Td is built on Si.
    rkey_[w] = Td0_[Te4_[Byte(v, 0)] & 0xFF] ^ Td1_[Te4_[Byte(v, 1)] & 0xFF] ^
               Td2_[Te4_[Byte(v, 2)] & 0xFF] ^ Td3_[Te4_[Byte(v, 3)] & 0xFF];
  }
}

void Rijndael::EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const {
  const std::uint32_t* rk = fkey_.data();
  std::uint32_t t0 = Load(in) ^ rk[0];
  std::uint32_t t1 = Load(in + 4) ^ rk[1];
  std::uint32_t t2 = Load(in + 8) ^ rk[2];
  std::uint32_t t3 = Load(in + 12) ^ rk[3];
  for (int round = 1; round < Nr_; ++round) {
    rk += 4;
    std::uint32_t u0 =
        Te0_[Byte(t0, 0)] ^ Te1_[Byte(t1, 1)] ^ Te2_[Byte(t2, 2)] ^ Te3_[Byte(t3, 3)] ^ rk[0];
    std::uint32_t u1 =
        Te0_[Byte(t1, 0)] ^ Te1_[Byte(t2, 1)] ^ Te2_[Byte(t3, 2)] ^ Te3_[Byte(t0, 3)] ^ rk[1];
    std::uint32_t u2 =
        Te0_[Byte(t2, 0)] ^ Te1_[Byte(t3, 1)] ^ Te2_[Byte(t0, 2)] ^ Te3_[Byte(t1, 3)] ^ rk[2];
    std::uint32_t u3 =
        Te0_[Byte(t3, 0)] ^ Te1_[Byte(t0, 1)] ^ Te2_[Byte(t1, 2)] ^ Te3_[Byte(t2, 3)] ^ rk[3];
    t0 = u0;
    t1 = u1;
    t2 = u2;
    t3 = u3;
  }
  rk += 4;
  auto last = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (Te4_[Byte(a, 0)] & 0x000000FF) ^ (Te4_[Byte(b, 1)] & 0x0000FF00) ^
           (Te4_[Byte(c, 2)] & 0x00FF0000) ^ (Te4_[Byte(d, 3)] & 0xFF000000);
  };
  Store(last(t0, t1, t2, t3) ^ rk[0], out);
  Store(last(t1, t2, t3, t0) ^ rk[1], out + 4);
  Store(last(t2, t3, t0, t1) ^ rk[2], out + 8);
  Store(last(t3, t0, t1, t2) ^ rk[3], out + 12);
}

void Rijndael::DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const {
  const std::uint32_t* rk = rkey_.data();
  std::uint32_t t0 = Load(in) ^ rk[0];
  std::uint32_t t1 = Load(in + 4) ^ rk[1];
  std::uint32_t t2 = Load(in + 8) ^ rk[2];
  std::uint32_t t3 = Load(in + 12) ^ rk[3];
  for (int round = 1; round < Nr_; ++round) {
    rk += 4;
    std::uint32_t u0 =
        Td0_[Byte(t0, 0)] ^ Td1_[Byte(t3, 1)] ^ Td2_[Byte(t2, 2)] ^ Td3_[Byte(t1, 3)] ^ rk[0];
    std::uint32_t u1 =
        Td0_[Byte(t1, 0)] ^ Td1_[Byte(t0, 1)] ^ Td2_[Byte(t3, 2)] ^ Td3_[Byte(t2, 3)] ^ rk[1];
    std::uint32_t u2 =
        Td0_[Byte(t2, 0)] ^ Td1_[Byte(t1, 1)] ^ Td2_[Byte(t0, 2)] ^ Td3_[Byte(t3, 3)] ^ rk[2];
    std::uint32_t u3 =
        Td0_[Byte(t3, 0)] ^ Td1_[Byte(t2, 1)] ^ Td2_[Byte(t1, 2)] ^ Td3_[Byte(t0, 3)] ^ rk[3];
    t0 = u0;
    t1 = u1;
    t2 = u2;
    t3 = u3;
  }
  rk += 4;
  auto last = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (Td4_[Byte(a, 0)] & 0x000000FF) ^ (Td4_[Byte(b, 1)] & 0x0000FF00) ^
           (Td4_[Byte(c, 2)] & 0x00FF0000) ^ (Td4_[Byte(d, 3)] & 0xFF000000);
  };
  Store(last(t0, t3, t2, t1) ^ rk[0], out);
  Store(last(t1, t0, t3, t2) ^ rk[1], out + 4);
  Store(last(t2, t1, t0, t3) ^ rk[2], out + 8);
  Store(last(t3, t2, t1, t0) ^ rk[3], out + 12);
}

}  // namespace veilbox
