// Exceptions are header-only; this unit keeps the library's one home for them.
#include "Graphics/graphicsexceptions.h"
