#include "gallery/GalleryPageFile.h"

#include <QSaveFile>

namespace albivex {

bool WriteGalleryPage(const QString &path, const QString &html, QStringList &errors)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(html.toUtf8()) >= 0 && file.commit())
        return true;
    errors << path + QStringLiteral(": ") + file.errorString();
    return false;
}

} // namespace albivex
