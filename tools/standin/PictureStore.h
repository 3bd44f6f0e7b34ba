#pragma once

#include "standin/BodySource.h"
#include "standin/PictureRecipe.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QHash>
#include <QMutex>
#include <QString>

#include <memory>

namespace albivex::standin {

class DataSet;

// Maps picture and video addresses (albums' and 说说's) to their bytes. Images are drawn when first asked for
// and kept; a padded picture keeps only its small image and makes the filler while it is sent. Safe to use
// from any thread.
class PictureStore
{
public:
    explicit PictureStore(const DataSet &data);

    struct Picture
    {
        QByteArray contentType; // empty when the address names no picture
        std::shared_ptr<BodySource> body;
        // For a picture (not a cover) or video of an album in another number's space:
        // that number; empty otherwise.
        QString ownerUin;
        bool found() const { return !contentType.isEmpty(); }
    };

    // A fresh body for the address path (without query), or not found.
    Picture find(const QString &path) const;
    // The avatar of a QQ number: a 100 x 100 PNG.
    QByteArray avatar(const QString &uin) const;
    // The GIF served in place of a protected picture (PlaceholderGif).
    QByteArray placeholder() const;
    // The GIF served for a lost 说说 picture (PlaceholderGif::missing).
    QByteArray missingPlaceholder() const;

    // The exact bytes served for the address path; empty when it names no picture.
    QByteArray bytes(const QString &path) const;
    qint64 size(const QString &path) const;
    // Digest of the served bytes, computed piece by piece (for very large pictures).
    QByteArray digest(const QString &path, QCryptographicHash::Algorithm algorithm) const;

    // Drops every kept image.
    void clearCache();

private:
    Picture moodMedia(const QString &path) const;
    QByteArray encoded(const PictureRecipe &recipe) const;
    std::shared_ptr<BodySource> body(const PictureRecipe &recipe) const;

    const DataSet &m_data;
    mutable QMutex m_mutex;
    mutable QHash<QString, QByteArray> m_cache;
};

} // namespace albivex::standin
