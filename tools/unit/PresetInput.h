#pragma once
// A preset file as kalviren-unit takes it: read bounded from a regular file and
// checked as the console's loader checks it.

#include "presets/PresetCodec.h"

#include <QString>
#include <QStringList>

// Larger than any preset the console writes by far.
constexpr qint64 PresetInputMaxBytes = 64 * 1024;

struct PresetInput {
    PresetContents Contents;
    QString Error;          // why the file is refused; empty when it is usable
    QStringList Questioned; // "KEY=RAW" of values no control of the console sets
};

PresetInput ReadPresetInput(const QString& path);
