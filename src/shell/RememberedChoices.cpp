#include "shell/RememberedChoices.h"

#include <QCoreApplication>
#include <QSettings>

namespace albivex {

namespace {

const QString SaveFolderKey = QStringLiteral("saveFolder");
const QString QualityKey = QStringLiteral("quality");
const QString NamingKey = QStringLiteral("naming");
const QString OnlyNewKey = QStringLiteral("onlyNew");
const QString WriteMetadataKey = QStringLiteral("writeMetadata");
const QString PositionKey = QStringLiteral("windowPosition");

std::optional<bool> boolValue(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    return value.isValid() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

std::optional<int> intValue(const QSettings &settings, const QString &key)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

template<typename T>
void writeOrRemove(QSettings &settings, const QString &key, const std::optional<T> &value)
{
    if (value)
        settings.setValue(key, *value);
    else
        settings.remove(key);
}

} // namespace

QString RememberedChoices::standardFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                     QCoreApplication::applicationName())
        .fileName();
}

RememberedChoices RememberedChoices::read(const QString &file)
{
    const QSettings settings(file, QSettings::IniFormat);
    RememberedChoices choices;
    choices.saveFolder = settings.value(SaveFolderKey).toString();
    choices.qualityIndex = intValue(settings, QualityKey);
    choices.namingMode = intValue(settings, NamingKey);
    choices.onlyNew = boolValue(settings, OnlyNewKey);
    choices.writeMetadata = boolValue(settings, WriteMetadataKey);
    const QVariant position = settings.value(PositionKey);
    if (position.typeId() == QMetaType::QPoint)
        choices.windowPosition = position.toPoint();
    return choices;
}

bool RememberedChoices::write(const QString &file) const
{
    QSettings settings(file, QSettings::IniFormat);
    if (saveFolder.isEmpty())
        settings.remove(SaveFolderKey);
    else
        settings.setValue(SaveFolderKey, saveFolder);
    writeOrRemove(settings, QualityKey, qualityIndex);
    writeOrRemove(settings, NamingKey, namingMode);
    writeOrRemove(settings, OnlyNewKey, onlyNew);
    writeOrRemove(settings, WriteMetadataKey, writeMetadata);
    writeOrRemove(settings, PositionKey, windowPosition);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool IsReachableOnScreens(const QRect &frame, const QList<QRect> &screens)
{
    const QRect band(frame.topLeft(), QSize(frame.width(), qMin(frame.height(), 30)));
    for (const QRect &screen : screens) {
        const QRect shown = band & screen;
        if (shown.width() >= 100 && shown.height() >= 20)
            return true;
    }
    return false;
}

} // namespace albivex
