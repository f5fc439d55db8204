// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appicon.h"

#include <QDir>
#include <QFileInfo>

namespace zorvik {

QIcon applicationIcon()
{
    // Each picture is named by its size, so none is decoded before a window asks for it: the
    // start-up time is measured against a bare window.
    QIcon icon;
    const QDir pictures(QStringLiteral(":/zorvik/icon"));
    for (const QString &name : pictures.entryList(QDir::Files)) {
        const int side = QFileInfo(name).baseName().toInt();
        icon.addFile(pictures.filePath(name), QSize(side, side));
    }
    return icon;
}

} // namespace zorvik
