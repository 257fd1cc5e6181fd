#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The one strict UTF-8 codec for file contents: any invalid sequence is a
// failure, never a silent replacement character.
namespace Utf8 {

// Decodes bytes exactly; a leading U+FEFF in the bytes stays in the text.
std::optional<QString> decode(QByteArrayView bytes);
// Encodes text; fails on unpaired surrogates instead of substituting.
std::optional<QByteArray> encode(QStringView text);

} // namespace Utf8
