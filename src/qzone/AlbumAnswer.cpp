#include "qzone/AlbumAnswer.h"

#include "qzone/AnswerVerdict.h"

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
    // The code is read as every other answer's is: only the top-level one counts.
    return ReadAnswerVerdict(0, answer).code == WrongAnswerCode;
}

} // namespace albivex
