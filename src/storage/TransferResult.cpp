#include "storage/TransferResult.h"

namespace albivex {

QString TransferOutcomeName(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Saved:
        return QStringLiteral("saved");
    case TransferOutcome::BadAddress:
        return QStringLiteral("bad address");
    case TransferOutcome::HttpStatus:
        return QStringLiteral("http status");
    case TransferOutcome::Truncated:
        return QStringLiteral("truncated");
    case TransferOutcome::EmptyBody:
        return QStringLiteral("empty body");
    case TransferOutcome::NotAPicture:
        return QStringLiteral("not a picture");
    case TransferOutcome::TimedOut:
        return QStringLiteral("timed out");
    case TransferOutcome::ConnectionFailed:
        return QStringLiteral("connection failed");
    case TransferOutcome::WriteFailed:
        return QStringLiteral("write failed");
    case TransferOutcome::TooLarge:
        return QStringLiteral("too large");
    case TransferOutcome::Placeholder:
        return QStringLiteral("placeholder");
    }
    return QString();
}

} // namespace albivex
