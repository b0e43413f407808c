#pragma once
// The two in-memory copies of the device's parameters. Widget-free: the pure
// tools and tests use the images too; the controls bound to the slots are in
// params/ControlBindings.h.

#include <cstdint>

constexpr int LastModule = 3;
constexpr int ModuleCount = 4;
constexpr int ImageSlots = 86;   // ParamImage slots per module
constexpr int DeviceSlots = 113; // DeviceImage slots per module (0..85 in use)
constexpr int ModuleParamCount[ModuleCount] = {17, 65, 67, 1};
constexpr int BandFirstSlot[ModuleCount] = {0, 20, 33, 0};
constexpr int BandCount[ModuleCount] = {0, 9, 2, 0};

struct ParamModel {
    int32_t ParamImage[ModuleCount][ImageSlots]{};
    int32_t DeviceImage[ModuleCount][DeviceSlots]{};
    // 0 while the device reports the main variant; read by the preset files.
    uint8_t VariantFlag = 0;
};

extern ParamModel Params;

// Back to the program-start state (all zero).
void ResetParamModel();

// ParamImage := DeviceImage for every bound slot.
void CopyDeviceImage();

// Stores a value into both images; addresses outside the images are ignored.
void StoreParam(int moduleAddr, int value);

// Told the address before every StoreParam: the undo history notes which
// slots a user's gesture wrote. nullptr: nobody.
using StoreObserver = void (*)(int moduleAddr);
void SetStoreObserver(StoreObserver observer);
