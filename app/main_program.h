#pragma once

// The application's main program, run on the program thread.
void MainScript();
