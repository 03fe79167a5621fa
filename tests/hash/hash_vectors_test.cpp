// Published test vectors, through the service's text form.
#include "hash/hash_service.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelon {
namespace {

using test::HashText;

constexpr int32_t kMd2 = 257, kMd4 = 258, kMd5 = 259, kCrc32 = 260, kCrc32b = 261, kAdler32 = 262,
                  kSha1 = 269, kSha256 = 270, kSha384 = 271, kSha512 = 272;

const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyz";
const std::string kAlphanumeric = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const std::string kEightyDigits =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";
const std::string k448Bits = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string k896Bits = "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmn"
                             "hijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";

TEST(HashVectors, Md2SuiteOfRfc1319) {
    EXPECT_EQ(HashText(kMd2, ""), "8350e5a3e24c153df2275c9f80692773");
    EXPECT_EQ(HashText(kMd2, "a"), "32ec01ec4a6dac72c0ab96fb34c0b5d1");
    EXPECT_EQ(HashText(kMd2, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");
    EXPECT_EQ(HashText(kMd2, "message digest"), "ab4f496bfb2a530b219ff33031fe06b0");
    EXPECT_EQ(HashText(kMd2, kAlphabet), "4e8ddff3650292ab5a4108c3aa47940b");
    EXPECT_EQ(HashText(kMd2, kAlphanumeric), "da33def2a42df13975352846c30338cd");
    EXPECT_EQ(HashText(kMd2, kEightyDigits), "d5976f79d83d3a0dc9806c3c66f3efd8");
}

TEST(HashVectors, Md4SuiteOfRfc1320) {
    EXPECT_EQ(HashText(kMd4, ""), "31d6cfe0d16ae931b73c59d7e0c089c0");
    EXPECT_EQ(HashText(kMd4, "a"), "bde52cb31de33e46245e05fbdbd6fb24");
    EXPECT_EQ(HashText(kMd4, "abc"), "a448017aaf21d8525fc10ae87aa6729d");
    EXPECT_EQ(HashText(kMd4, "message digest"), "d9130a8164549fe818874806e1c7014b");
    EXPECT_EQ(HashText(kMd4, kAlphabet), "d79e1c308aa5bbcdeea8ed63df412da9");
    EXPECT_EQ(HashText(kMd4, kAlphanumeric), "043f8582f241db351ce627e153e7f0e4");
    EXPECT_EQ(HashText(kMd4, kEightyDigits), "e33b4ddc9c38f2199c3e7b164fcc0536");
}

TEST(HashVectors, Md5SuiteOfRfc1321) {
    EXPECT_EQ(HashText(kMd5, ""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(HashText(kMd5, "a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(HashText(kMd5, "abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HashText(kMd5, "message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(HashText(kMd5, kAlphabet), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(HashText(kMd5, kAlphanumeric), "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(HashText(kMd5, kEightyDigits), "57edf4a22be3c955ac49da2e2107b67a");
}

// CRC texts are the value's bytes from the least significant up.
TEST(HashVectors, CrcCheckValues) {
    EXPECT_EQ(HashText(kCrc32, ""), "00000000");
    EXPECT_EQ(HashText(kCrc32, "abc"), "73bb8c64");
    EXPECT_EQ(HashText(kCrc32, "123456789"), "181989fc");
    EXPECT_EQ(HashText(kCrc32b, ""), "00000000");
    EXPECT_EQ(HashText(kCrc32b, "abc"), "c2412435");
    EXPECT_EQ(HashText(kCrc32b, "123456789"), "2639f4cb");
}

TEST(HashVectors, Adler32CheckValues) {
    EXPECT_EQ(HashText(kAdler32, ""), "00000001");
    EXPECT_EQ(HashText(kAdler32, "abc"), "024d0127");
    EXPECT_EQ(HashText(kAdler32, "123456789"), "091e01de");
}

TEST(HashVectors, Sha1OfFips180) {
    EXPECT_EQ(HashText(kSha1, ""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(HashText(kSha1, "abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(HashText(kSha1, k448Bits), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(HashText(kSha1, std::string(1000000, 'a'), 1000),
              "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(HashVectors, Sha256OfFips180) {
    EXPECT_EQ(HashText(kSha256, ""),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HashText(kSha256, "abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HashText(kSha256, k448Bits),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(HashText(kSha256, std::string(1000000, 'a'), 1000),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(HashVectors, Sha384OfFips180) {
    EXPECT_EQ(HashText(kSha384, "abc"), "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded163"
                                        "1a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7");
    EXPECT_EQ(HashText(kSha384, k896Bits), "09330c33f71147e83d192fc782cd1b4753111b173b3b05d2"
                                           "2fa08086e3b0f712fcc7c71a557e2db966c3e9fa91746039");
    EXPECT_EQ(HashText(kSha384, std::string(1000000, 'a'), 1000),
              "9d0e1809716474cb086e834e310a4a1ced149e9c00f24852"
              "7972cec5704c2a5b07b8b3dc38ecc4ebae97ddd87f3d8985");
}

TEST(HashVectors, Sha512OfFips180) {
    EXPECT_EQ(HashText(kSha512, "abc"),
              "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
              "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
    EXPECT_EQ(HashText(kSha512, k896Bits),
              "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
              "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909");
    EXPECT_EQ(HashText(kSha512, std::string(1000000, 'a'), 1000),
              "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
              "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b");
}

TEST(HashVectors, EveryTextIsLowerCaseHexOfTheTableLength) {
    for (int32_t method : test::RegisteredMethods()) {
        for (const std::string& message : {std::string(), std::string("abc"), kEightyDigits}) {
            const std::string text = HashText(method, message);
            EXPECT_EQ(text.size(), static_cast<size_t>(HashTextLength(method)))
                << HashMethodName(method);
            EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos)
                << HashMethodName(method) << " " << text;
        }
    }
}

} // namespace
} // namespace mirelon
