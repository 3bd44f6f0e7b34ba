#include "qzone/AlbumAnswer.h"

#include "qzone/CutRule.h"

#include <QCryptographicHash>
#include <QUrl>

namespace albivex {

bool NeedsAnswer(int priv)
{
    return priv == PrivPassword || priv == PrivQuestion;
}

AlbumAnswerKeys AnswerKeys(const AlbumEntry &album, const QString &userAnswer)
{
    const auto md5Hex = [](const QByteArray &bytes) {
        return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    };
    switch (album.priv) {
    case PrivQuestion:
        return {album.question, md5Hex(QUrl::toPercentEncoding(userAnswer)).toUpper()};
    case PrivPassword:
        return {QString(), md5Hex(userAnswer.toUtf8())};
    default:
        return {};
    }
}

bool IsWrongAnswer(QStringView answer)
{
    const QString marker = KeyMarker(u"code");
    const qsizetype at = answer.indexOf(marker);
    if (at < 0)
        return false;
    bool ok = false;
    const int code = ScalarPieceValue(answer.sliced(at + marker.size())).toInt(&ok);
    return ok && code == WrongAnswerCode;
}

} // namespace albivex
