#pragma once

// What every reader's harness shares: a program folder of its own (a copy of the built
// opdata/ and proddata/), private settings, a platform that answers every message, and the
// entry points libFuzzer calls.

#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/support/fakeplatform.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvane::fuzz {

class FuzzProgram {
public:
    // The one program of this harness run, made on first use.
    static FuzzProgram& Get();

    // A fresh session on the folder, not started: the readers then run on it one by one.
    State& Fresh();
    // A session started as the program starts (tables, equipment, colours, language, template),
    // made once and kept: harnesses that need a whole program reuse it between inputs.
    State& Started();
    // Writes bytes to a file of the folder ("opdata/fuzz.lng") and returns its path.
    QString Write(const QString& relative, const QByteArray& bytes);
    QString Folder() const { return m_dir.path(); }

private:
    FuzzProgram();
    QTemporaryDir m_dir;
    test::FakePlatform m_platform;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<State> m_fresh;
    std::unique_ptr<State> m_started;
};

// Bytes of one input as a QByteArray (deep copy: libFuzzer reuses its buffer).
inline QByteArray Input(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace corvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
