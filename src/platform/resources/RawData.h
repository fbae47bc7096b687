#pragma once
// The program's own raw-data resources (type 10), built into the executable
// as Qt resources under ":/rcdata/", named "#<number>" or by their name in
// upper case (rcdata.qrc beside the sources that ship them).

#include <QByteArray>
#include <QString>

namespace platform {

constexpr quint16 RT_RCDATA = 10;

// The run-time's LoadResData(id, 10): id "#101" or a name (any case).
// Raises run-time error 326 ("Resource with identifier '<id>' not found")
// when the executable has no such resource.
QByteArray LoadResData(const QString& id);

}  // namespace platform
