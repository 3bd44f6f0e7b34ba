#pragma once

#include <QUrl>

namespace albivex {

// Hands a folder or a web address to the desktop (file manager, web browser).
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl &url) = 0;
};

} // namespace albivex
