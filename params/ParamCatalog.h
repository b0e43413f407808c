#pragma once
// The parameter catalogue: every slot the console, a preset file or a bulk
// transfer addresses, with what a person, a script or a difference list needs
// to know of it. Standard library only; one table, built on first use, read-only.
//
// Keys (stable ASCII, for scripts and command lines):
//   bandN.type|freq|gain|q|qshelf      main channel band N (1..9); type holds
//                                      type + 10 x bypass; q is the first Q slot
//                                      (peaking bands), qshelf the second (others)
//   aux.bandN.*, default.bandN.*       the same for the auxiliary bands (1..2) and
//                                      the default-EQ rows of the factory page (1..4)
//   hp.type, hp.freq, lp.type, lp.freq crossovers; also aux.hp.*, default.hp.* ...
//   deqN.pass|type|freq|gain|q|trigger|start|cutoff   dynamic equaliser N (1..2)
//   delay.left|right, phase.left|right, volume, eq.pass,
//   comp.on|attack|release, comp.point0..comp.point4,
//   aux.gain, aux.mode, aux.phase.left|right, input, port.level,
//   mem.recall, mem.save               the device-memory commands
//   mM.N                               a slot the unit owns (no control): module M,
//                                      index N in decimal ("m0.1", "m3.0"). Every
//                                      catalogued slot also answers to its mM.N
//                                      form in FindParamByKey.

#include "params/ParamImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The device-memory commands are writes to module 0, not parameters.
constexpr int MemoryRecallAddress = 0 * 256 + 12;
constexpr int MemorySaveAddress = 0 * 256 + 13;
constexpr int MemoryRecallValue = 0;   // back to the saved parameters
constexpr int MemoryFactoryValue = 85; // back to the factory parameters (same slot)
constexpr int MemorySaveValue = 0;     // save the current parameters

// The crossover slots of the main channel (module 1), the auxiliary channel
// and the default EQ of the factory page (both module 2).
struct CrossoverSlots {
    int Module, HighPassType, HighPassFreq, LowPassType, LowPassFreq;
};
constexpr CrossoverSlots MainCrossover{1, 13, 15, 16, 18};
constexpr CrossoverSlots AuxCrossover{2, 29, 30, 31, 32};
constexpr CrossoverSlots DefaultEqCrossover{2, 63, 64, 65, 66};
// The crossover the graph draws for a module: the main channel's for 1, the
// auxiliary channel's for 2.
constexpr const CrossoverSlots& CrossoverOf(int module) {
    return module == 1 ? MainCrossover : AuxCrossover;
}

// The unit's own slots of module 0 that say what it is: the variant in the low
// byte of the first (1: the main variant), the version's second and third numbers.
constexpr int VariantSlot = 1, VersionSecondSlot = 4, VersionThirdSlot = 6;

// The slots of the two dynamic equalisers (module 2).
struct DeqSlots {
    int Pass, Type, Freq, Gain, Q, Trigger, Start, Cutoff;
};
constexpr DeqSlots Deq1Slots{1, 2, 3, 4, 5, 7, 8, 9};
constexpr DeqSlots Deq2Slots{13, 14, 15, 16, 17, 19, 20, 21};

constexpr int SlotAddress(int module, int index) {
    return module * 256 + index;
}

enum class ParamLanguage { Chinese, English };

// How a raw value reads in the user's units.
enum class ParamScale {
    Raw,             // the number itself (device-owned slots)
    Frequency,       // FreqTable index, "1000.0 Hz"
    Gain,            // raw / 5 - 24, "-2.5 dB"
    Q,               // QTable index, "0.71"
    BandType,        // band type item + 10 x bypass
    List,            // item index of a combo box or two-state button
    Delay,           // 0.1 ms steps, "12.0 ms"
    Attack,          // ms, "20.0 ms"
    Release,         // ReleaseMultipleTable index, "Atk x 8"
    AuxGain,         // 3 x raw - 9, "0 dB"
    DeqStart,        // raw - 36, "-20 dBu"
    DeqCutoff,       // raw - 30, "-20 dBu"
    Volume,          // raw / 10, "5.0" ("100.0" from 998)
    CompressorPoint, // (in + 200) x 256 + (out + 200), "-40/-40 dB"
    Memory,          // a device-memory command value
};

enum class ParamGroup { Device, System, Main, Aux, DefaultEq, DynamicEq1, DynamicEq2 };

enum class BandField { None, Type, Freq, Gain, Q, QShelf };

struct ParamEntry {
    int Module = 0;
    int Index = 0;
    std::string Key;
    // As a screen reader or a difference list names it: "频段 3 频率", "Band 3 frequency".
    std::string NameZh, NameEn;
    // As the undo texts name it: "增益 3", "Gain 3".
    std::string UndoZh, UndoEn;
    // The undo name of a band's type slot changed through its bypass box
    // ("直通 3", "Bypass 3"); empty for every other slot.
    std::string BypassUndoZh, BypassUndoEn;
    int Kind = 0; // the ParamKind of its control (0: none)
    ParamScale Scale = ParamScale::Raw;
    // What the slot's control can hold (inclusive); a slot the unit owns
    // (Scale Raw, no control at all) takes 0..65535. Hidden controls (the
    // volume, the dynamic EQs' trigger, the second dynamic EQ) keep their
    // control's range but have Control false. InRange also checks the gaps
    // inside (band types 5..9, memory values, compressor point bytes).
    int32_t Min = 0, Max = 65535;
    ParamGroup Group = ParamGroup::Device;
    int Band = 0; // band number within its group (1-based), 0 for none
    BandField Field = BandField::None;
    int32_t Start = 0;    // the console's value before any contact with a unit
    bool Control = false; // a visible control of the console writes it (a person can set it)
    bool Preset = false;  // a saved preset file holds it
    // The connect's bulk read and the whole-image upload carry it: ten values a
    // packet, ModuleParamCount / 10 + 1 packets a module, so a few slots past
    // the bound ones travel too.
    bool Bulk = false;
    // List items in raw order (List and BandType), in both languages.
    std::vector<std::string> ItemsZh, ItemsEn;

    int Address() const { return Module * 256 + Index; }
};

// Every entry, in address order.
const std::vector<ParamEntry>& ParamCatalog();
// nullptr when the address (module * 256 + index) is not catalogued.
const ParamEntry* FindParam(int address);
// By key, or by the mM.N form of a catalogued address; nullptr otherwise.
const ParamEntry* FindParamByKey(std::string_view key);
// The address of a key as FindParamByKey finds it; -1 for none.
int ParamAddress(std::string_view key);
// The type slot of the band a slot of a band row belongs to (main, auxiliary
// and default-EQ bands, five slots each); -1 for any other slot, the dynamic
// equalisers' included.
int BandTypeAddressOf(int address);
// The key of a catalogued address; the mM.N form for any other address of
// modules 0..3, index 0..255; "" for an address outside them.
std::string ParamKeyOf(int address);

const std::string& ParamDisplayName(const ParamEntry& entry, ParamLanguage language);
// bypass: the name of a band's type slot changed through its bypass box
// (the plain undo name for every other slot).
const std::string& ParamUndoName(const ParamEntry& entry, ParamLanguage language,
                                 bool bypass = false);

// Whether raw is a value a person could give the slot with the console's
// controls. False for an uncatalogued address. Rules between two slots (a
// dynamic EQ's start level at or below its cut-off, the order of the
// compressor points) are not checked.
bool InRange(int address, int32_t raw);

// The value in the user's units, e.g. "1000.0 Hz", "-2.5 dB", "0.71", "12.0 ms",
// "Low shelf (bypassed)". A value InRange refuses reads "raw N".
std::string FormatParamValue(const ParamEntry& entry, int32_t raw,
                             ParamLanguage language = ParamLanguage::English);
// A value typed in the user's units ("1000", "1k", "-2.5dB", "0.71", "12 ms",
// "-40/-40" for a compressor point), or a list item by number or by its text
// in either language, to the raw value the console would store for it: numbers
// snap and are held to the range as the console's edits and bars do. nullopt
// when the text is not a value of the slot (no number, an unknown item, a
// device-owned value outside 0..65535 or not whole).
std::optional<int32_t> ParseParamValue(const ParamEntry& entry, std::string_view text);
