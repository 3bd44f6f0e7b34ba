#include "storage/PlaceholderCheck.h"

#include <QBuffer>
#include <QImageReader>

namespace albivex {

namespace {

// Whether the header may be whole: a JPEG reader reads every segment up to the first
// scan's header before it tells the size, and writes a complaint for every try on
// fewer bytes. A scan header inside a metadata block (an embedded thumbnail's) costs
// one early try.
bool mayHoldSize(const QByteArray &head)
{
    if (!head.startsWith("\xFF\xD8"))
        return head.size() >= 64;
    const qsizetype scan = head.indexOf("\xFF\xDA", 2);
    if (scan < 0 || scan + 4 > head.size())
        return false;
    const int length = (quint8(head.at(scan + 2)) << 8) | quint8(head.at(scan + 3));
    return scan + 2 + length <= head.size();
}

} // namespace

PlaceholderVerdict CheckPlaceholder(const QByteArray &head, const QSize &listed, bool complete)
{
    if (listed.width() <= 0 || listed.height() <= 0)
        return PlaceholderVerdict::Picture;
    const bool whole = complete || head.size() >= PlaceholderHeadBytes;
    if (!whole && !mayHoldSize(head))
        return PlaceholderVerdict::NeedMoreBytes;
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid())
        return whole ? PlaceholderVerdict::Picture : PlaceholderVerdict::NeedMoreBytes;
    const bool small
        = qint64(size.width()) * 4 < listed.width() && qint64(size.height()) * 4 < listed.height();
    return small ? PlaceholderVerdict::Placeholder : PlaceholderVerdict::Picture;
}

} // namespace albivex
