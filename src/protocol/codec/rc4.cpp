#include "protocol/codec/rc4.h"

#include <utility>

void Rc4Init(const std::uint8_t* key, int keyLen, Rc4State* state)
{
    if (key == nullptr || keyLen <= 0) {
        // An empty key would leave nothing to schedule with: the default key stands in.
        key = reinterpret_cast<const std::uint8_t*>(RC4_DEFAULT_KEY);
        keyLen = RC4_DEFAULT_KEY_LEN;
    }
    for (int n = 0; n < 256; ++n) {
        state->S[n] = static_cast<std::uint8_t>(n);
    }
    state->i = 0;
    state->j = 0;
    std::uint8_t j = 0;
    int k = 0;
    for (int n = 0; n < 256; ++n) {
        j = static_cast<std::uint8_t>(j + key[k] + state->S[n]);
        std::swap(state->S[n], state->S[j]);
        if (++k >= keyLen) {
            k = 0;
        }
    }
}

void Rc4Crypt(std::uint8_t* data, std::size_t length, Rc4State* state)
{
    std::uint8_t i = state->i;
    std::uint8_t j = state->j;
    std::uint8_t* S = state->S;
    for (std::size_t n = 0; n < length; ++n) {
        i = static_cast<std::uint8_t>(i + 1);
        j = static_cast<std::uint8_t>(j + S[i]);
        const std::uint8_t si = S[j];
        const std::uint8_t sj = S[i];
        S[i] = si;
        S[j] = sj;
        data[n] ^= S[static_cast<std::uint8_t>(si + sj)];
    }
    state->i = i;
    state->j = j;
}

void Rc4Encrypt(const std::uint8_t* key, int keyLen, std::uint8_t* data, std::size_t length)
{
    Rc4State state;
    Rc4Init(key, keyLen, &state);
    Rc4Crypt(data, length, &state);
}
