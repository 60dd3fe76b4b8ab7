#include "profiles/ProfileCipher.h"

#include "app/Errors.h"

#include <nettle/des.h>

namespace ProfileCipher {

namespace {

using u32 = std::uint32_t;

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

ZError invalidBase64() { return ZError(QStringLiteral("Invalid Base64 Character"), ZError::Cipher); }
ZError invalidFormat() { return ZError(QStringLiteral("Invalid file format"), ZError::Cipher); }

// Value of a Base64 character, -1 for "=", -2 for anything else.
int base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    if (c == '=')
        return -1;
    return -2;
}

u32 loadWord(const std::uint8_t *p) { return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24; }

void storeWord(std::uint8_t *p, u32 w)
{
    p[0] = std::uint8_t(w);
    p[1] = std::uint8_t(w >> 8);
    p[2] = std::uint8_t(w >> 16);
    p[3] = std::uint8_t(w >> 24);
}

} // namespace

const std::array<std::uint8_t, 256> &PiTable()
{
    static const std::array<std::uint8_t, 256> table = {
        0x24, 0x3F, 0x6A, 0x88, 0x85, 0xA3, 0x08, 0xD3, 0x13, 0x19, 0x8A, 0x2E, 0x03, 0x70, 0x73, 0x44,
        0xA4, 0x09, 0x38, 0x22, 0x29, 0x9F, 0x31, 0xD0, 0x08, 0x2E, 0xFA, 0x98, 0xEC, 0x4E, 0x6C, 0x89,
        0x45, 0x28, 0x21, 0xE6, 0x38, 0xD0, 0x13, 0x77, 0xBE, 0x54, 0x66, 0xCF, 0x34, 0xE9, 0x0C, 0x6C,
        0xC0, 0xAC, 0x29, 0xB7, 0xC9, 0x7C, 0x50, 0xDD, 0x3F, 0x84, 0xD5, 0xB5, 0xB5, 0x47, 0x09, 0x17,
        0x92, 0x16, 0xD5, 0xD9, 0x89, 0x79, 0xFB, 0x1B, 0xD1, 0x31, 0x0B, 0xA6, 0x98, 0xDF, 0xB5, 0xAC,
        0x2F, 0xFD, 0x72, 0xDB, 0xD0, 0x1A, 0xDF, 0xB7, 0xB8, 0xE1, 0xAF, 0xED, 0x6A, 0x26, 0x7E, 0x96,
        0xBA, 0x7C, 0x90, 0x45, 0xF1, 0x2C, 0x7F, 0x99, 0x24, 0xA1, 0x99, 0x47, 0xB3, 0x91, 0x6C, 0xF7,
        0x08, 0x01, 0xF2, 0xE2, 0x85, 0x8E, 0xFC, 0x16, 0x63, 0x69, 0x20, 0xD8, 0x71, 0x57, 0x4E, 0x69,
        0xA4, 0x58, 0xFE, 0xA3, 0xF4, 0x93, 0x3D, 0x7E, 0x0D, 0x95, 0x74, 0x8F, 0x72, 0x8E, 0xB6, 0x58,
        0x71, 0x8B, 0xCD, 0x58, 0x82, 0x15, 0x4A, 0xEE, 0x7B, 0x54, 0xA4, 0x1D, 0xC2, 0x5A, 0x59, 0xB5,
        0x9C, 0x30, 0xD5, 0x39, 0x2A, 0xF2, 0x60, 0x13, 0xC5, 0xD1, 0xB0, 0x23, 0x28, 0x60, 0x85, 0xF0,
        0xCA, 0x41, 0x79, 0x18, 0xB8, 0xDB, 0x38, 0xEF, 0x8E, 0x79, 0xDC, 0xB0, 0x60, 0x3A, 0x18, 0x0E,
        0x6C, 0x9E, 0x0E, 0x8B, 0xB0, 0x1E, 0x8A, 0x3E, 0xD7, 0x15, 0x77, 0xC1, 0xBD, 0x31, 0x4B, 0x27,
        0x78, 0xAF, 0x2F, 0xDA, 0x55, 0x60, 0x5C, 0x60, 0xE6, 0x55, 0x25, 0xF3, 0xAA, 0x55, 0xAB, 0x94,
        0x57, 0x48, 0x98, 0x62, 0x63, 0xE8, 0x14, 0x40, 0x55, 0xCA, 0x39, 0x6A, 0x2A, 0xAB, 0x10, 0xB6,
        0xB4, 0xCC, 0x5C, 0x34, 0x11, 0x41, 0xE8, 0xCE, 0xA1, 0x54, 0x86, 0xAF, 0x7C, 0x72, 0xE9, 0x93,
    };
    return table;
}

void Mix(u32 &a, u32 &b, u32 &c, u32 &e)
{
    a += e; e += a; a ^= a >> 7;
    b += a; a += b; b ^= b << 13;
    c += b; b += c; c ^= c >> 17;
    e += c; c += e; e ^= e << 9;
    a += e; e += a; a ^= a >> 3;
    b += a; a += b; b ^= b << 7;
    c += b; b += c; c ^= e >> 15; // e, not c: the key depends on it
    e += c; c += e; e ^= e << 11;
}

DigestState Absorb(const QByteArray &passPhrase)
{
    DigestState s{PiTable(), {0x55555555u, 0x55555555u, 0x55555555u, 0x55555555u}};
    std::size_t i = 0;
    int j = 0;
    auto absorb = [&](std::uint8_t b) {
        s.D[i] ^= b;
        i = (i + 1) % s.D.size();
        // Key byte j is byte j of K0 K1 stored least significant first.
        s.K[j / 4] ^= u32(b) << (8 * (j % 4));
        if (++j == 8) {
            u32 a = s.K[3], bb = s.K[2], c = s.K[1], e = s.K[0];
            for (int n = 0; n < 4; ++n)
                Mix(a, bb, c, e);
            s.K = {a, bb, c, e};
            j = 0;
        }
    };
    for (char b : passPhrase)
        absorb(std::uint8_t(b));
    const int closing = 8 - j;
    for (int n = 0; n < closing; ++n)
        absorb(n == 0 ? 1 : 0);
    return s;
}

std::array<u32, 32> RoundKeys(const std::array<u32, 4> &k)
{
    std::array<u32, 32> out{};
    std::size_t at = 0;
    for (u32 s : {0x55555555u, 0xAAAAAAAAu, 0x33333333u, 0xCCCCCCCCu}) {
        u32 a = k[0], b = s, c = k[1], d = s, e = k[2], f = s, g = k[3], h = s;
        for (int n = 0; n < 8; ++n) {
            a ^= b << 11; d += a; b += c;
            b ^= c >> 2;  e += b; c += d;
            c ^= d << 8;  f += c; d += e;
            d ^= e >> 16; g += d; e += f;
            e ^= f << 10; h += e; f += g;
            f ^= g >> 4;  a += f; g += h;
            g ^= h << 8;  b += g; h += a;
            h ^= a >> 9;  c += h; a += b;
        }
        for (u32 w : {a, b, c, d, e, f, g, h})
            out[at++] = w;
    }
    return out;
}

Key PassPhraseKey(const QByteArray &passPhrase)
{
    DigestState s = Absorb(passPhrase);
    const std::array<u32, 32> rk = RoundKeys(s.K);
    for (std::size_t block = 0; block < s.D.size(); block += 16) {
        std::uint8_t *p = s.D.data() + block;
        u32 r0 = loadWord(p), r1 = loadWord(p + 4), l0 = loadWord(p + 8), l1 = loadWord(p + 12);
        for (int r = 0; r < 8; ++r) {
            u32 a = r0, b = rk[2 * r], c = r1, e = rk[2 * r + 1];
            Mix(a, b, c, e);
            std::swap(a, c);
            std::swap(b, e);
            Mix(a, b, c, e);
            const u32 n0 = l0 ^ a ^ b, n1 = l1 ^ c ^ e;
            l0 = r0;
            l1 = r1;
            r0 = n0;
            r1 = n1;
        }
        storeWord(p, l0);
        storeWord(p + 4, l1);
        storeWord(p + 8, r0);
        storeWord(p + 12, r1);
    }
    Key key;
    std::copy_n(s.D.begin(), key.size(), key.begin());
    return key;
}

const Key &ProfileKey()
{
    static const Key key = PassPhraseKey(QByteArrayLiteral("plum"));
    return key;
}

QByteArray DecodeBase64(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size() / 4 * 3 + 3);
    u32 bits = 0;
    int have = 0;     // characters of the current group
    int padding = 0;  // "=" seen; only more "=" may follow
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        // Outside "+" to "z" is the documented failure; the holes inside
        // that range (":", "_", ...) are just as malformed.
        const int v = base64Value(c);
        if (v == -2)
            throw invalidBase64();
        if (v == -1) {
            if (have < 2)
                throw invalidBase64();
            ++padding;
            if (++have == 4)
                have = 0;
            continue;
        }
        if (padding)
            throw invalidBase64();
        bits = (bits << 6) | u32(v);
        if (++have == 4) {
            out.append(char(bits >> 16));
            out.append(char(bits >> 8));
            out.append(char(bits));
            bits = 0;
            have = 0;
        }
    }
    // A short or padded last group: 2 characters give 1 byte, 3 give 2.
    const int chars = padding ? 4 - padding : have;
    if (padding && have != 0)
        throw invalidBase64(); // "xx=" without its closing "="
    if (chars == 2)
        out.append(char(bits >> 4));
    else if (chars == 3) {
        out.append(char(bits >> 10));
        out.append(char(bits >> 2));
    }
    return out;
}

QByteArray EncodeBase64(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    qsizetype n = bytes.size(), at = 0;
    for (; at + 3 <= n; at += 3) {
        const u32 v = u32(p[at]) << 16 | u32(p[at + 1]) << 8 | p[at + 2];
        for (int shift : {18, 12, 6, 0})
            out.append(kAlphabet[(v >> shift) & 63]);
    }
    if (n - at == 1) {
        const u32 v = u32(p[at]) << 16;
        out.append(kAlphabet[(v >> 18) & 63]).append(kAlphabet[(v >> 12) & 63]).append("==");
    } else if (n - at == 2) {
        const u32 v = u32(p[at]) << 16 | u32(p[at + 1]) << 8;
        out.append(kAlphabet[(v >> 18) & 63]).append(kAlphabet[(v >> 12) & 63]).append(kAlphabet[(v >> 6) & 63]).append('=');
    }
    return out;
}

QByteArray DesEcb(const Key &key, const QByteArray &data, bool encipher)
{
    des_ctx ctx;
    // Nettle reports weak keys but schedules them all the same; any key
    // deciphers as plain DES would.
    des_set_key(&ctx, key.data());
    const qsizetype whole = data.size() / DES_BLOCK_SIZE * DES_BLOCK_SIZE;
    QByteArray out(whole, Qt::Uninitialized);
    const auto *src = reinterpret_cast<const std::uint8_t *>(data.constData());
    auto *dst = reinterpret_cast<std::uint8_t *>(out.data());
    if (whole > 0) {
        if (encipher)
            des_encrypt(&ctx, std::size_t(whole), dst, src);
        else
            des_decrypt(&ctx, std::size_t(whole), dst, src);
    }
    return out;
}

QByteArray Decipher(const QByteArray &line, const Key &key)
{
    const QByteArray cipher = DecodeBase64(line);
    if (cipher.size() < DES_BLOCK_SIZE)
        throw invalidFormat();
    QByteArray plain = DesEcb(key, cipher, false);
    const int count = static_cast<std::uint8_t>(plain.back());
    if (count > 7)
        throw invalidFormat();
    plain.truncate(plain.size() - DES_BLOCK_SIZE + count);
    return plain;
}

QByteArray Encipher(const QByteArray &plain, const Key &key)
{
    const qsizetype count = plain.size() % DES_BLOCK_SIZE;
    QByteArray blocks = plain;
    blocks.append(QByteArray(DES_BLOCK_SIZE - 1 - count, '\0'));
    blocks.append(char(count));
    return EncodeBase64(DesEcb(key, blocks, true));
}

} // namespace ProfileCipher
