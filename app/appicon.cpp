// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appicon.h"

#include <QDir>
#include <QFileInfo>

namespace zorvik {

QIcon applicationIcon()
{
    // Each picture is named by its size, so none is decoded before a window asks for it: the
    // icon then adds nothing to the time the main window takes to show.
    QIcon icon;
    const QDir pictures(QStringLiteral(":/zorvik/icon"));
    for (const QString &name : pictures.entryList(QDir::Files)) {
        const int side = QFileInfo(name).baseName().toInt();
        icon.addFile(pictures.filePath(name), QSize(side, side));
    }
    return icon;
}

} // namespace zorvik
