#include "storage/PictureSignature.h"

namespace albivex {

namespace {

// One signature: `length` bytes of which those marked '?' in `mask` may be anything.
struct Signature
{
    const char *bytes;
    int length;
    const char *mask;
    const char *extension;
};

const Signature Signatures[] = {
    {"\xFF\xD8\xFF", 3, "xxx", ".jpg"}, // JPEG
    {"\x89PNG\r\n\x1A\n", 8, "xxxxxxxx", ".png"}, // PNG
    {"GIF87a", 6, "xxxxxx", ".gif"},
    {"GIF89a", 6, "xxxxxx", ".gif"},
    {"BM", 2, "xx", ".bmp"}, // BMP
    {"RIFF????WEBP", 12, "xxxx????xxxx", ".webp"}, // WebP
};

// Number of leading bytes of `head` that agree with the signature, or -1 on a mismatch.
int agreeing(const QByteArray &head, const Signature &signature)
{
    const int n = qMin<int>(head.size(), signature.length);
    for (int i = 0; i < n; ++i) {
        if (signature.mask[i] == 'x' && head.at(i) != signature.bytes[i])
            return -1;
    }
    return n;
}

} // namespace

PictureSignature CheckPictureSignature(const QByteArray &head, bool complete)
{
    bool couldStillMatch = false;
    for (const Signature &signature : Signatures) {
        const int n = agreeing(head, signature);
        if (n == signature.length)
            return PictureSignature::Picture;
        if (n >= 0)
            couldStillMatch = true;
    }
    switch (CheckFileTypeBox(head, complete)) {
    case FileTypeBox::Heif:
        return PictureSignature::Picture;
    case FileTypeBox::NeedMoreBytes:
        couldStillMatch = true;
        break;
    case FileTypeBox::None:
    case FileTypeBox::OtherMedia:
        break;
    }
    return couldStillMatch && !complete ? PictureSignature::NeedMoreBytes : PictureSignature::NotPicture;
}

QString PictureExtension(const QByteArray &head)
{
    for (const Signature &signature : Signatures) {
        if (agreeing(head, signature) == signature.length)
            return QString::fromLatin1(signature.extension);
    }
    return CheckFileTypeBox(head, true) == FileTypeBox::Heif ? QStringLiteral(".heic") : QString();
}

} // namespace albivex
