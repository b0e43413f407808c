#pragma once
// Preset files on disk: the main window's "保存" and "加载".

#include <QString>
#include <QStringList>

struct PresetFileState {
    // Set by ParsePresetLines when the whole file checked out.
    bool PresetOk = false;
    // Plain lines of the last save or load (also shown in the main window's Memo1).
    QStringList Lines;
};

extern PresetFileState PresetFiles;

void ResetPresetFileState();

// Writes modules 1..3 of DeviceImage to a file the user chooses.
void SavePreset();
// Reads a file back into DeviceImage and, online, uploads the whole image.
void LoadPreset();
// The same for a file already chosen (the console's command line), with the
// same checks and messages.
void LoadPresetFile(const QString& fileName);

// Checks plain lines 2..lastLine (count, every parameter line, checksum) and
// only when all of it is right stores them into DeviceImage; sets PresetOk.
void ParsePresetLines(const QStringList& lines, int lastLine);

// Chinese text when LanguageFlag is 1, else the English one, with an OK button.
void ShowMessagePair(const QString& chinese, const QString& english);
