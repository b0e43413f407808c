#pragma once
// Preset files on disk: the main window's "保存" and "加载".

#include "presets/FileNameBytes.h"
#include "presets/PresetCodec.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

struct PresetFileState {
    // Set by ParsePresetLines when the whole file checked out.
    bool PresetOk = false;
    // Plain lines of the last save or load.
    QStringList Lines;
};

extern PresetFileState PresetFiles;

void ResetPresetFileState();

// Writes modules 1..3 of DeviceImage to a file the user chooses.
void SavePreset();
// Reads a file back into DeviceImage and, online, uploads the whole image.
void LoadPreset();
// The same for a file already chosen in the load dialog, with the same checks
// and messages.
void LoadPresetFile(const QString& fileName);

// Reads a preset file (a regular file of at most 64 kB) and checks all of it;
// a refusal is shown with the file's name and the reason in the box's detail
// text. Nothing is stored.
std::optional<PresetContents> ReadPresetForLoad(const QString& fileName);
// Stores checked contents into DeviceImage as one undo step and, online,
// uploads the whole image; nothing while a transfer holds the image.
void ApplyLoadedPreset(const PresetContents& contents);
// "把 FILE 写入设备?", No by default: a file the user did not pick in the load
// dialog (command line, hand-over) is written only on Yes. Values outside
// their parameters' ranges are listed by name in the same question.
bool AskToWritePreset(const QString& fileName, const PresetContents& contents);
// A file picked in the load dialog that holds such values is stored only
// after a Yes (No by default); true at once when it holds none.
bool ConfirmOutOfRange(const QString& fileName, const PresetContents& contents);

// Checks plain lines 2..lastLine (count, every parameter line, checksum) and
// only when all of it is right stores them into DeviceImage; sets PresetOk.
void ParsePresetLines(const QStringList& lines, int lastLine);

// Chinese text when LanguageFlag is 1, else the English one, with an OK button;
// the detail (which file, what was wrong) in the box's detail text.
void ShowMessagePair(const QString& chinese, const QString& english,
                     const QString& detail = QString());
