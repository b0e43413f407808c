#pragma once
// A preset file as kalviren-unit takes it: read by the shared bounded reader
// and checked as the console's loader checks it.

#include "presets/PresetCodec.h"

#include <QString>
#include <QStringList>

struct PresetInput {
    PresetContents Contents;
    QString Error;          // why the file is refused; empty when it is usable
    QStringList Questioned; // "KEY=RAW" of values no control of the console sets
};

PresetInput ReadPresetInput(const QString& path);
