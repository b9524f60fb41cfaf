#pragma once

#include <QtGlobal>

// The key of the stored store login. Never change it: credentials scrambled
// with another key no longer unscramble.
constexpr quint64 StoreCredentialKey = Q_UINT64_C(0x74a1c703b074b517);
