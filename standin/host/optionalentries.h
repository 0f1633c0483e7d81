// The host's optional entry points. Extensions find them with GetProcAddress under the
// names "_GetSysVAdr@4" and "_GetPalAdr@0" when the host offers them.
#ifndef RASQET_STANDIN_HOST_OPTIONALENTRIES_H
#define RASQET_STANDIN_HOST_OPTIONALENTRIES_H

#include <host/hostinterface.h>

extern "C" {
// The record numbered `which`: 3, the clipboard settings.
const SysVarRec* WINAPI HostGetSysVAdr(int which);
// The 256 palette entries.
uint32_t* WINAPI HostGetPalAdr(void);
}

#endif
