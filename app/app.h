#pragma once

class QApplication;

// The program's identity and language, set before any window is made.
void setUpApplication(QApplication &app);
