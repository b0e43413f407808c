#pragma once
// The main window's undo and redo: the history, its two actions with the
// shortcuts, the two buttons that show what would be undone, and the clear
// after every read of the unit's parameters.

class TForm1;

// Ctrl+Z undoes; Ctrl+Shift+Z and Ctrl+Y redo. In a parameter edit the keys
// first undo and redo the typing not yet committed (the edit's own text
// history), then the console's changes; in the compressor's spin edits, where
// every keystroke is already a change, they are always the console's.
void InstallUndoActions(TForm1* form);
