// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/usersettings.h"

#include "solver/quotedtext.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace zorvik::calculator {

namespace {

const QString organization = QStringLiteral("zorvik");
const QString application = QStringLiteral("zorvik-engineer");

// Why the last write of the settings failed, for the message; "" when it did not.
QString lastWriteError;
std::function<void(const QString &)> failureHandler;
bool failing = false;

bool readSettings(QIODevice &device, QSettings::SettingsMap &map)
{
    QJsonParseError error;
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        // The next change writes the file anew from what could be read, which is nothing: a
        // file edited by hand and broken keeps its machines in a copy beside it.
        if (const auto *file = qobject_cast<const QFile *>(&device)) {
            const QString kept = file->fileName() + QStringLiteral(".unreadable");
            if (!QFileInfo::exists(kept) && QFile::copy(file->fileName(), kept)) {
                qWarning().noquote()
                    << QStringLiteral("The settings in %1 cannot be read (%2); they are kept "
                                      "as %3.")
                           .arg(file->fileName(), error.errorString(), kept);
            }
        }
        return false;
    }
    map = document.object().toVariantMap();
    return true;
}

// The settings' own file writer takes a short write for a whole one and replaces the old file
// with what it got; refusing here keeps the old file. The device is the new file, still empty
// of anything but these bytes.
bool writeSettings(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray bytes = QJsonDocument(QJsonObject::fromVariantMap(map)).toJson();
    auto *file = qobject_cast<QFileDevice *>(&device);
    lastWriteError = QStringLiteral("the disk did not take it");
    errno = 0;
    if (device.write(bytes) != bytes.size() || !file || !file->flush()) {
        if (errno != 0)
            lastWriteError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat status;
    if (::fstat(file->handle(), &status) != 0 || status.st_size != bytes.size() ||
        ::fsync(file->handle()) != 0) {
        if (errno != 0)
            lastWriteError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    lastWriteError.clear();
    return true;
}

QSettings::Format format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("json"), readSettings, writeSettings);
    return registered;
}

// Settings kept before they went to a file of their own format are taken over once, when the
// new file is not there yet; the old file stays as it was.
void takeOverOldSettings()
{
    static bool checked = false;
    if (checked)
        return;
    checked = true;
    QSettings store(format(), QSettings::UserScope, organization, application);
    if (QFileInfo::exists(store.fileName()))
        return;
    const QSettings old(QSettings::NativeFormat, QSettings::UserScope, organization, application);
    if (!QFileInfo::exists(old.fileName()))
        return;
    for (const QString &key : old.allKeys())
        store.setValue(key, old.value(key));
    if (!keepSettings(store))
        checked = false;
}

} // namespace

QSettings userSettings()
{
    takeOverOldSettings();
    return QSettings(format(), QSettings::UserScope, organization, application);
}

bool keepSettings(QSettings &store)
{
    lastWriteError.clear();
    store.sync();
    // A file that could not be read (kept aside as it was) is still written anew.
    if (store.status() != QSettings::AccessError) {
        failing = false;
        return true;
    }
    if (failing)
        return false;
    failing = true;
    // The settings' writer gives no reason when it fails before it writes, as it does when its
    // lock file cannot be made.
    const QString why = lastWriteError.isEmpty()
                            ? QStringLiteral("the file or its lock file could not be written")
                            : lastWriteError;
    const QString message =
        QStringLiteral("The settings could not be kept in %1: %2.\n\nThe file there keeps the "
                       "settings it had; the calculator tries again at the next change.")
            .arg(QString::fromStdString(quotedText(store.fileName().toStdString(), 200)), why);
    if (failureHandler)
        failureHandler(message);
    else
        qWarning().noquote() << message;
    return false;
}

void setSettingsFailureHandler(std::function<void(const QString &message)> handler)
{
    failureHandler = std::move(handler);
}

} // namespace zorvik::calculator
