#include "params/ControlProps.h"

#include <QObject>
#include <QVariant>

int Tag(const QObject* control) { return control ? control->property("Tag").toInt() : 0; }

void SetTag(QObject* control, int tag) {
    if (control)
        control->setProperty("Tag", tag);
}

QString Hint(const QObject* control) {
    return control ? control->property("Hint").toString() : QString();
}

void SetHint(QObject* control, const QString& hint) {
    if (control)
        control->setProperty("Hint", hint);
}
