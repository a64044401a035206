#pragma once
// Error and warning reports shown as message boxes owned by the main window.

// The body text of every report box.
extern const char* const ReportBoxBody;

void InstallMessageBoxErrorBoxes();
