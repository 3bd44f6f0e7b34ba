#pragma once

#include "qzone/AlbumEntry.h"

#include <QString>
#include <QStringView>

namespace albivex {

// Albums behind a password or a question (AlbumEntry::priv). Their photo lists answer
// only a request that carries the keys made from the right answer (PhotoListRequest's
// question and answer); otherwise the code WrongAnswerCode and no pictures.
inline constexpr int PrivPassword = 2;
inline constexpr int PrivQuestion = 5;
inline constexpr int WrongAnswerCode = -10805;

// Whether the photo list of an album of this priv needs an answer: priv 2 or 5.
bool NeedsAnswer(int priv);

// The photo-list keys for the user's answer.
struct AlbumAnswerKeys
{
    QString question;
    QString answer;
};

// - priv 5 (question): question = the album's question text; answer = the upper-case
//   hexadecimal MD5 of the answer as UTF-8, percent-encoded (QUrl::toPercentEncoding,
//   every byte but letters, digits and -._~);
// - priv 2 (password): question empty; answer = the lower-case hexadecimal MD5 of the
//   password as UTF-8;
// - any other album: both empty.
// The answer is never logged: it opens the album to anyone who has it.
AlbumAnswerKeys AnswerKeys(const AlbumEntry &album, const QString &userAnswer);

// Whether a service answer refuses a wrong (or missing) answer: its top-level code,
// read as ReadAnswerVerdict reads it, is WrongAnswerCode.
bool IsWrongAnswer(QStringView answer);

} // namespace albivex
