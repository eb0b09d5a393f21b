#pragma once

#include "install/versionlist.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace corvane {

// Ed25519 signatures of the published list. Keys and signatures travel as one line of
// base64 text each.
constexpr int PublicKeyBytes = 32;
constexpr int SecretKeyBytes = 64;
constexpr int SignatureBytes = 64;

struct KeyPair {
    QByteArray publicKey;
    QByteArray secretKey;
};

KeyPair GenerateKeyPair();
// The detached signature of the message; empty when the secret key is not one.
QByteArray SignMessage(const QByteArray& message, const QByteArray& secretKey);
bool VerifyMessage(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey);

// One line of base64 holding exactly `bytes` bytes (surrounding white space allowed).
std::optional<QByteArray> DecodeKeyText(const QByteArray& text, int bytes);
QByteArray EncodeKeyText(const QByteArray& key);

// The publisher's key compiled into the program.
QByteArray PublisherKey();

// trusted.pub: one base64 public key per line; empty lines and '#' comments are skipped,
// anything else that is not a key is reported with its line number.
struct TrustedKeys {
    QList<QByteArray> keys;
    QList<ListProblem> problems;
};
TrustedKeys ReadTrustedKeys(const QByteArray& bytes);

// True when the signature (as published: one line of base64) is one of the keys' over the
// list's exact bytes.
bool ListSignedByOneOf(const QByteArray& list, const QByteArray& signatureText, const QList<QByteArray>& keys);

} // namespace corvane
