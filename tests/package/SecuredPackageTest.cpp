// A package as the player gets it: encrypted documents and pictures in one archive.
#include "PackageTestSupport.h"

#include "package/CryptManager.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(SecuredPackage, EncryptedMembersAndPicturesPackAndReadBack) {
    TCryptManager maker;
    maker.KeyStoreName = FreshContainerName();
    const std::string test = "<?xml version=\"1.0\"?><test>" + std::string(20000, 'x') + "</test>";
    const std::string settings = "<sk-settings><view-profile/></sk-settings>";
    const auto picture = RandomBytes(3000, 5);

    // Pack: each document enciphered for the package's public key, its wrapped session key
    // travelling beside it.
    TMemoryStream archive;
    {
        TStreamZip writer;
        writer.Open(archive);
        for (const auto& [name, text] :
             {std::pair{"scontent", test}, std::pair{"settings", settings}}) {
            TMemoryStream data(text);
            TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
            maker.Encrypt(data, key);
            data.SetPosition(0);
            writer.AddFromStream(std::string(name) + ".bin", &data);
            writer.AddFromStream(std::string(name) + ".key", &key);
        }
        TMemoryStream pictureStream = StreamOf(picture);
        writer.AddFromStream("pic.gif", &pictureStream);
        writer.Close();
    }

    // The player: import the shipped pair, then unpack and decrypt.
    TCryptManager player;
    player.KeyStoreName = FreshContainerName();
    TMemoryStream password(Password);
    player.ImportKeyWithPassword(StreamOf(SharedKeys().PrivateKeyBlob.Span()), password);
    TStreamUnZip reader;
    reader.Open(archive);
    auto read = [&](const std::string& name) {
        TMemoryStream data;
        TMemoryStream key;
        reader.ExtractToStream(name + ".bin", data);
        reader.ExtractToStream(name + ".key", key);
        player.Decrypt(data, key);
        return std::string(data.View());
    };
    EXPECT_EQ(read("SCONTENT"), test);
    EXPECT_EQ(read("settings"), settings);
    TMemoryStream pictureOut;
    reader.ExtractToStream("PIC.GIF", pictureOut);
    EXPECT_EQ(pictureOut.Bytes(), picture);
}

} // namespace
} // namespace stellik::testing
