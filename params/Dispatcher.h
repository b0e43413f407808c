#pragma once
// Control binding, parameter dispatch and screen refresh over the global
// tables of params/ParamImage.h, params/ControlBindings.h and
// params/DispatchState.h.

#include "params/ValueScales.h"

#include <QChar>

class QObject;
class QWidget;
struct ControlTable;

// Step values of SetControlValue and CommitEdit.
constexpr int StepNone = 0;
constexpr int StepUp = 1;
constexpr int StepDown = 11;

// No band on the graph (BandOfAddress).
constexpr int NoBand = 255;

// Binding tables, control addresses and the start contents of DeviceImage,
// from the main window's table of its controls (params/ControlBindings.h).
void BuildControlMap(const ControlTable& table);
// Forgets the bound controls (their window is going).
void ClearControlBindings();

// The Q slot a band's Q edit acts on for the band's current type; other
// addresses unchanged.
int ControlAddress(int tag);
// band * 256 + position on the graph of CurrentModule, or NoBand.
int BandOfAddress(int address);

// The one path from a control value to its text, the images and the link.
void SetControlValue(QObject* control, int step, ValueSource source, double x);
// Commits the text of CurrentEdit.
void CommitEdit(int step);

int SelectTab(QObject* button);
int TogglePass(QObject* button);
int TogglePhase(QObject* button);
void SelectBand(QObject* control);

// Parameter control handlers.
void MusModeBox1Change(QObject* Sender);
void MusBypassCheck1Click(QObject* Sender);
void OutRDelayBarChange(QObject* Sender);
void SysMusNormalVolBarChange(QObject* Sender);
void OutLPhaseBtnClick(QObject* Sender);
void DEQALLPASSBtn1Click(QObject* Sender);
void MusEQAllpassBtnClick(QObject* Sender);
void SysInputRadio1Click(QObject* Sender);
void LMH_BYPSSBoxChange(QObject* Sender);
void MusFreEdit1Click(QObject* Sender);
// Focus came into the edit by any means: it is selected as by a click.
void MusFreEdit1Enter(QObject* Sender);
void MusFreEdit1Exit(QObject* Sender);
void MusFreEdit1KeyDown(QObject* Sender, int key);
// Sets *discard for characters the parameter edits do not take.
void MusFreEdit1KeyPress(QObject* Sender, QChar key, bool* discard);

// Every bound control in line with ParamImage (after CopyDeviceImage).
void RefreshScreen();

// Default bands of one module, or of every module with AllModules.
constexpr int AllModules = -1;
void ResetEqBands(int target);

void ResetBtnClick(QObject* Sender);
void RmsResetBtnClick(QObject* Sender);

// True for a bound polarity button (the layout makes them 25 pixels wide).
bool IsPhaseButton(const QObject* control);
