// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own pictures, embedded in the executable: the icon (windows, notification area), the
// emblem of the about box and the start-up picture.

#include <QIcon>
#include <QPixmap>

namespace zolbin {

QIcon programIcon();
QPixmap emblemPicture(); // 64 x 64
QPixmap splashPicture(); // 208 x 299

} // namespace zolbin
