#include "services_runtime.h"

#include "file_slots.h"

void InitialiseServices()
{
    FileMode = 2;
}

void CleanupServices()
{
    ResetFileSlots();
}
