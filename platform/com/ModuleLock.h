#pragma once

// Counts what keeps a control library in use: its live objects and the
// locks its callers took on its class factories. Every library links its own
// copy of this count, so each answers DllCanUnloadNow for itself.
class CModuleLock {
public:
    static void ObjectCreated();
    static void ObjectDestroyed();
    static void Lock();
    static void Unlock();
    static int Objects();
    static int Locks();
    static bool CanUnload() { return Objects() == 0 && Locks() == 0; }
};
