#pragma once
// A change of language while the console runs. Every text the console
// translates is traced back to its source, so the windows can show it again
// in the new language without a second list of their texts.

class QString;
class QWidget;

// Traces every text translated from now on; again after translators change,
// so that the tracing comes first.
void TraceTranslatedTexts();

// Switches the console to "zh" or "en" now: installs the language and shows
// every traced text of every window in it: whole texts, texts built from one
// translated pattern ("%1"), the window captions, and the link label's pairs.
// What is computed rather than translated (names from the parameter catalogue)
// follows through Qt's QEvent::LanguageChange to the main window.
void SwitchLanguage(const QString& language);

// The traced texts of a window and its children, as SwitchLanguage shows them.
void RetranslateWindow(QWidget* window);
