#pragma once

#include <QtGlobal>

// The RAR facade is part of the program's exported interface, so that a
// plug-in loaded into the process can use it. Such a plug-in defines
// KIVARA_RAR_IMPORT before including the facade's headers.
#if defined(KIVARA_RAR_IMPORT)
#define KIVARA_RAR_EXPORT Q_DECL_IMPORT
#else
#define KIVARA_RAR_EXPORT Q_DECL_EXPORT
#endif
