#pragma once

#include "standin/MoodInfo.h"

#include <QString>

namespace albivex::standin {

// The 说说 list and detail answers, written `"key" : value` one key a line. Texts are
// JSON strings (today: every character past ASCII as \uXXXX); addresses absolute on the
// request's root with escaped slashes. JSONP for the callback, or the bare object.
class MoodAnswer
{
public:
    // The space's owner as the answers name him.
    struct Owner
    {
        QString uin;
        QString name;
    };
    struct Form
    {
        QString callback;
        bool bare = false; // format=json: no callback around the object
        QString root;
        bool today = false;
    };

    // One page: code, subcode, message, total, usrinfo and msglist (null when `page` is
    // empty). Each post gives at most MoodInfo::ListPictures pictures and a cut text.
    static QString list(const Form &form, const Owner &owner, int total, const QList<MoodInfo> &page);
    // One whole post at the top level, after code, subcode and message.
    static QString detail(const Form &form, const Owner &owner, const MoodInfo &post);
    // The object as JSONP for the callback, or bare.
    static QString wrap(const Form &form, const QString &object);
    // A plain text as a JSON string; `today`: \uXXXX past ASCII.
    static QString text(const QString &plain, bool today);
};

} // namespace albivex::standin
