// ParseBoardList reads the message board's answers message by message, and
// BoardPlainText turns a message's UBB codes into plain text. Any input: no crash.
// An input that is well-formed JSON with data.commentList is read against
// QJsonDocument: one message per object of the list, in order, each text value that
// is a string read exactly, each reply list counted; and the plain text of every
// message keeps no picture code it reported as a picture.

#include "FuzzSupport.h"
#include "qzone/BoardListParser.h"
#include "qzone/BoardText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void RequireSame(const QJsonObject &object, const char *key, const QString &read)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isString())
        Require(read == value.toString(), "a string value is read as it stands", QString::fromLatin1(key));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    const BoardListPage page = ParseBoardList(text);
    Require(page.total >= -1, "a count is never below unknown");
    for (const BoardMessage &message : page.messages) {
        const BoardText plain = BoardPlainText(message.ubbContent);
        for (const QString &picture : plain.pictures)
            Require(!plain.text.contains(QStringLiteral("[img]") + picture + QStringLiteral("[/img]")),
                    "a picture code reported is taken out of the text", picture);
    }

    const QJsonDocument json = QJsonDocument::fromJson(bytes);
    const QJsonValue list
        = json.object().value(QLatin1String("data")).toObject().value(QLatin1String("commentList"));
    if (!json.isObject() || !list.isArray() || bytes.contains("\\u") || bytes.count("\"commentList\"") != 1)
        return 0;
    QList<QJsonObject> objects;
    for (const QJsonValue &value : list.toArray()) {
        if (value.isObject())
            objects << value.toObject();
    }
    Require(page.messages.size() == objects.size(), "one message per object of the list");
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const BoardMessage &m = page.messages.at(i);
        RequireSame(objects.at(i), "id", m.id);
        RequireSame(objects.at(i), "nickname", m.nickname);
        RequireSame(objects.at(i), "ubbContent", m.ubbContent);
        const QJsonValue replies = objects.at(i).value(QLatin1String("replyList"));
        if (replies.isArray()) {
            qsizetype count = 0;
            for (const QJsonValue &reply : replies.toArray())
                count += reply.isObject() ? 1 : 0;
            Require(m.replies.size() == count, "one reply per object of the reply list");
        }
    }
    return 0;
}
