#include "update/signing.h"

#include <sodium.h>

#include <stdexcept>

namespace corvane {

namespace {

static_assert(PublicKeyBytes == crypto_sign_PUBLICKEYBYTES);
static_assert(SecretKeyBytes == crypto_sign_SECRETKEYBYTES);
static_assert(SignatureBytes == crypto_sign_BYTES);

// The key the release procedure signs with; its secret half never leaves the publisher.
constexpr char PublisherKeyText[] = "/0q9Exh3XlBjRIyFhK31ypTdBovdwsEdARkaTLqsQU0=";

void EnsureSodium() {
    static const int ready = sodium_init();
    if (ready < 0) throw std::runtime_error("the signature library cannot start");
}

const unsigned char* Bytes(const QByteArray& a) { return reinterpret_cast<const unsigned char*>(a.constData()); }

} // namespace

KeyPair GenerateKeyPair() {
    EnsureSodium();
    KeyPair pair;
    pair.publicKey.resize(PublicKeyBytes);
    pair.secretKey.resize(SecretKeyBytes);
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(pair.publicKey.data()),
                        reinterpret_cast<unsigned char*>(pair.secretKey.data()));
    return pair;
}

QByteArray SignMessage(const QByteArray& message, const QByteArray& secretKey) {
    if (secretKey.size() != SecretKeyBytes) return {};
    EnsureSodium();
    QByteArray signature(SignatureBytes, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr, Bytes(message),
                         static_cast<unsigned long long>(message.size()), Bytes(secretKey));
    return signature;
}

bool VerifyMessage(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey) {
    if (signature.size() != SignatureBytes || publicKey.size() != PublicKeyBytes) return false;
    EnsureSodium();
    return crypto_sign_verify_detached(Bytes(signature), Bytes(message),
                                       static_cast<unsigned long long>(message.size()), Bytes(publicKey)) == 0;
}

std::optional<QByteArray> DecodeKeyText(const QByteArray& text, int bytes) {
    const QByteArray trimmed = text.trimmed();
    // Base64 of n bytes is 4 * ceil(n / 3) characters; anything longer is not one key.
    if (trimmed.isEmpty() || trimmed.size() != 4 * ((bytes + 2) / 3)) return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(trimmed, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != bytes) return std::nullopt;
    return decoded.decoded;
}

QByteArray EncodeKeyText(const QByteArray& key) { return key.toBase64(); }

QByteArray PublisherKey() { return DecodeKeyText(PublisherKeyText, PublicKeyBytes).value_or(QByteArray()); }

TrustedKeys ReadTrustedKeys(const QByteArray& bytes) {
    TrustedKeys result;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (const auto key = DecodeKeyText(line, PublicKeyBytes))
            result.keys << *key;
        else
            result.problems << ListProblem{QStringLiteral("trusted.pub"), i + 1,
                                           QStringLiteral("not a public key (one line of base64 expected)")};
    }
    return result;
}

bool ListSignedByOneOf(const QByteArray& list, const QByteArray& signatureText, const QList<QByteArray>& keys) {
    const auto signature = DecodeKeyText(signatureText, SignatureBytes);
    if (!signature) return false;
    for (const QByteArray& key : keys)
        if (VerifyMessage(list, *signature, key)) return true;
    return false;
}

} // namespace corvane
