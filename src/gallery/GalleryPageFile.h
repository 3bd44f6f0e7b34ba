#pragma once

#include <QString>
#include <QStringList>

namespace albivex {

// Writes a page of the offline album whole or not at all (QSaveFile): true when it is
// there; else a line "path: reason" goes to `errors`. Blocking file work.
bool WriteGalleryPage(const QString &path, const QString &html, QStringList &errors);

} // namespace albivex
