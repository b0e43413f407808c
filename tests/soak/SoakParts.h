#pragma once
// Pieces of the link soak: the faults it plays, what it measures of the process.

#include "link/LinkSession.h"
#include "params/ParamImage.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

// Resident set size in kB (Linux), 0 where unknown.
inline long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

inline int EnvInt(const char* name, int fallback) {
    const QByteArray v = qgetenv(name);
    if (v.isEmpty()) return fallback;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

// Slots of a module that the read after a connect or a recall brings back:
// whole packets of ten values, indexes below 85.
inline int ReadBackSlots(int module) {
    const int packets = ModuleParamCount[module] / 10 + 1;
    return std::min(packets * 10, BulkIndexLimit);
}

enum FaultKind {
    FaultDrop,      // every n-th answer lost
    FaultLate,      // answers held back
    FaultChecksum,  // answers with a wrong checksum byte
    FaultForeign,   // answers from another device identifier
    FaultSilent,    // no answers at all, long enough to lose the link
    FaultUnplug,    // cable out, cable in
    FaultRefused,   // every status answered with "limit reached"
    FaultKinds
};

inline const char* const FaultNames[FaultKinds] = {"drop", "late", "checksum", "foreign",
                                            "silent", "unplug", "refused"};

struct OnlineWrite {
    int value = 0;
    int epoch = 0;
};
