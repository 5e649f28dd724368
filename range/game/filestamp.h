#pragma once

#include <QString>
#include <QtGlobal>

// What tells one content of a file from another without reading it: its size, its times and,
// where the system tells files apart by a number, that number. Only a regular file has one.
struct FileStamp
{
    bool regular = false;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;
    qint64 identity = 0;

    static FileStamp of(const QString &fileName);
    bool operator==(const FileStamp &) const = default;
};
