#pragma once

#include "storage/FileTypeBox.h"

#include <QByteArray>
#include <QString>

namespace albivex {

// What the first bytes of a body say about it. Services answer a missing or refused
// picture with an HTML page and a success status; only the leading bytes tell.
enum class PictureSignature {
    NeedMoreBytes, // the bytes so far could still start a picture
    Picture, // JPEG, PNG, GIF, BMP, WebP or HEIF (HEIC)
    NotPicture,
};

// Enough leading bytes to decide for every format known here (a HEIF picture may name
// its brand among the compatible brands of its file type box).
constexpr int PictureSignatureLength = FileTypeBoxLength;

// `complete` tells that no more bytes will come (a body shorter than the longest
// signature); then an undecided head counts as no picture. A file type box of any
// brand but the HEIF ones (an MP4 video) is no picture.
PictureSignature CheckPictureSignature(const QByteArray &head, bool complete);

// The file extension for a picture by its leading bytes: ".jpg", ".png", ".gif",
// ".webp", ".bmp" or ".heic"; empty when they start none of these (or are too few to
// tell). Originals are named by what they are, whatever their address says.
QString PictureExtension(const QByteArray &head);

} // namespace albivex
