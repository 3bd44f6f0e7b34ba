#include "storage/PlaceholderCheck.h"

#include <QBuffer>
#include <QImageReader>

namespace albivex {

PlaceholderVerdict CheckPlaceholder(const QByteArray &head, const QSize &listed, bool complete,
                                    bool gifStandsIn)
{
    if (listed.width() <= 0 || listed.height() <= 0)
        return PlaceholderVerdict::Picture;
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return complete ? PlaceholderVerdict::Picture : PlaceholderVerdict::NeedMoreBytes;
    if (gifStandsIn && head.startsWith("GIF8") && size != listed)
        return PlaceholderVerdict::Placeholder;
    const bool small
        = qint64(size.width()) * 4 < listed.width() && qint64(size.height()) * 4 < listed.height();
    return small ? PlaceholderVerdict::Placeholder : PlaceholderVerdict::Picture;
}

} // namespace albivex
