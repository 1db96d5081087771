// A shared library that is not a control library: it has no entry points.
extern "C" __attribute__((visibility("default"))) int KelvaneNotAServer()
{
    return 42;
}
