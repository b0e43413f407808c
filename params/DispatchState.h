#pragma once
// State of the control dispatcher; single instance, reset for every new main window.

#include "params/ValueScales.h"

#include <QHash>
#include <QString>
#include <cstdint>

class QLineEdit;

struct DispatchState {
    QLineEdit* CurrentEdit = nullptr; // the filler edit means "no edit"
    // Per edit: the text its last successful commit or display left; a refused
    // entry gets it back.
    QHash<const QLineEdit*, QString> LastGoodText;
    int32_t WheelArmed = 0;
    uint8_t ScreenBusy = 0;
    int32_t SendSuppressed = 0;
    uint8_t TrackSyncGuard = 0;
    int32_t SelectedBand[4]{};
    int32_t PassState[4]{};
    // 1 while the link moves a whole parameter set or awaits a memory command:
    // the user's changes are refused until it ends.
    uint8_t InputHeld = 0;
};

extern DispatchState Dispatch;

void ResetDispatchState();
