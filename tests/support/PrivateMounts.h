#pragma once

#include <QString>

// File systems a test mounts for itself: a small tmpfs that fills up, a folder that
// turns read-only. They need the right to mount (root with CAP_SYS_ADMIN, as in CI);
// permission bits would not do, since root writes through them.
//
// EnterPrivateMounts() must run first in main(), before any thread starts: the
// process then gets a mount namespace of its own, which every later thread and child
// process shares, so the test's mounts are seen by the tool under test and vanish
// with the process however it ends, and nothing leaks to the rest of the machine.

// True when the process may mount from now on.
bool EnterPrivateMounts();
// Why mounting is not possible, empty when it is.
QString PrivateMountsUnavailable();

// A tmpfs of `bytes` bytes on the (existing, empty) folder.
bool MountTmpfs(const QString &folder, qint64 bytes, QString *error = nullptr);
// From now on nothing can be created, renamed or removed in the folder or below it:
// a read-only view of the folder is mounted on top of it. Files opened before keep
// writing underneath, but cannot be put in place any more.
bool MakeReadOnly(const QString &folder, QString *error = nullptr);
// Undoes one MountTmpfs or MakeReadOnly of the folder.
bool Unmount(const QString &folder);

// A folder nothing can be written in, for this process whoever it runs as: the
// read-only mount where it may mount (root, as in CI), its permission bits otherwise.
// Fails for root that cannot mount, since the bits would not stop it.
bool MakeFolderReadOnly(const QString &folder, QString *error = nullptr);
// Undoes MakeFolderReadOnly.
bool MakeFolderWritableAgain(const QString &folder);

// main() for a QtTest object that mounts.
#define ALBIVEX_TEST_MAIN_WITH_MOUNTS(TestObject)                                                            \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        EnterPrivateMounts();                                                                                \
        QApplication app(argc, argv);                                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
