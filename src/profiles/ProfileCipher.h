#pragma once
// The cipher of enciphered profile lines: Base64 text of DES-ECB blocks
// under a key derived from a built-in pass phrase. The program only reads
// profiles; the enciphering half is here for the developer tool and the
// tests, so that both directions share one key and one block layout.
//
// This unit needs only Qt Core and Nettle (the fuzzer and the tool build
// it on its own).

#include <QByteArray>
#include <array>
#include <cstdint>

namespace ProfileCipher {

using Key = std::array<std::uint8_t, 8>;

// The steps of the pass-phrase digest, exposed so they can be checked one
// by one against an independent computation.
struct DigestState
{
    std::array<std::uint8_t, 256> D;  // the pi table, mixed with the phrase
    std::array<std::uint32_t, 4> K;   // the four key words
};
// The first 2048 bits of the fraction of pi (24 3F 6A 88 ...).
const std::array<std::uint8_t, 256> &PiTable();
// One application of the four-word mix.
void Mix(std::uint32_t &a, std::uint32_t &b, std::uint32_t &c, std::uint32_t &e);
// Absorbs the phrase and the closing bytes.
DigestState Absorb(const QByteArray &passPhrase);
// The 32 round-key words from the absorbed key words.
std::array<std::uint32_t, 32> RoundKeys(const std::array<std::uint32_t, 4> &k);
// The whole digest: the 8-byte DES key of a pass phrase.
Key PassPhraseKey(const QByteArray &passPhrase);
// The key of every shipped enciphered profile (pass phrase "plum").
const Key &ProfileKey();

// Standard-alphabet Base64 with "=" padding. Decoding raises
// "Invalid Base64 Character" for any character outside the alphabet,
// misplaced padding included; a trailing group of two or three
// characters yields the bytes it holds, a single one nothing.
QByteArray DecodeBase64(const QByteArray &text);
QByteArray EncodeBase64(const QByteArray &bytes);

// Plain DES in ECB mode over whole 8-byte blocks (a trailing partial block
// is left out). Parity bits of the key are ignored.
QByteArray DesEcb(const Key &key, const QByteArray &data, bool encipher);

// Base64 line to profile line: raises "Invalid Base64 Character", or
// "Invalid file format" when fewer than 8 bytes decode or the last block's
// count byte is above 7.
QByteArray Decipher(const QByteArray &line, const Key &key = ProfileKey());
// Profile line to Base64 line: the reverse steps. The last block holds the
// remaining text bytes, zero filler and the count in its last byte; a text
// whose length is a multiple of 8 gets a whole extra block.
QByteArray Encipher(const QByteArray &plain, const Key &key = ProfileKey());

} // namespace ProfileCipher
