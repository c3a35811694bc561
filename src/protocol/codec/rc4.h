// RC4 stream cipher of the protocol payload, with the program's default key.
#pragma once

#include <cstddef>
#include <cstdint>

// Cipher state: the permutation S followed by the two indices (258 bytes).
struct Rc4State
{
    std::uint8_t S[256];
    std::uint8_t i;
    std::uint8_t j;
};
static_assert(sizeof(Rc4State) == 258);

// The key used whenever the key given is empty.
inline constexpr char RC4_DEFAULT_KEY[] = "pmoqatvyrb7281hgcwnx";
inline constexpr int RC4_DEFAULT_KEY_LEN = 20;

// Key scheduling; an empty key (keyLen <= 0 or null) schedules the default key.
void Rc4Init(const std::uint8_t* key, int keyLen, Rc4State* state);

// Applies the keystream to length bytes in place (the counter covers any buffer size).
void Rc4Crypt(std::uint8_t* data, std::size_t length, Rc4State* state);

// One call: key schedule (default key when keyLen <= 0 or key is null) then the keystream.
// The same call enciphers and deciphers.
void Rc4Encrypt(const std::uint8_t* key, int keyLen, std::uint8_t* data, std::size_t length);
