// The key blobs byte for byte, decoded here independently of the package's own readers.
#include "PackageTestSupport.h"

#include "package/CryptManager.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include <algorithm>

namespace stellik::testing {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::vector<uint8_t> Header(const std::vector<uint8_t>& blob) {
    return {blob.begin(), blob.begin() + 8};
}

// A little-endian integer of the blob.
class TNumber {
public:
    TNumber(const std::vector<uint8_t>& blob, size_t at, size_t size) {
        mpz_init(Value);
        mpz_import(Value, size, -1, 1, 0, 0, blob.data() + at);
    }
    ~TNumber() { mpz_clear(Value); }
    TNumber(const TNumber&) = delete;
    TNumber& operator=(const TNumber&) = delete;
    mpz_t Value;
};

// The private key blob of the shared pair with its body deciphered by RC4 under MD5(password).
std::vector<uint8_t> PlainPrivateBlob() {
    std::vector<uint8_t> blob(SharedKeys().PrivateKeyBlob.data(),
                              SharedKeys().PrivateKeyBlob.data() +
                                  SharedKeys().PrivateKeyBlob.size());
    uint8_t key[MD5_DIGEST_SIZE];
    md5_ctx md5;
    md5_init(&md5);
    md5_update(&md5, Password.size(), reinterpret_cast<const uint8_t*>(Password.data()));
    md5_digest(&md5, sizeof key, key);
    arcfour_ctx rc4;
    arcfour_set_key(&rc4, sizeof key, key);
    arcfour_crypt(&rc4, blob.size() - 8, blob.data() + 8, blob.data() + 8);
    return blob;
}

TEST(KeyBlobFormat, PrivateAndPublicBlobsOfAPackagePair) {
    const std::vector<uint8_t> plain = PlainPrivateBlob();
    ASSERT_EQ(plain.size(), 596u);
    EXPECT_EQ(Header(plain), (std::vector<uint8_t>{7, 2, 0, 0, 0x00, 0xA4, 0, 0}));
    EXPECT_EQ(U32(plain, 8), 0x32415352u); // "RSA2", readable only with the right password
    EXPECT_EQ(U32(plain, 12), 1024u);
    EXPECT_EQ(U32(plain, 16), 65537u);
    // The enciphered blob keeps its header in clear and hides the rest.
    EXPECT_EQ(Header(plain), Header(std::vector<uint8_t>(SharedKeys().PrivateKeyBlob.data(),
                                                         SharedKeys().PrivateKeyBlob.data() + 8)));
    EXPECT_NE(SharedKeys().PrivateKeyBlob.data()[8], plain[8]);

    // Modulus, p, q, d mod (p-1), d mod (q-1), q^-1 mod p, d: check the order by the algebra.
    TNumber n(plain, 20, 128), p(plain, 148, 64), q(plain, 212, 64), a(plain, 276, 64),
        b(plain, 340, 64), c(plain, 404, 64), d(plain, 468, 128);
    mpz_t t;
    mpz_init(t);
    mpz_mul(t, p.Value, q.Value);
    EXPECT_EQ(mpz_cmp(t, n.Value), 0);
    EXPECT_EQ(mpz_sizeinbase(n.Value, 2), 1024u);
    mpz_sub_ui(t, p.Value, 1);
    mpz_mod(t, d.Value, t);
    EXPECT_EQ(mpz_cmp(t, a.Value), 0);
    mpz_sub_ui(t, q.Value, 1);
    mpz_mod(t, d.Value, t);
    EXPECT_EQ(mpz_cmp(t, b.Value), 0);
    mpz_mul(t, c.Value, q.Value);
    mpz_mod(t, t, p.Value);
    EXPECT_EQ(mpz_cmp_ui(t, 1), 0);
    mpz_clear(t);

    const std::vector<uint8_t>& pub = SharedKeys().PublicKeyBlob;
    ASSERT_EQ(pub.size(), 148u);
    EXPECT_EQ(Header(pub), (std::vector<uint8_t>{6, 2, 0, 0, 0x00, 0xA4, 0, 0}));
    EXPECT_EQ(U32(pub, 8), 0x31415352u); // "RSA1"
    EXPECT_EQ(U32(pub, 12), 1024u);
    EXPECT_EQ(U32(pub, 16), 65537u);
    EXPECT_TRUE(std::equal(pub.begin() + 20, pub.end(), plain.begin() + 20));
}

TEST(KeyBlobFormat, SessionKeyBlobIsALittleEndianType2BlockUnderThePublicKey) {
    TCryptManager manager;
    manager.KeyStoreName = FreshContainerName();
    const std::vector<uint8_t> plainData = RandomBytes(300, 7);
    TMemoryStream data = StreamOf(plainData);
    TMemoryStream keyBlob = StreamOf(SharedKeys().PublicKeyBlob);
    manager.Encrypt(data, keyBlob);

    const std::vector<uint8_t>& blob = keyBlob.Bytes();
    ASSERT_EQ(blob.size(), 140u);
    EXPECT_EQ(keyBlob.GetPosition(), 0u);
    EXPECT_EQ(Header(blob), (std::vector<uint8_t>{1, 2, 0, 0, 0x01, 0x68, 0, 0}));
    EXPECT_EQ(U32(blob, 8), 0xA400u);

    // Raw RSA with the pair's private exponent, the block read little-endian.
    const std::vector<uint8_t> plain = PlainPrivateBlob();
    TNumber n(plain, 20, 128), d(plain, 468, 128), c(blob, 12, 128);
    mpz_powm(c.Value, c.Value, d.Value, n.Value);
    std::vector<uint8_t> block(128);
    size_t count = 0;
    mpz_export(block.data() + 128 - mpz_sizeinbase(c.Value, 256), &count, 1, 1, 0, 0, c.Value);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 2);
    EXPECT_TRUE(
        std::all_of(block.begin() + 2, block.begin() + 111, [](uint8_t x) { return x != 0; }));
    EXPECT_EQ(block[111], 0); // then the 128-bit session key
    uint8_t* sessionKey = block.data() + 112;

    std::vector<uint8_t> expected = plainData;
    arcfour_ctx rc4;
    arcfour_set_key(&rc4, 16, sessionKey);
    arcfour_crypt(&rc4, expected.size(), expected.data(), expected.data());
    EXPECT_EQ(data.Bytes(), expected);
}

TEST(KeyBlobFormat, EverySessionKeyIsNew) {
    TCryptManager manager;
    manager.KeyStoreName = FreshContainerName();
    const std::vector<uint8_t> plain(64, 0x41);
    TMemoryStream first = StreamOf(plain);
    TMemoryStream second = StreamOf(plain);
    TMemoryStream firstKey = StreamOf(SharedKeys().PublicKeyBlob);
    TMemoryStream secondKey = StreamOf(SharedKeys().PublicKeyBlob);
    manager.Encrypt(first, firstKey);
    manager.Encrypt(second, secondKey);
    EXPECT_NE(first.Bytes(), second.Bytes());
    EXPECT_NE(firstKey.Bytes(), secondKey.Bytes());
}

} // namespace
} // namespace stellik::testing
