#pragma once
// What the main window hands down to the parts below it: its parameter
// controls as the control map's table, and the few others the dispatcher, the
// refresh and the device memory act on.

class TForm1;

// The control map of the window's parameter controls (on its first showing).
void MapParamControls(TForm1& form);
// The dispatcher's, the refresh's and the device memory's own controls, given
// once the layout is built.
void HandDownControls(TForm1& form);
// Takes them back from the parts (the window is going).
void TakeBackControls();
