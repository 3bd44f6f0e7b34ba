#pragma once

#include "standin/DataSet.h"

#include <QByteArray>

namespace albivex::standin {

// Album list answers meant to hurt: huge, with very many albums, or broken. Built as
// UTF-8 bytes.
class HostileAnswers
{
public:
    // The given albums, the second of them with a description that brings the answer
    // to about `bytes` bytes (no comma inside it, so a reader keeps it whole).
    static QByteArray hugeAlbumList(const QString &callback, const QString &root,
                                    const QList<AlbumInfo> &albums, qint64 bytes);
    // `count` small albums, each with all six keys, in the list named `listKey`
    // ("albumListModeSort"; "photoList" makes them the pictures of a photo list).
    static QByteArray manyAlbums(const QString &callback, int count,
                                 const QByteArray &listKey = QByteArrayLiteral("albumListModeSort"));
    // A code-0 answer whose list `listKey` is empty while `countKey` says `count`.
    static QByteArray throttledEmpty(const QString &callback, const QByteArray &listKey,
                                     const QByteArray &countKey, int count);
    // Values whose quotes do not pair up, an escaped quote before a comma, and an
    // answer that ends inside a value.
    static QByteArray unbalancedQuotes(const QString &callback, const QString &root);
};

} // namespace albivex::standin
