#pragma once
// Counts what the process can still make of GDI objects.

// How many more GDI objects the process can make: a leak of one object per command shows as
// a drop of thousands over a loop of thousands of commands.
int FreeGdiHandles();
