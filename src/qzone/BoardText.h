#pragma once

#include <QString>
#include <QStringList>

namespace albivex {

// A 留言板 message's UBB text made plain, and the pictures it shows.
struct BoardText
{
    QString text;
    QStringList pictures; // the addresses of its [img] codes, in order
};

// Pure. Formatting codes go and their text stays: [ffg,…] and [ft=…] up to [/ft],
// [b] [i] [u] and their closers (any case), [url=…] up to [/url]. [img]ADDRESS[/img] is
// taken out of the text and its trimmed address listed (an empty one is not). Emoji
// codes ([em]e100[/em]) and every other bracket stay as written, as does an [img]
// never closed: nothing is made up or lost.
BoardText BoardPlainText(const QString &ubb);

} // namespace albivex
