#pragma once
// Window-level state shared by the subsystems; reset when a main window is created.

#include <QCoreApplication>
#include <QString>
#include <cstdint>

class QWidget;

struct CurveWrite {
    int32_t Address = 0;
    int32_t Value = 0;
    bool operator==(const CurveWrite&) const = default;
};

struct WindowState {
    int32_t LanguageFlag = 1; // 1 selects the Chinese text of every message pair; follows the language
    int32_t CurrentModule = 1;
    QString MainCaption = QCoreApplication::translate("WindowState", "QZ系列 DSP控制软件 v3.4.2 Beta");
    QString VariantCaption = QCoreApplication::translate("WindowState", "QZ系列 DSP控制软件 v3.4.2 Beta");
    QWidget* EqHandles[17]{};
    CurveWrite LastCurveWrite;
    CurveWrite DrawnCurveWrite;
};

extern WindowState Window;

void ResetWindowState();

// The Chinese or the English text by LanguageFlag.
inline QString Lang(const QString& chinese, const QString& english) {
    return Window.LanguageFlag == 1 ? chinese : english;
}
