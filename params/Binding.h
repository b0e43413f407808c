#pragma once
// Bounds-checked access to the binding tables and the image by address.

#include "params/ParamImage.h"

class QObject;

// The control of a map at an address; nullptr outside the tables.
QWidget* MapAt(QWidget* const (&map)[MapRows][ImageSlots], int address);
// ParamImage at an address; 0 outside the image.
int ImageAt(int address);
// The hidden filler edit that stands for "no control".
bool IsFiller(const QObject* control);
// ParamKind from the control's Hint (modulo 256; missing or above 36 is 0).
int KindOf(const QObject* control);
