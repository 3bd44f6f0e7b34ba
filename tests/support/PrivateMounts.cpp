#include "PrivateMounts.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Set once in main(), before any thread exists; read only afterwards.
QString &unavailableReason()
{
    static QString reason = QStringLiteral("EnterPrivateMounts() was not called");
    return reason;
}

QString lastError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool EnterPrivateMounts()
{
    if (::geteuid() != 0) {
        unavailableReason() = QStringLiteral("mounting needs root (CI runs the tests as root)");
        return false;
    }
    if (::unshare(CLONE_NEWNS) != 0) {
        unavailableReason() = lastError("no mount namespace of our own (unshare)");
        return false;
    }
    // Nothing mounted from here on travels back to the namespace we came from.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        unavailableReason() = lastError("cannot make the mounts private");
        return false;
    }
    unavailableReason().clear();
    return true;
}

QString PrivateMountsUnavailable()
{
    return unavailableReason();
}

bool MountTmpfs(const QString &folder, qint64 bytes, QString *error)
{
    if (!PrivateMountsUnavailable().isEmpty())
        return fail(error, PrivateMountsUnavailable());
    const QByteArray target = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("albivex-test", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0)
        return fail(error, lastError("mount tmpfs"));
    return true;
}

bool MakeReadOnly(const QString &folder, QString *error)
{
    if (!PrivateMountsUnavailable().isEmpty())
        return fail(error, PrivateMountsUnavailable());
    // A new mount of the folder on itself has no writers yet, so it can be made
    // read-only even while files below the folder are open for writing.
    const QByteArray target = QFile::encodeName(folder);
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
        return fail(error, lastError("bind mount"));
    if (::mount(nullptr, target.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        const QString text = lastError("read-only remount");
        ::umount2(target.constData(), MNT_DETACH);
        return fail(error, text);
    }
    return true;
}

bool Unmount(const QString &folder)
{
    return ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH) == 0;
}

bool MakeFolderReadOnly(const QString &folder, QString *error)
{
    if (PrivateMountsUnavailable().isEmpty())
        return MakeReadOnly(folder, error);
    if (::geteuid() == 0)
        return fail(error,
                    QStringLiteral("permission bits do not stop root, and ") + PrivateMountsUnavailable());
    if (!QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
        return fail(error, QStringLiteral("cannot take the write permission from ") + folder);
    return true;
}

bool MakeFolderWritableAgain(const QString &folder)
{
    if (PrivateMountsUnavailable().isEmpty())
        return Unmount(folder);
    return QFile::setPermissions(folder,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
