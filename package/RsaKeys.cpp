#include "package/RsaKeys.h"

#include "package/SecureRandom.h"

#include <algorithm>
#include <cstring>

namespace stellik {

namespace {

// A GMP integer that lives for one scope.
class TMpz {
public:
    TMpz() { mpz_init(Value); }
    ~TMpz() { mpz_clear(Value); }
    TMpz(const TMpz&) = delete;
    TMpz& operator=(const TMpz&) = delete;
    operator mpz_ptr() { return Value; }
    operator mpz_srcptr() const { return Value; }
    mpz_ptr get() { return Value; } // for GMP's macros, which take a pointer expression

private:
    mpz_t Value;
};

constexpr unsigned long PublicExponent = 65537;
constexpr size_t WrapOverhead = 11; // 00 02, at least eight padding bytes, 00

// x mod m == expected
bool Congruent(mpz_srcptr x, mpz_srcptr m, mpz_srcptr expected) {
    TMpz r;
    mpz_mod(r, x, m);
    return mpz_cmp(r, expected) == 0;
}

} // namespace

void ReadLE(mpz_t value, std::span<const uint8_t> bytes) {
    mpz_import(value, bytes.size(), -1, 1, 0, 0, bytes.data());
}

bool WriteLE(const mpz_t value, std::span<uint8_t> bytes) {
    if (mpz_sgn(value) < 0 || mpz_sizeinbase(value, 256) > bytes.size()) {
        return false;
    }
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    if (mpz_sgn(value) != 0) {
        mpz_export(bytes.data(), nullptr, -1, 1, 0, 0, value);
    }
    return true;
}

bool TRsaPublicKey::Prepare() {
    if (mpz_cmp_ui(Key.e, 1) <= 0 || mpz_even_p(Key.e) || mpz_even_p(Key.n)) {
        return false;
    }
    return rsa_public_key_prepare(&Key) != 0;
}

bool TRsaKeyPair::Prepare() {
    const rsa_public_key& pub = *Public.Get();
    TMpz p1;
    TMpz q1;
    TMpz product;
    mpz_sub_ui(p1, Private.p, 1);
    mpz_sub_ui(q1, Private.q, 1);
    if (mpz_cmp_ui(p1.get(), 1) <= 0 || mpz_cmp_ui(q1.get(), 1) <= 0) {
        return false;
    }
    mpz_mul(product, Private.p, Private.q);
    if (mpz_cmp(product, pub.n) != 0) {
        return false;
    }
    TMpz one;
    mpz_set_ui(one, 1);
    TMpz ea;
    TMpz eb;
    TMpz cq;
    mpz_mul(ea, pub.e, Private.a);
    mpz_mul(eb, pub.e, Private.b);
    mpz_mul(cq, Private.c, Private.q);
    if (!Congruent(Private.d, p1, Private.a) || !Congruent(Private.d, q1, Private.b) ||
        !Congruent(ea, p1, one) || !Congruent(eb, q1, one) || !Congruent(cq, Private.p, one)) {
        return false;
    }
    return Public.Prepare() && rsa_private_key_prepare(&Private) != 0 &&
           Private.size == Public.ModulusSize();
}

std::unique_ptr<TRsaKeyPair> GenerateKeyExchangePair(unsigned bits) {
    auto pair = std::make_unique<TRsaKeyPair>();
    mpz_set_ui(pair->GetPublic().Get()->e, PublicExponent);
    TNettleRandom random;
    const int ok = rsa_generate_keypair(pair->GetPublic().Get(), pair->GetPrivate(), &random,
                                        &TNettleRandom::Fill, nullptr, nullptr, bits, 0);
    if (ok == 0 || random.Failed || !pair->Prepare()) {
        return nullptr;
    }
    return pair;
}

bool WrapKey(const TRsaPublicKey& key, std::span<const uint8_t> secret, std::span<uint8_t> block) {
    if (block.size() != key.ModulusSize() || secret.size() + WrapOverhead > block.size()) {
        return false;
    }
    TMpz cipher;
    TNettleRandom random;
    if (rsa_encrypt(key.Get(), &random, &TNettleRandom::Fill, secret.size(), secret.data(),
                    cipher) == 0 ||
        random.Failed) {
        return false;
    }
    return WriteLE(cipher, block);
}

bool UnwrapKey(const TRsaKeyPair& pair, std::span<const uint8_t> block, std::span<uint8_t> secret) {
    const TRsaPublicKey& pub = pair.GetPublic();
    if (block.size() != pub.ModulusSize() || secret.size() + WrapOverhead > block.size()) {
        return false;
    }
    TMpz cipher;
    ReadLE(cipher, block);
    if (mpz_cmp(cipher, pub.Get()->n) >= 0) {
        return false;
    }
    TNettleRandom random;
    const int ok = rsa_sec_decrypt(pub.Get(), pair.GetPrivate(), &random, &TNettleRandom::Fill,
                                   secret.size(), secret.data(), cipher);
    return ok != 0 && !random.Failed;
}

} // namespace stellik
