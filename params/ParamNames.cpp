#include "params/ParamNames.h"

#include <QCoreApplication>

ParamLanguage ConsoleParamLanguage() {
    //: The language of the parameter names: "zh" in the source, "en" in English.
    return QCoreApplication::translate("ParamNames", "zh") == QLatin1String("en")
               ? ParamLanguage::English
               : ParamLanguage::Chinese;
}

QString ParamDisplayText(int address) {
    if (const ParamEntry* e = FindParam(address))
        return QString::fromStdString(ParamDisplayName(*e, ConsoleParamLanguage()));
    return QString::fromStdString(ParamKeyOf(address));
}
