#pragma once

#include <windows.h>

// Whether another thread could take the lock now (the calling thread may
// hold it itself, which a probe from the same thread could not tell).
bool LockFreeForOthers(CRITICAL_SECTION& lock);
