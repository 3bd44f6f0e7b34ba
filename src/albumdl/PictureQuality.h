#pragma once

#include <QString>

namespace albivex {

// Which size of every picture an album download fetches (the quality box:
// index 0 "普通", index 1 "高清").
enum class PictureQuality {
    Normal,
    High,
};

// The address fetched for a listed picture address: with Normal every "/b/" becomes
// "/c/" (the services keep the smaller copy under the "c" folder); with High, and for
// an address without "/b/", the address is unchanged. Folder and file names never
// depend on the quality.
QString QualityAddress(const QString &address, PictureQuality quality);

} // namespace albivex
