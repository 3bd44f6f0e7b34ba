#include "storage/VideoSignature.h"

#include "storage/FileTypeBox.h"

namespace albivex {

VideoSignature CheckVideoSignature(const QByteArray &head, bool complete)
{
    switch (CheckFileTypeBox(head, complete)) {
    case FileTypeBox::OtherMedia:
        return VideoSignature::Video;
    case FileTypeBox::NeedMoreBytes:
        return VideoSignature::NeedMoreBytes;
    case FileTypeBox::None:
    case FileTypeBox::Heif:
        break;
    }
    return VideoSignature::NotVideo;
}

} // namespace albivex
