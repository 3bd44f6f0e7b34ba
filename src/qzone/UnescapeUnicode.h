#pragma once

#include <QString>

namespace albivex {

// Decodes every backslash-u escape: the marker is dropped, the up to four characters
// after it go through HexToChar, the rest of the piece stays. Text before the first
// marker is never touched.
QString UnescapeUnicode(const QString &text);
// The same, decoding a text no longer needed in its own buffer.
QString UnescapeUnicode(QString &&text);

// The piece (at most four characters) read as a hexadecimal number gives one UTF-16
// code unit; a piece that does not read as one comes back unchanged.
QString HexToChar(const QString &piece);

} // namespace albivex
