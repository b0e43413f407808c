#pragma once
// Every bound control carries its parameter address in "Tag" and its kind
// (or the "0"/"1" state of a two-state button) in "Hint". The dispatcher takes
// address and kind from the binding table (params/Binding.h), read from these
// once when the controls are mapped; a two-state button's state lives here.

#include <QString>

class QObject;

int Tag(const QObject* control);
void SetTag(QObject* control, int tag);
QString Hint(const QObject* control);
void SetHint(QObject* control, const QString& hint);
