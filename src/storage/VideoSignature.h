#pragma once

#include <QByteArray>

namespace albivex {

// What the first bytes of a body say about a video: the video save's counterpart of
// CheckPictureSignature. A video is a file of the ISO base media format (MP4,
// QuickTime) whose file type box names any brand but a HEIF picture's (FileTypeBox.h);
// a HEIC picture is no video, and no picture is one.
enum class VideoSignature {
    NeedMoreBytes,
    Video,
    NotVideo,
};

// `complete` as for CheckPictureSignature; FileTypeBoxLength bytes always decide.
VideoSignature CheckVideoSignature(const QByteArray &head, bool complete);

} // namespace albivex
