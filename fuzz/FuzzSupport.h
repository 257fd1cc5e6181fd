#pragma once

#include <QString>
#include <fuzzer/FuzzedDataProvider.h>

// What every fuzz target shares: the offscreen application (started by
// LLVMFuzzerInitialize here), text made from the input, and a check that
// stops the run with the failing input saved.
namespace Fuzz {

// The rest of the input as text: UTF-8 (broken sequences become U+FFFD), or,
// when the input's last byte is odd, raw UTF-16 units, which reach unpaired
// surrogates too.
QString remainingText(FuzzedDataProvider& data);
// Up to maxLength units of text taken from the input the same way.
QString text(FuzzedDataProvider& data, size_t maxLength);

// A position in 0..length, favouring the ends.
qsizetype position(FuzzedDataProvider& data, qsizetype length);

// Aborts with `what` and the details when ok is false.
void check(bool ok, const char* what, const QString& details = {});

// Shows a string with control and non-ASCII characters escaped.
QString quoted(const QString& text);

} // namespace Fuzz
