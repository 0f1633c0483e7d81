// The module's registration with the host: one static block naming its commands, their
// handlers, the event hook and the menu, plus the two export formats.
#ifndef RASQET_HOST_REGISTRATION_H
#define RASQET_HOST_REGISTRATION_H

#include "host/hostinterface.h"

// Fills in the instance handle, registers the block and then the JPEG and PNG exports.
void RegisterExtension(HINSTANCE instance);
// Withdraws the block registered by RegisterExtension.
void UnregisterExtension();

// The block as registered; the host writes its own module handle into it.
const XPRegBlock& RegistrationBlock();

#endif
