// Arbitrary bytes into CredentialScrambler::unscrambleToBytes: no crash, and
// whatever it accepts must scramble and unscramble back to itself.
#include "crypto/credentialscrambler.h"
#include "crypto/storecredentialkey.h"

#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    static CredentialScrambler scrambler(StoreCredentialKey);

    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const QByteArray plain = scrambler.unscrambleToBytes(input);
    if (scrambler.lastError() != CredentialScrambler::ScramblerError::None) {
        if (!plain.isEmpty())
            abort();
        return 0;
    }
    const QByteArray again = scrambler.unscrambleToBytes(scrambler.scrambleToBytes(plain));
    if (again != plain || scrambler.lastError() != CredentialScrambler::ScramblerError::None)
        abort();
    return 0;
}
