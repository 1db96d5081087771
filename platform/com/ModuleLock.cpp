#include "platform/com/ModuleLock.h"

namespace {
// One user-interface thread drives every object of a library.
int s_objects = 0;
int s_locks = 0;
} // namespace

void CModuleLock::ObjectCreated()
{
    ++s_objects;
}

void CModuleLock::ObjectDestroyed()
{
    if (s_objects > 0)
        --s_objects;
}

void CModuleLock::Lock()
{
    ++s_locks;
}

void CModuleLock::Unlock()
{
    if (s_locks > 0)
        --s_locks;
}

int CModuleLock::Objects()
{
    return s_objects;
}

int CModuleLock::Locks()
{
    return s_locks;
}
