// A package member: an EncryptedData document loaded and decrypted with the player's key pair
// (here the fuzz pair, so that the seeds decrypt).
#include "fuzz/FuzzSupport.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"

using namespace stellik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallFuzzKey();
    TXmlCryptManager crypt;
    TMemoryStream work = fuzz::StreamOf(data, size);
    crypt.LoadStream(work); // a failed load shows as a decryption failure
    TMemoryStream plain;
    try {
        crypt.Decrypt(plain);
    } catch (const Exception&) {
        // the player shows the message
    }
    return 0;
}
