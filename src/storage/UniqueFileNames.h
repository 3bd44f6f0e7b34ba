#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace albivex {

// Hands out the file names of one run into one album folder so that no two pictures
// share a file: a later picture never replaces an earlier one of the same name.
//
// Names are compared by their stem, the name without its extension (an original's
// extension is only known from its content, after the name was given), and without
// regard to case (as the file systems of Windows and macOS compare them). A stem
// already given, or reserved, is not given again: the later picture gets " (2)",
// " (3)", ... before its extension, the first of them still free. Deterministic: the
// same stems in the same order give the same names.
//
// Every name given fits in MaxNameBytes bytes of UTF-8 together with an extension of
// up to `extensionBytes` bytes: the stem is shortened at a character boundary, never
// the " (n)". Stems shortened to the same text count as the same.
class UniqueFileNames
{
public:
    // Bytes of the longest extension a picture may get (".heic", ".webp").
    static constexpr int MaxExtensionBytes = 5;

    // Never hands out the stem of this file name ("12.abc.jpg" reserves "12.abc"),
    // e.g. a name an earlier run recorded for another picture.
    void reserve(const QString &fileName);

    // The stem to save a picture under whose stem would be `stem`.
    QString take(const QString &stem, int extensionBytes = MaxExtensionBytes);

    // take() for a whole file name: its stem made unique, its extension kept.
    QString takeFileName(const QString &fileName);

    // The stem of a file name: the text before its last "." (none before a leading
    // one); the whole name when it has no extension.
    static QString stemOf(const QString &fileName);

private:
    QSet<QString> m_given; // case-folded stems given or reserved
    QHash<QString, int> m_nextNumber; // case-folded stem -> the next " (n)" to try
};

} // namespace albivex
