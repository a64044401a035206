#include "main_program.h"

#include "core/command_channel.h"

void MainScript()
{
    EndProgram();
}
