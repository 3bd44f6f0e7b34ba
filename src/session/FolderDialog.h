#pragma once

#include <QString>

#include <functional>

namespace albivex {

// The folder choice of "设置路径": folders only, asynchronous. `chosen` gets the
// full path, or empty text when the user cancelled.
class FolderDialog
{
public:
    virtual ~FolderDialog() = default;
    virtual void chooseFolder(const QString &title, std::function<void(const QString &path)> chosen) = 0;
};

} // namespace albivex
