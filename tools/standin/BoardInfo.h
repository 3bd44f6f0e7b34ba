#pragma once

#include <QList>
#include <QString>

namespace albivex::standin {

// One reply under a 留言板 message.
struct BoardReplyInfo
{
    QString uin; // empty for the board's owner (the main space's is whoever asks)
    QString nick; // empty for the board's owner
    QString content; // UBB text
    qint64 time = 0; // Unix seconds
};

// One message of a space's 留言板 as the stand-in keeps it. Texts are plain UBB (the
// answer escapes them). A message with a picture shows it as [img]ADDRESS[/img] after
// its text, the address on the request's root: /board/p/<id>.jpg.
struct BoardInfo
{
    QString id; // digits, the same in every run
    QString uin; // the writer
    QString nickname;
    QString ubb; // without the picture's code
    bool secret = false; // private: its text goes to the board's owner and its writer only
    bool picture = false;
    qint64 time = 0; // pubtime, Unix seconds
    qint64 modified = 0; // modifytime
    QList<BoardReplyInfo> replies;

    QString picturePath() const { return QStringLiteral("/board/p/%1.jpg").arg(id); }
};

} // namespace albivex::standin
