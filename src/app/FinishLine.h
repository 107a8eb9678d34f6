#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <time.h>

// The start-up benchmark's finish line, crossed by the program and by the plain Qt program
// it is measured against alike: the system-wide monotonic clock and the peak resident size are written
// to the named file ("<nanoseconds> <peak KiB>"). What the process does afterwards (it closes as
// it always does) is not timed.
inline void CrossFinishLine(const QString &path)
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    QByteArray peak = "0";
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').value(0);
        }
    }
    QFile finish(path);
    if (finish.open(QIODevice::WriteOnly))
        finish.write(QByteArray::number(qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec) + ' ' + peak + '\n');
}
