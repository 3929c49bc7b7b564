#pragma once

class QApplication;

namespace torumin {

// Runs the program in an application object: the Japanese Qt texts, the
// settings store, start-up, then the main window until the user ends it.
int runProgram(QApplication &app);

// Loads Qt's own Japanese texts (standard buttons read "OK"/"キャンセル"
// whatever the desktop's language). False when they are not installed.
bool installJapaneseQtTexts(QApplication &app);

} // namespace torumin
