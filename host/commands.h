// The routines the host calls: the start-up routine and the handlers of the module's
// commands, the event hook and the export routines.
#ifndef RASQET_HOST_COMMANDS_H
#define RASQET_HOST_COMMANDS_H

#include "host/hostinterface.h"

void WINAPI StartUp();
void WINAPI JpegOptCommand();
void WINAPI WbsCommand();
void WINAPI WbsmCommand();
void WINAPI JpegMenuOnCommand();
void WINAPI JpegMenuOffCommand();
void WINAPI SaveBmpCommand();

void WINAPI EventHook(int eventCode);

void WINAPI JpegExportRoutine();
void WINAPI PngExportRoutine();

#endif
