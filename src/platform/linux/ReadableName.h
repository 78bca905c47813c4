#pragma once
// Text for a file name whose bytes may not be UTF-8.
//
// Valid UTF-8 is shown as it is. Other names most often come from old
// Japanese archives, so Shift_JIS is tried next; what neither reads is
// shown with replacement characters. The bytes themselves are never
// rebuilt from this text.
#include <QByteArrayView>
#include <QString>

namespace shellns {

QString readableName(QByteArrayView name);

} // namespace shellns
